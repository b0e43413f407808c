#include "app/Dialogs.h"

#include "app/WindowState.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>

#include <memory>

QWidget* DialogOwner(QWidget* given, QWidget* mainWindow) {
    QWidget* top = given ? given->window() : nullptr;
    if (top && top->isVisible()) return top;
    return mainWindow ? mainWindow : top;
}

namespace {

QPointer<QWidget> mainOwner;

} // namespace

void SetDialogOwner(QWidget* owner) {
    mainOwner = owner;
}

QWidget* MainDialogOwner() {
    return mainOwner;
}

namespace {

// Boxes of the never-shown link window would open at its unplaced geometry,
// off the main window: they are shown over (and modal to) the main window.
QWidget* Over(QWidget* owner) {
    return DialogOwner(owner, mainOwner);
}

} // namespace

bool AskToReplace(const QString& fileName) {
    const QFileInfo target(fileName);
    if (!target.exists() || target.isDir()) return true;
    const QString path = target.absoluteFilePath();
    return Dialogs().Ask(nullptr, QStringLiteral("Confirm"),
                         Lang(QStringLiteral("文件已存在, 是否替换?\n") + path,
                              QStringLiteral("The file already exists. Replace it?\n") + path));
}

QMessageBox* MakeQuestionBox(QWidget* owner, const QString& caption, const QString& text,
                             DefaultAnswer answer) {
    auto* box = new QMessageBox(QMessageBox::Question, caption, text,
                                QMessageBox::Yes | QMessageBox::No, Over(owner));
    box->setDefaultButton(answer == DefaultAnswer::No ? QMessageBox::No : QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

namespace {

class QtDialogs final : public DialogService {
public:
    bool Ask(QWidget* owner, const QString& caption, const QString& text,
             DefaultAnswer answer) override {
        std::unique_ptr<QMessageBox> box(MakeQuestionBox(owner, caption, text, answer));
        return box->exec() == QMessageBox::Yes;
    }
    void Notify(QWidget* owner, const QString& caption, const QString& text) override {
        QMessageBox::information(Over(owner), caption, text, QMessageBox::Ok);
    }
    void NotifyDetail(QWidget* owner, const QString& caption, const QString& text,
                      const QString& detail) override {
        QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, Over(owner));
        box.setDetailedText(detail);
        box.exec();
    }
    QString OpenFileName(QWidget* owner, const QString& filter) override {
        return QFileDialog::getOpenFileName(Over(owner), QString(), QString(), filter);
    }
    QString SaveFileName(QWidget* owner, const QString& filter) override {
        // The console asks itself before it replaces a file, also for a name
        // it adds the extension to; the dialog's own question would come twice.
        return QFileDialog::getSaveFileName(Over(owner), QString(), QString(), filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }
};

QtDialogs qtDialogs;
DialogService* current = &qtDialogs;

} // namespace

DialogService& Dialogs() { return *current; }

void SetDialogs(DialogService* service) { current = service ? service : &qtDialogs; }
