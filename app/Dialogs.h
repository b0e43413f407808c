#pragma once
// Every modal message box and file dialog of the console goes through this
// interface: Qt's dialogs in the program, a scripted stand-in in the tests.

#include <QString>

class QMessageBox;
class QWidget;

// The answer Enter gives to a question. No for every question whose Yes
// changes the unit's memory or overwrites the unit (Escape answers No always).
enum class DefaultAnswer { Yes, No };

class DialogService {
public:
    virtual ~DialogService() = default;
    // Yes/No question; true when the answer is Yes.
    virtual bool Ask(QWidget* owner, const QString& caption, const QString& text,
                     DefaultAnswer answer = DefaultAnswer::Yes) = 0;
    // Notice with a single OK button.
    virtual void Notify(QWidget* owner, const QString& caption, const QString& text) = 0;
    // The same with the particulars (which file, what was wrong) in the box's
    // detail text.
    virtual void NotifyDetail(QWidget* owner, const QString& caption, const QString& text,
                              const QString& detail) = 0;
    // File dialogs; filter in Qt's form ("Preset (*.Nddt)"); empty when cancelled.
    virtual QString OpenFileName(QWidget* owner, const QString& filter) = 0;
    virtual QString SaveFileName(QWidget* owner, const QString& filter) = 0;
};

// The window a box or dialog is centred over and modal to: the given owner's
// window while it is shown, else the main window (a hidden or missing owner,
// such as the never-shown link window, would place it off the main window).
QWidget* DialogOwner(QWidget* given, QWidget* mainWindow);

// The window every box and dialog falls back to (the main window), given at
// start-up; callers below the windows pass nullptr as the owner, or take this
// one as the parent of a dialog of their own.
void SetDialogOwner(QWidget* owner);
QWidget* MainDialogOwner();

// A file a save would replace cannot be recovered: true when fileName names no
// file yet, or the user answers Yes to "文件已存在, 是否替换?" (in the
// interface's language, with the file's full path).
bool AskToReplace(const QString& fileName);

// The Yes/No box the Qt service asks with (not shown yet).
QMessageBox* MakeQuestionBox(QWidget* owner, const QString& caption, const QString& text,
                             DefaultAnswer answer);

// The service in use. Starts as the Qt implementation.
DialogService& Dialogs();
// Replace the service (tests); nullptr goes back to Qt's dialogs.
void SetDialogs(DialogService* service);
