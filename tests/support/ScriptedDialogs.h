#pragma once
// Scripted stand-in for the dialog service: records every question, notice
// and file dialog, and answers from the script the test set up.

#include "app/Dialogs.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

struct DialogRecord {
    enum Kind { Ask, Notify, Open, Save } kind;
    QString caption;
    QString text; // question or notice text; the filter for file dialogs
    DefaultAnswer answer = DefaultAnswer::Yes; // of a question
};

class ScriptedDialogs final : public DialogService {
public:
    ScriptedDialogs();  // installs itself
    ~ScriptedDialogs() override; // back to Qt's dialogs

    // Answers used in order; when they run out, Ask says No and file dialogs cancel.
    std::deque<bool> answers;
    std::deque<QString> fileNames;
    std::vector<DialogRecord> records;

    bool Ask(QWidget* owner, const QString& caption, const QString& text,
             DefaultAnswer answer) override;
    void Notify(QWidget* owner, const QString& caption, const QString& text) override;
    QString OpenFileName(QWidget* owner, const QString& filter) override;
    QString SaveFileName(QWidget* owner, const QString& filter) override;

    // Texts of the records of one kind, in order.
    QStringList texts(DialogRecord::Kind kind) const;
};
