#pragma once
// The console's language: Chinese (the default) or English. The choice comes
// from the command line or the selector on the main window and is remembered
// between runs; the selector's choice takes effect at once.

#include <QString>
#include <QStringList>

class QCommandLineOption;
class QWidget;

// "zh" or "en": "--language zh|en" (also "--language=en") when given, which is
// then remembered; else the remembered choice; else "zh". An unknown value is
// reported on standard error and ignored.
QString ChosenLanguage(const QStringList& args);
// The same option for a QCommandLineParser.
QCommandLineOption LanguageOption();

// Installs the console's and Qt's own translations for the language and sets
// the message pairs' language flag to match. Any other value means "zh".
void InstallLanguage(const QString& language);
// The installed language ("zh" until InstallLanguage says otherwise).
QString CurrentLanguage();
// The message pairs' flag for the installed language: 1 Chinese, 0 English.
int LanguageFlagForCurrent();

// The remembered choice ("" when none).
QString RememberedLanguage();
void RememberLanguage(const QString& language);

// The selector's choice: remembered, and shown at once.
void ChooseLanguage(QWidget* owner, const QString& language);
