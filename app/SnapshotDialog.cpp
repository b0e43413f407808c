#include "app/SnapshotDialog.h"

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "link/LinkApi.h"
#include "params/ParamImage.h"
#include "params/ParamNames.h"
#include "presets/PresetFiles.h"
#include "presets/SnapshotStore.h"
#include "presets/Snapshots.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstring>

namespace {

const QString TimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The file as a load would leave the console's image, against that image.
void Compare(SnapshotDialog::Entry& e, const QByteArray& bytes) {
    const PresetContents contents =
        CheckPresetFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (contents.Status != PresetStatus::Ok) {
        e.Status = contents.Status;
        e.Why = contents.Status == PresetStatus::FormatError
                    ? SnapshotDialog::tr("文件格式错误!")
                    : SnapshotDialog::tr("数据文件损坏!");
        return;
    }
    static PresetImage applied;
    std::memcpy(applied, Params.DeviceImage, sizeof applied);
    ApplyPresetEntries(contents, Params.VariantFlag, applied);
    e.Differences = DiffPresetImages(applied, Params.DeviceImage);
    e.Ok = true;
}

SnapshotDialog::Entry Read(const QString& path) {
    SnapshotDialog::Entry e;
    e.FilePath = path;
    QByteArray bytes;
    if (!ReadSnapshotFile(path, bytes, e.Why)) return e;
    Compare(e, bytes);
    return e;
}

} // namespace

SnapshotDialog::Entry CompareWithImage(const QString& filePath) {
    return Read(filePath);
}

