#include "presets/Snapshots.h"

#include "app/Dialogs.h"
#include "link/LinkApi.h"
#include "link/LinkWindow.h"
#include "params/ParamImage.h"
#include "presets/SnapshotStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QThreadPool>

#include <algorithm>
#include <memory>

namespace {

std::unique_ptr<SnapshotStore> store;
QString rootOverride;
// Failures are told once, until a snapshot is written again.
bool failureTold = false;
int restoreScopes = 0;
// The memory command a read back follows.
Overwrite lastMemoryCommand = Overwrite::Recall;

QString DefaultRoot() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("kalviren/snapshots"));
}

const char* BeforeReason(Overwrite c) {
    switch (c) {
    case Overwrite::Load: return "before-load";
    case Overwrite::Restore: return "before-restore";
    case Overwrite::Recall: return "before-recall";
    case Overwrite::Factory: return "before-factory";
    case Overwrite::Store: return "before-store";
    }
    return "before";
}

// One writer thread, so the files are written in order and a slow disk
// (QSaveFile syncs before it renames) never holds up the link's thread.
QThreadPool& Writer() {
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool; // lives to the end: the post routine waits for it
        p->setMaxThreadCount(1);
        qAddPostRoutine(FlushSnapshots);
        return p;
    }();
    return *pool;
}

// On the user-interface thread, after the write.
void Written(SnapshotStore::Result result, const QString& root, const QString& error) {
    if (result != SnapshotStore::Result::Failed) {
        failureTold = false;
        return;
    }
    if (failureTold) return;
    failureTold = true;
    Dialogs().Notify(nullptr, QCoreApplication::applicationName(),
                     QCoreApplication::translate("Snapshots", "无法保存设备参数的快照：%1\n%2\n"
                                                              "在快照再次保存成功之前不再提示。")
                         .arg(root, error));
}

void Write(const PresetImage& image, const QString& reason) {
    const QString unit = UnitInUseName();
    if (unit.isEmpty()) return;
    SnapshotStore* target = &Snapshots();
    Writer().start([target, unit, reason, bytes = BuildPresetFile(image, Params.VariantFlag),
                    now = QDateTime::currentDateTime()] {
        QString error;
        const auto result = target->Write(unit, bytes, reason, now, &error);
        // Told from the event loop: a box must not hold up a transfer either.
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app, [result, root = target->Root(), error] { Written(result, root, error); },
                Qt::QueuedConnection);
    });
}

} // namespace

void FlushSnapshots() {
    Writer().waitForDone(10000);
}

void SetSnapshotRoot(const QString& root) {
    FlushSnapshots(); // no write left for the store that goes
    rootOverride = root;
    store.reset();
    failureTold = false;
}

SnapshotStore& Snapshots() {
    if (!store)
        store = std::make_unique<SnapshotStore>(rootOverride.isEmpty() ? DefaultRoot()
                                                                       : rootOverride);
    return *store;
}

QString UnitInUseName() {
    if (!Form9 || !Form9->CurrentDevice) return QString();
    const HidDeviceInfo& info = Form9->CurrentDevice->Info;
    return SnapshotUnitName(info.serial, info.product, info.path);
}

void SnapshotAfterRead(const PresetImage& read, bool afterMemoryCommand) {
    QString reason = QStringLiteral("connect");
    if (afterMemoryCommand)
        reason = lastMemoryCommand == Overwrite::Factory ? QStringLiteral("after-factory")
                                                         : QStringLiteral("after-recall");
    Write(read, reason);
}

void SnapshotBefore(Overwrite command) {
    if (CurrentLinkState() != Online) return;
    if (command == Overwrite::Recall || command == Overwrite::Factory) lastMemoryCommand = command;
    Write(Params.DeviceImage, QString::fromLatin1(BeforeReason(command)));
}

RestoreScope::RestoreScope() {
    ++restoreScopes;
}
RestoreScope::~RestoreScope() {
    --restoreScopes;
}

Overwrite PresetUploadKind() {
    return restoreScopes > 0 ? Overwrite::Restore : Overwrite::Load;
}

QString SnapshotReasonText(const QString& reason) {
    static const struct {
        const char* reason;
        const char* text;
    } texts[] = {
        {"connect", QT_TRANSLATE_NOOP("Snapshots", "连接")},
        {"after-recall", QT_TRANSLATE_NOOP("Snapshots", "恢复参数后")},
        {"after-factory", QT_TRANSLATE_NOOP("Snapshots", "恢复出厂后")},
        {"before-load", QT_TRANSLATE_NOOP("Snapshots", "加载预设前")},
        {"before-restore", QT_TRANSLATE_NOOP("Snapshots", "恢复快照前")},
        {"before-recall", QT_TRANSLATE_NOOP("Snapshots", "恢复参数前")},
        {"before-factory", QT_TRANSLATE_NOOP("Snapshots", "恢复出厂前")},
        {"before-store", QT_TRANSLATE_NOOP("Snapshots", "保存参数前")},
    };
    for (const auto& t : texts)
        if (reason == QLatin1String(t.reason))
            return QCoreApplication::translate("Snapshots", t.text);
    return reason;
}
