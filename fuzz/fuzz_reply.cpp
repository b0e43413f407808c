// Arbitrary input reports into the reply path of a connected console.
// Input: chunks of [control byte][report bytes]; the low 6 bits of the control
// byte give the report length (0..63), bit 6 steps the hold timer and bit 7 the
// transfer pump after the report.
#include "app/Dialogs.h"
#include "app/LinkDisplay.h"
#include "app/MainWindow.h"
#include "emulator/EmulatorBackend.h"
#include "link/LinkWindow.h"
#include "presets/StatusBox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

class QuietDialogs final : public DialogService {
public:
    bool Ask(QWidget*, const QString&, const QString&, DefaultAnswer) override { return false; }
    void Notify(QWidget*, const QString&, const QString&) override {}
    void NotifyDetail(QWidget*, const QString&, const QString&, const QString&) override {}
    QString OpenFileName(QWidget*, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&) override { return {}; }
};

QApplication* app = nullptr;
TForm1* form1 = nullptr;
QuietDialogs dialogs;

void Connect() {
    QCoreApplication::sendPostedEvents();
    for (int i = 0; i < 400 && Form9->Session->LinkState != Online; ++i) {
        if (Form9->Session->Timer1->isActive() && i % 40 == 0) Form9->Session->Timer1Timer(nullptr);
        if (Form9->Session->Timer2->isActive()) Form9->Session->Timer2Timer(nullptr);
        QCoreApplication::sendPostedEvents();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new QApplication(*argc, *argv);
    SetDialogs(&dialogs);
    auto backend = std::make_unique<EmulatorBackend>();
    backend->PlugUnit();
    form1 = new TForm1;
    ConnectLinkToWindows(*new TForm9(Params, std::move(backend)));
    new TForm4;
    form1->FormShow();
    Connect();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (Form9->RxDevice == nullptr || Form9->Session->LinkState != Online) {
        // A previous input dropped the link (error code, lost link): start over.
        Form9->HidCtlDeviceChange(nullptr);
        Connect();
        if (Form9->RxDevice == nullptr) return 0;
    }
    std::size_t pos = 0;
    while (pos < size) {
        const uint8_t control = data[pos++];
        const std::size_t length = std::min<std::size_t>(control & 0x3F, size - pos);
        if (length > 0) {
            QByteArray rest(reinterpret_cast<const char*>(data + pos + 1),
                            static_cast<qsizetype>(length - 1));
            Form9->HidCtlDeviceData(Form9->RxDevice, data[pos], rest);
        }
        pos += length;
        if (control & 0x40) Form9->Session->HoldTimerTimer(nullptr);
        if (control & 0x80) Form9->Session->Timer2Timer(nullptr);
        QCoreApplication::sendPostedEvents();
    }
    // Keep the diagnostic lists from growing over a long run.
    Form9->HistoryListBox->clear();
    form1->Memo1->clear();
    return 0;
}