SnapshotDialog::SnapshotDialog(Mode mode, const QString& where, std::vector<Entry> entries,
                               QWidget* parent)
    : QDialog(parent), mode_(mode), entries_(std::move(entries)) {
    setObjectName(QStringLiteral("SnapshotDialog"));
    setWindowTitle(mode == Mode::Snapshots ? tr("快照") : tr("与文件比较"));

    SnapshotList = new QTreeWidget(this);
    SnapshotList->setObjectName(QStringLiteral("SnapshotList"));
    SnapshotList->setRootIsDecorated(false);
    SnapshotList->setAllColumnsShowFocus(true);
    SnapshotList->setHeaderLabels(mode == Mode::Snapshots
                                      ? QStringList{tr("时间"), tr("原因"), tr("不同")}
                                      : QStringList{tr("修改时间"), tr("文件"), tr("不同")});
    for (const Entry& e : entries_) {
        auto* item = new QTreeWidgetItem(
            SnapshotList,
            {e.When, e.What, e.Ok ? QString::number(e.Differences.size()) : tr("损坏")});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(1, e.FilePath);
    }
    SnapshotList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    SnapshotList->setMinimumWidth(340);

    const bool online = CurrentLinkState() == Online;
    DifferenceLabel = new QLabel(mode == Mode::Snapshots ? tr("与设备现在的差异（快照 → 设备）：")
                                 : online ? tr("文件与设备的差异（文件 → 设备）：")
                                          : tr("文件与屏幕的差异（文件 → 屏幕）："),
                                 this);
    DifferenceList = new QListWidget(this);
    DifferenceList->setObjectName(QStringLiteral("DifferenceList"));
    DifferenceList->setMinimumWidth(380);
    DifferenceLabel->setBuddy(DifferenceList);

    WhereLabel = new QLabel(where, this);
    WhereLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    WhereLabel->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    if (mode == Mode::Snapshots) {
        RestoreBtn = buttons->addButton(tr("恢复"), QDialogButtonBox::ActionRole);
        RestoreBtn->setObjectName(QStringLiteral("RestoreBtn"));
        RestoreBtn->setToolTip(tr("把选中的快照写入设备（可撤销）"));
        RestoreBtn->setAutoDefault(false);
        connect(RestoreBtn, &QPushButton::clicked, this, &SnapshotDialog::RestoreSelected);
    }
    CloseBtn = buttons->addButton(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* right = new QVBoxLayout;
    right->addWidget(DifferenceLabel);
    right->addWidget(DifferenceList, 1);
    auto* lists = new QHBoxLayout;
    lists->addWidget(SnapshotList, 0);
    lists->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addWidget(WhereLabel);
    layout->addWidget(buttons);
    resize(820, 440);

    connect(SnapshotList, &QTreeWidget::currentItemChanged, this, &SnapshotDialog::ShowSelected);
    if (SnapshotList->topLevelItemCount() > 0)
        SnapshotList->setCurrentItem(SnapshotList->topLevelItem(0));
    else
        ShowSelected();
    SnapshotList->setFocus();
}

const SnapshotDialog::Entry* SnapshotDialog::Selected() const {
    const int row = SnapshotList->indexOfTopLevelItem(SnapshotList->currentItem());
    return row >= 0 && row < static_cast<int>(entries_.size()) ? &entries_[std::size_t(row)]
                                                                : nullptr;
}

void SnapshotDialog::ShowSelected() {
    DifferenceList->clear();
    const Entry* e = Selected();
    if (RestoreBtn) RestoreBtn->setEnabled(e && e->Ok && !e->Differences.empty());
    if (!e) {
        if (mode_ == Mode::Snapshots) DifferenceList->addItem(tr("这台设备还没有快照。"));
        return;
    }
    if (!e->Ok) {
        DifferenceList->addItem(tr("无法使用这个文件：%1").arg(e->Why));
        return;
    }
    if (e->Differences.empty()) {
        DifferenceList->addItem(tr("没有差异"));
        return;
    }
    const ParamLanguage language = ConsoleParamLanguage();
    for (const ParamDifference& d : e->Differences)
        DifferenceList->addItem(QString::fromStdString(DifferenceLine(d, language)));
}

void SnapshotDialog::RestoreSelected() {
    const Entry* e = Selected();
    if (!e || !e->Ok) return;
    if (CurrentLinkState() != Online) {
        Dialogs().Notify(this, QCoreApplication::applicationName(),
                         tr("设备未联机，无法恢复快照。"));
        return;
    }
    const QString question = tr("把设备恢复到这个快照（%1，%2）？\n%3 个参数会改变。")
                                 .arg(e->When, e->What)
                                 .arg(e->Differences.size());
    if (!Dialogs().Ask(this, QStringLiteral("Confirm"), question, DefaultAnswer::No)) return;
    // The link may have left Online while the question was open: a load
    // then would change the console's image alone.
    if (CurrentLinkState() != Online) return;
    const QString path = e->FilePath;
    {
        // The normal preset upload: checked again, one undo step, a snapshot before it.
        RestoreScope restore;
        LoadPresetFile(path);
    }
    accept();
}

void SnapshotBtnClick(QObject*) {
    FlushSnapshots(); // the one just taken is listed too
    const QString unit = UnitInUseName();
    if (unit.isEmpty()) {
        Dialogs().Notify(Form1, QCoreApplication::applicationName(),
                         SnapshotDialog::tr("没有在用的设备。每台设备的快照保存在：\n%1")
                             .arg(Snapshots().Root()));
        return;
    }
    std::vector<SnapshotDialog::Entry> entries;
    for (const SnapshotInfo& s : Snapshots().List(unit)) {
        SnapshotDialog::Entry e = Read(s.FilePath);
        e.When = s.Time.toString(TimeFormat);
        e.What = SnapshotReasonText(s.Reason);
        entries.push_back(std::move(e));
    }
    auto* dialog = new SnapshotDialog(
        SnapshotDialog::Mode::Snapshots,
        SnapshotDialog::tr("快照目录：%1").arg(Snapshots().UnitDirectory(unit)), std::move(entries),
        Form1);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void CompareFileBtnClick(QObject*) {
    const QString fileName = Dialogs().OpenFileName(Form1, QStringLiteral("Nddt (*.Nddt)"));
    if (fileName.isEmpty()) return;
    SnapshotDialog::Entry e = Read(fileName);
    if (!e.Ok) {
        // The load button's words for the same faults.
        if (e.Status == PresetStatus::FormatError)
            ShowMessagePair(QStringLiteral("文件格式错误!"), QStringLiteral("File format error!"));
        else if (e.Status == PresetStatus::Corrupted)
            ShowMessagePair(QStringLiteral("数据文件损坏!"),
                            QStringLiteral("Data file is corrupted!"));
        else if (QFileInfo::exists(fileName))
            ShowMessagePair(QStringLiteral("无法读取文件"), QStringLiteral("Cannot read the file"),
                            QDir::toNativeSeparators(fileName) + QStringLiteral(": ") + e.Why);
        else
            ShowMessagePair(QStringLiteral("文件不存在"), QStringLiteral("File not find!"));
        return;
    }
    const QFileInfo info(fileName);
    e.When = info.lastModified().toString(TimeFormat);
    e.What = info.fileName();
    std::vector<SnapshotDialog::Entry> entries;
    entries.push_back(std::move(e));
    auto* dialog = new SnapshotDialog(SnapshotDialog::Mode::File, info.absoluteFilePath(),
                                      std::move(entries), Form1);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}
