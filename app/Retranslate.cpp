#include "app/Retranslate.h"

#include "app/Language.h"
#include "app/WindowState.h"
#include "params/ControlProps.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QRegularExpression>
#include <QTranslator>

#include <algorithm>

namespace {

struct Source {
    QByteArray Context, Text, Disambiguation;
    bool operator==(const Source&) const = default;
};
size_t qHash(const Source& s, size_t seed = 0) {
    return qHashMulti(seed, s.Context, s.Text, s.Disambiguation);
}

QString Translate(const Source& s) {
    return QCoreApplication::translate(s.Context.constData(), s.Text.constData(),
                                       s.Disambiguation.isEmpty() ? nullptr
                                                                  : s.Disambiguation.constData());
}

// A translator that only listens: it answers nothing, so the real ones do.
class Recorder : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int) const override {
        if (!quiet && context && source)
            sources.insert({context, source, disambiguation ? disambiguation : ""});
        return {};
    }
    mutable QSet<Source> sources;
    bool quiet = false;
};

Recorder& TheRecorder() {
    static Recorder r;
    return r;
}

// The texts of the language being left, by their source; taken before the switch.
QHash<QString, Source> before;
int flagBefore = 1;
// Patterns with one "%1", as regular expressions of the language being left.
QList<std::pair<QRegularExpression, Source>> patterns;

void Snapshot() {
    Recorder& r = TheRecorder();
    r.quiet = true;
    before.clear();
    patterns.clear();
    for (const Source& s : std::as_const(r.sources)) {
        const QString text = Translate(s);
        if (text.isEmpty()) continue;
        before.insert(text, s);
        const qsizetype at = text.indexOf(QLatin1String("%1"));
        if (at >= 0 && text.count(QLatin1String("%1")) == 1 && !text.contains(QLatin1String("%2")))
            patterns.append({QRegularExpression(
                                 QLatin1Char('^') + QRegularExpression::escape(text.left(at)) +
                                 QStringLiteral("(.+)") +
                                 QRegularExpression::escape(text.mid(at + 2)) + QLatin1Char('$')),
                             s});
    }
    r.quiet = false;
}

// The text in the installed language, or the text itself when it was not traced.
QString Again(const QString& text, int depth = 0) {
    if (text.isEmpty()) return text;
    const auto whole = before.constFind(text);
    if (whole != before.constEnd()) return Translate(*whole);
    if (depth > 0) return text;
    for (const auto& [re, source] : std::as_const(patterns)) {
        const QRegularExpressionMatch m = re.match(text);
        if (m.hasMatch()) return Translate(source).arg(Again(m.captured(1), depth + 1));
    }
    return text;
}

// A caption is made of several translated pieces ("caption [DEMO][Connected]").
QString AgainPiecewise(QString text) {
    QList<QString> pieces = before.keys();
    std::sort(pieces.begin(), pieces.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& piece : pieces)
        if (piece.size() > 3 && text.contains(piece)) text.replace(piece, Translate(before[piece]));
    return text;
}

void Retext(QWidget* w) {
    for (const char* property : {"toolTip", "statusTip", "whatsThis", "accessibleName",
                                 "accessibleDescription"}) {
        const QString old = w->property(property).toString();
        const QString now = Again(old);
        if (now != old) w->setProperty(property, now);
    }
    if (w->property("kvTextPair").toBool()) {
        // The link label shows one text of a pair and keeps the other in its Hint.
        const QString shown = w->property("text").toString();
        const QString other = Hint(w);
        if (!other.isEmpty() && flagBefore != Window.LanguageFlag) {
            w->setProperty("text", other);
            SetHint(w, shown);
        }
    } else if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)) {
        const QString old = w->property("text").toString();
        const QString now = Again(old);
        if (now != old) w->setProperty("text", now);
    }
    if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(Again(g->title()));
    if (auto* c = qobject_cast<QComboBox*>(w))
        for (int i = 0; i < c->count(); ++i)
            c->setItemText(i, Again(c->itemText(i)));
}

} // namespace

void TraceTranslatedTexts() {
    // The most recent translator is asked first: the recorder goes in last again.
    QCoreApplication::removeTranslator(&TheRecorder());
    QCoreApplication::installTranslator(&TheRecorder());
}

void SwitchLanguage(const QString& language) {
    if (language == CurrentLanguage()) return;
    Snapshot();
    flagBefore = Window.LanguageFlag;
    InstallLanguage(language);
    Window.MainCaption = AgainPiecewise(Window.MainCaption);
    Window.VariantCaption = AgainPiecewise(Window.VariantCaption);
    for (QWidget* window : QApplication::topLevelWidgets())
        RetranslateWindow(window);
    before.clear();
    patterns.clear();
}

void RetranslateWindow(QWidget* window) {
    if (!window || before.isEmpty()) return;
    const QString title = window->windowTitle();
    const QString whole = Again(title);
    window->setWindowTitle(whole != title ? whole : AgainPiecewise(title));
    Retext(window);
    for (QWidget* w : window->findChildren<QWidget*>())
        Retext(w);
}
