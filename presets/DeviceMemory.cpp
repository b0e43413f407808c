#include "presets/DeviceMemory.h"

#include "app/Dialogs.h"
#include "app/LinkDisplay.h"
#include "app/MainWindow.h"
#include "app/WindowState.h"
#include "link/LinkApi.h"
#include "params/ParamCatalog.h"
#include "params/SendToUnit.h"

#include <QLabel>
#include <QPushButton>

namespace {
struct MemoryCommand {
    const char16_t* chinese;
    const char16_t* english;
    int address;
    int value;
};
} // namespace

void DeviceSaveBtnClick(QObject* Sender) {
    if (Form1 == nullptr || CurrentLinkState() != Online) return;
    MemoryCommand cmd{};
    if (Sender == Form1->DeviceLoadBtn)
        cmd = {u"恢复调整前参数", u"Restore settings ", MemoryRecallAddress, MemoryRecallValue};
    else if (Sender == Form1->DeviceSaveBtn)
        cmd = {u"保存当前数据", u"Save Data ", MemorySaveAddress, MemorySaveValue};
    else if (Sender == Form1->DeviceResetBtn)
        cmd = {u"恢复出厂参数", u"Restore Factory settings ", MemoryRecallAddress,
               MemoryFactoryValue};
    else
        return;
    const QString question =
        Lang(QString::fromUtf16(cmd.chinese), QString::fromUtf16(cmd.english)) +
        QStringLiteral("?");
    if (!Dialogs().Ask(Form1, QStringLiteral("Confirm"), question, DefaultAnswer::No)) return;
    // The link may have left Online while the question was open.
    if (CurrentLinkState() != Online) return;
    SendDatatoMCU(cmd.address, cmd.value);
    if (cmd.address == MemorySaveAddress) {
        // The link awaits the save once it has sent it (at once, or in its
        // turn behind a frame in flight); success is reported on its answer.
        SetLabelPair(Form1->LinkLabel, Window.LanguageFlag, QStringLiteral("Saving..."),
                     QStringLiteral("保存中..."));
        AwaitSave();
    }
}
