#include "presets/DeviceMemory.h"

#include "app/Dialogs.h"
#include "app/WindowState.h"
#include "link/LinkApi.h"
#include "params/ParamCatalog.h"
#include "params/SendToUnit.h"
#include "presets/Snapshots.h"

#include <utility>

namespace {

DeviceMemoryControls memory;

struct MemoryCommand {
    const char16_t* chinese;
    const char16_t* english;
    int address;
    int value;
};
} // namespace

void SetDeviceMemoryControls(DeviceMemoryControls controls) {
    memory = std::move(controls);
}

void DeviceSaveBtnClick(QObject* Sender) {
    if (Sender == nullptr || CurrentLinkState() != Online) return;
    MemoryCommand cmd{};
    if (Sender == memory.DeviceLoadBtn)
        cmd = {u"恢复调整前参数", u"Restore settings ", MemoryRecallAddress, MemoryRecallValue};
    else if (Sender == memory.DeviceSaveBtn)
        cmd = {u"保存当前数据", u"Save Data ", MemorySaveAddress, MemorySaveValue};
    else if (Sender == memory.DeviceResetBtn)
        cmd = {u"恢复出厂参数", u"Restore Factory settings ", MemoryRecallAddress,
               MemoryFactoryValue};
    else
        return;
    const QString question =
        Lang(QString::fromUtf16(cmd.chinese), QString::fromUtf16(cmd.english)) +
        QStringLiteral("?");
    if (!Dialogs().Ask(nullptr, QStringLiteral("Confirm"), question, DefaultAnswer::No)) return;
    // The link may have left Online while the question was open.
    if (CurrentLinkState() != Online) return;
    SnapshotBefore(cmd.address == MemorySaveAddress  ? Overwrite::Store
                   : cmd.value == MemoryFactoryValue ? Overwrite::Factory
                                                     : Overwrite::Recall);
    SendDatatoMCU(cmd.address, cmd.value);
    if (cmd.address == MemorySaveAddress) {
        // The link awaits the save once it has sent it (at once, or in its
        // turn behind a frame in flight); success is reported on its answer.
        if (memory.ShowOnLinkLabel)
            memory.ShowOnLinkLabel(QStringLiteral("Saving..."), QStringLiteral("保存中..."));
        AwaitSave();
    }
}
