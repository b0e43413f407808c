#include "tests/support/ScriptedDialogs.h"

ScriptedDialogs::ScriptedDialogs() { SetDialogs(this); }

ScriptedDialogs::~ScriptedDialogs() { SetDialogs(nullptr); }

bool ScriptedDialogs::Ask(QWidget*, const QString& caption, const QString& text,
                          DefaultAnswer answer) {
    records.push_back({DialogRecord::Ask, caption, text, answer});
    if (answers.empty())
        return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

void ScriptedDialogs::Notify(QWidget*, const QString& caption, const QString& text) {
    records.push_back({DialogRecord::Notify, caption, text});
}

QString ScriptedDialogs::OpenFileName(QWidget*, const QString& filter) {
    records.push_back({DialogRecord::Open, QString(), filter});
    if (fileNames.empty())
        return QString();
    QString f = fileNames.front();
    fileNames.pop_front();
    return f;
}

QString ScriptedDialogs::SaveFileName(QWidget*, const QString& filter) {
    records.push_back({DialogRecord::Save, QString(), filter});
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
