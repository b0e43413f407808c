#include "app/Language.h"

#include "app/Retranslate.h"
#include "app/WindowState.h"

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>

#include <cstdio>

namespace {

const QString Chinese = QStringLiteral("zh");
const QString English = QStringLiteral("en");
const QString SettingKey = QStringLiteral("language");

QString current = Chinese;

bool Known(const QString& language) { return language == Chinese || language == English; }

// Outlive the application object; a destroyed translator removes itself.
QTranslator& ConsoleTranslator() {
    static QTranslator t;
    return t;
}
QTranslator& QtTranslator() {
    static QTranslator t;
    return t;
}

} // namespace

QCommandLineOption LanguageOption() {
    return QCommandLineOption(QStringList{QStringLiteral("language")},
                              QStringLiteral("Interface language: zh (Chinese) or en (English)."),
                              QStringLiteral("zh|en"));
}

QString ChosenLanguage(const QStringList& args) {
    const QString option = QStringLiteral("--language");
    for (qsizetype i = 1; i < args.size(); ++i) {
        QString value;
        if (args[i] == option && i + 1 < args.size())
            value = args[++i];
        else if (args[i].startsWith(option + QLatin1Char('=')))
            value = args[i].mid(option.size() + 1);
        else
            continue;
        if (Known(value)) {
            RememberLanguage(value);
            return value;
        }
        std::fprintf(stderr, "unknown language '%s' (zh or en)\n", value.toLocal8Bit().constData());
    }
    const QString stored = RememberedLanguage();
    return Known(stored) ? stored : Chinese;
}

void InstallLanguage(const QString& language) {
    current = Known(language) ? language : Chinese;
    QTranslator& console = ConsoleTranslator();
    QTranslator& qt = QtTranslator();
    QCoreApplication::removeTranslator(&console);
    QCoreApplication::removeTranslator(&qt);
    // The console's source texts are Chinese and Qt's are English: each
    // language needs the other's translation only.
    if (current == English) {
        if (console.load(QStringLiteral(":/i18n/kalviren_en.qm")))
            QCoreApplication::installTranslator(&console);
    } else if (qt.load(QStringLiteral("qtbase_zh_CN"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qt);
    }
    Window.LanguageFlag = LanguageFlagForCurrent();
    TraceTranslatedTexts();
}

QString CurrentLanguage() { return current; }

int LanguageFlagForCurrent() { return current == English ? 0 : 1; }

QString RememberedLanguage() {
    return QSettings(QStringLiteral("kalviren"), QStringLiteral("kalviren-console"))
        .value(SettingKey)
        .toString();
}

void RememberLanguage(const QString& language) {
    QSettings settings(QStringLiteral("kalviren"), QStringLiteral("kalviren-console"));
    settings.setValue(SettingKey, language);
}

void ChooseLanguage(QWidget*, const QString& language) {
    if (!Known(language)) return;
    RememberLanguage(language);
    SwitchLanguage(language);
}
