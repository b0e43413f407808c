#include "app/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

class QtDialogs final : public DialogService {
public:
    bool Ask(QWidget* owner, const QString& caption, const QString& text) override {
        return QMessageBox::question(owner, caption, text, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    }
    void Notify(QWidget* owner, const QString& caption, const QString& text) override {
        QMessageBox::information(owner, caption, text, QMessageBox::Ok);
    }
    QString OpenFileName(QWidget* owner, const QString& filter) override {
        return QFileDialog::getOpenFileName(owner, QString(), QString(), filter);
    }
    QString SaveFileName(QWidget* owner, const QString& filter) override {
        return QFileDialog::getSaveFileName(owner, QString(), QString(), filter);
    }
};

QtDialogs qtDialogs;
DialogService* current = &qtDialogs;

} // namespace

DialogService& Dialogs() { return *current; }

void SetDialogs(DialogService* service) { current = service ? service : &qtDialogs; }
