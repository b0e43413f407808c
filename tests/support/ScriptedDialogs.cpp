#include "tests/support/ScriptedDialogs.h"

ScriptedDialogs::ScriptedDialogs() { SetDialogs(this); }

ScriptedDialogs::~ScriptedDialogs() { SetDialogs(nullptr); }

bool ScriptedDialogs::Ask(QWidget*, const QString& caption, const QString& text) {
    records.push_back({DialogRecord::Ask, caption, text, {}, false});
    if (answers.empty())
        return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

bool ScriptedDialogs::AskDefaultNo(QWidget* owner, const QString& caption, const QString& text) {
    const bool a = Ask(owner, caption, text);
    records.back().defaultNo = true;
    return a;
}

void ScriptedDialogs::NotifyDetail(QWidget*, const QString& caption, const QString& text,
                                   const QString& detail) {
    records.push_back({DialogRecord::Notify, caption, text, detail, false});
}

void ScriptedDialogs::Notify(QWidget*, const QString& caption, const QString& text) {
    records.push_back({DialogRecord::Notify, caption, text, {}, false});
}

QString ScriptedDialogs::OpenFileName(QWidget*, const QString& filter) {
    records.push_back({DialogRecord::Open, QString(), filter, {}, false});
    if (fileNames.empty())
        return QString();
    QString f = fileNames.front();
    fileNames.pop_front();
    return f;
}

QString ScriptedDialogs::SaveFileName(QWidget*, const QString& filter) {
    records.push_back({DialogRecord::Save, QString(), filter, {}, false});
    if (fileNames.empty())
        return QString();
    QString f = fileNames.front();
    fileNames.pop_front();
    return f;
}

QStringList ScriptedDialogs::texts(DialogRecord::Kind kind) const {
    QStringList out;
    for (const auto& r : records)
        if (r.kind == kind)
            out << r.text;
    return out;
}
