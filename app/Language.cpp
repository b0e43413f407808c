#include "app/Language.h"

#include "app/Retranslate.h"
#include "app/WindowState.h"
#include "presets/PresetFiles.h"
#include "presets/RegularFile.h"

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
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

// QSettings opens its file blocking and reads it whole: a FIFO there would hang
// the start and a huge file fill the memory. The file is checked first and,
// when it is no small regular file, left alone.
bool SettingsUsable() {
    return [] {
        // Where QSettings keeps its files, learnt from one that does not exist.
        const QString probe =
            QSettings(QSettings::NativeFormat, QSettings::UserScope,
                      QStringLiteral(".kalviren-probe"), QStringLiteral("p"))
                .fileName();
        const QString base = QFileInfo(QFileInfo(probe).path()).path();
        // The application's file and the organisation's, which QSettings reads too.
        for (const QString& name : {QStringLiteral("/kalviren/kalviren-console.conf"),
                                    QStringLiteral("/kalviren.conf")}) {
            const QString path = base + name;
            if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) continue;
            std::string bytes;
            std::string why;
            if (ReadRegularFile(FileNameBytes(path), 64 * 1024, bytes, why))
                continue;
            std::fprintf(stderr, "%s: %s; the language is neither read from it nor remembered\n",
                         QFile::encodeName(path).constData(), why.c_str());
            return false;
        }
        return true;
    }();
}

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
    if (!SettingsUsable()) return {};
    return QSettings(QStringLiteral("kalviren"), QStringLiteral("kalviren-console"))
        .value(SettingKey)
        .toString();
}

void RememberLanguage(const QString& language) {
    if (!SettingsUsable()) return;
    QSettings settings(QStringLiteral("kalviren"), QStringLiteral("kalviren-console"));
    settings.setValue(SettingKey, language);
}

void ChooseLanguage(QWidget*, const QString& language) {
    if (!Known(language)) return;
    RememberLanguage(language);
    SwitchLanguage(language);
}
