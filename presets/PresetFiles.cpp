#include "presets/PresetFiles.h"

#include "app/Dialogs.h"
#include "app/WindowState.h"
#include "link/LinkApi.h"
#include "params/DispatchState.h"
#include "params/ParamImage.h"
#include "params/UndoHistory.h"
#include "presets/PresetCodec.h"
#include "presets/PresetRanges.h"
#include "presets/RegularFile.h"
#include "presets/Snapshots.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

static_assert(PresetModules == ModuleCount && PresetSlots == DeviceSlots,
              "the preset image has the shape of DeviceImage");

PresetFileState PresetFiles;

void ResetPresetFileState() {
    PresetFiles = PresetFileState{};
}

namespace {

const QString PresetFilter = QStringLiteral("Nddt (*.Nddt)");

// The line list: kept here alone. The hidden memo is the checksum log, which
// keeps only its latest lines; a load must not clear it nor be cut by it.
void SetLines(const QStringList& lines) {
    PresetFiles.Lines = lines;
}

// Step 6 of the link: writes the whole DeviceImage to the unit when online.
void StartImageUpload() {
    UploadToUnit();
}

std::vector<std::string> ToStd(const QStringList& lines) {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& l : lines)
        out.push_back(l.toLatin1().toStdString());
    return out;
}

QStringList FromStd(const std::vector<std::string>& lines) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& l : lines)
        out << QString::fromLatin1(l.data(), static_cast<qsizetype>(l.size()));
    return out;
}

} // namespace

void ShowMessagePair(const QString& chinese, const QString& english, const QString& detail) {
    if (detail.isEmpty())
        Dialogs().Notify(nullptr, QCoreApplication::applicationName(), Lang(chinese, english));
    else
        Dialogs().NotifyDetail(nullptr, QCoreApplication::applicationName(), Lang(chinese, english),
                               detail);
}

void SavePreset() {
    const std::string bytes = BuildPresetFile(Params.DeviceImage, Params.VariantFlag);
    SetLines(FromStd(BuildPresetPlainLines(Params.DeviceImage, Params.VariantFlag)));

    const QString chosen = Dialogs().SaveFileName(nullptr, PresetFilter);
    if (chosen.isEmpty()) return;
    const QString fileName = QString::fromStdString(WithPresetExtension(chosen.toStdString()));

    // One rule for a picked and a typed name (".Nddt" added or not).
    if (!AskToReplace(fileName)) return;

    // Written beside the target and renamed over it only when complete, so a
    // failed save leaves the old file as it was.
    QSaveFile file(fileName);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok)
        ok = file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
             static_cast<qint64>(bytes.size());
    if (ok)
        ok = file.commit();
    else
        file.cancelWriting();
    if (!ok) {
        const QString why = file.errorString();
        ShowMessagePair(QStringLiteral("预设保存失败: ") + fileName + QStringLiteral("\n") + why,
                        QStringLiteral("The preset could not be saved: ") + fileName +
                            QStringLiteral("\n") + why);
        return;
    }
    Dialogs().Notify(nullptr, QStringLiteral("information"),
                     QCoreApplication::translate("TForm1", " 预设成功保存在") +
                         QFileInfo(fileName).absoluteFilePath());
}

void ParsePresetLines(const QStringList& lines, int lastLine) {
    PresetFiles.PresetOk = false;
    const PresetContents contents = CheckPresetBody(ToStd(lines), lastLine);
    if (contents.Status != PresetStatus::Ok) return;
    ApplyPresetEntries(contents, Params.VariantFlag, Params.DeviceImage);
    PresetFiles.PresetOk = true;
}

void LoadPreset() {
    SetLines({});
    PresetFiles.PresetOk = false;

    const QString fileName = Dialogs().OpenFileName(nullptr, PresetFilter);
    // A transfer began while the dialog was open: the image is the link's until it ends.
    if (fileName.isEmpty() || Dispatch.InputHeld == 1) return;
    LoadPresetFile(fileName);
}

std::optional<PresetContents> ReadPresetForLoad(const QString& fileName) {
    SetLines({});
    PresetFiles.PresetOk = false;
    const QString shown = QDir::toNativeSeparators(fileName);
    std::string text;
    std::string why;
    if (!ReadRegularFile(FileNameBytes(fileName), PresetFileMaxBytes, text, why)) {
        const QString detail = shown + QStringLiteral(": ") + QString::fromLocal8Bit(why.c_str());
        if (QFileInfo::exists(fileName))
            ShowMessagePair(QStringLiteral("无法读取文件"), QStringLiteral("Cannot read the file"),
                            detail);
        else
            ShowMessagePair(QStringLiteral("文件不存在"), QStringLiteral("File not find!"), detail);
        return std::nullopt;
    }

    std::vector<std::string> plain;
    for (const std::string& line : SplitFileLines(text))
        plain.push_back(UnscrambleLine(line).value_or(std::string()));
    SetLines(FromStd(plain));

    // The whole file is checked before anything is stored.
    const PresetContents verdict = CheckPresetFile(text);
    if (verdict.Status == PresetStatus::Ok) return verdict;
    SetLines({}); // nothing of a refused file is kept
    const QString detail =
        shown + QStringLiteral(": ") + QString::fromStdString(PresetRefusalDetail(verdict));
    if (verdict.Status == PresetStatus::FormatError)
        ShowMessagePair(QStringLiteral("文件格式错误!"), QStringLiteral("File format error!"),
                        detail);
    else
        ShowMessagePair(QStringLiteral("数据文件损坏!"), QStringLiteral("Data file is corrupted!"),
                        detail);
    return std::nullopt;
}

void ApplyLoadedPreset(const PresetContents& contents) {
    // A transfer began while a question was open: the image is the link's.
    if (Dispatch.InputHeld == 1) return;
    {
        // What the upload is about to replace on the unit.
        SnapshotBefore(PresetUploadKind());
        // Undone as it was made: the image back, then the whole-image upload.
        UndoGesture gesture(QObject::tr("加载预设"), UndoReplay::Image, StartImageUpload);
        ApplyPresetEntries(contents, Params.VariantFlag, Params.DeviceImage);
        PresetFiles.PresetOk = true;
    }
    StartImageUpload();
}

namespace {

// The values a load of this file would store outside their parameters'
// ranges, one a line, or empty.
QString OutOfRangeList(const PresetContents& contents, bool chinese) {
    const auto values = PresetValuesOutOfRange(contents, Params.VariantFlag);
    return QString::fromStdString(DescribeOutOfRange(values, chinese));
}

} // namespace

bool AskToWritePreset(const QString& fileName, const PresetContents& contents) {
    const QString shown = QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath());
    QString zh = QStringLiteral("把 %1 写入设备?").arg(shown);
    QString en = QStringLiteral("Write %1 to the unit?").arg(shown);
    const QString listZh = OutOfRangeList(contents, true);
    if (!listZh.isEmpty()) {
        zh += QStringLiteral("\n\n以下参数值超出范围:\n") + listZh;
        en += QStringLiteral("\n\nThese values lie outside their parameter's range:\n") +
              OutOfRangeList(contents, false);
    }
    return Dialogs().Ask(nullptr, QStringLiteral("Confirm"), Lang(zh, en), DefaultAnswer::No);
}

bool ConfirmOutOfRange(const QString& fileName, const PresetContents& contents) {
    const QString listZh = OutOfRangeList(contents, true);
    if (listZh.isEmpty()) return true;
    const QString shown = QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath());
    const bool online = HaveLink() && CurrentLinkState() == Online;
    const QString zh = shown + QStringLiteral("\n以下参数值超出范围:\n") + listZh +
                       (online ? QStringLiteral("仍然写入设备?") : QStringLiteral("仍然加载?"));
    const QString en = shown +
                       QStringLiteral("\nThese values lie outside their parameter's range:\n") +
                       OutOfRangeList(contents, false) +
                       (online ? QStringLiteral("Write them to the unit all the same?")
                               : QStringLiteral("Load them all the same?"));
    return Dialogs().Ask(nullptr, QStringLiteral("Confirm"), Lang(zh, en), DefaultAnswer::No);
}

void LoadPresetFile(const QString& fileName) {
    const std::optional<PresetContents> contents = ReadPresetForLoad(fileName);
    if (contents && ConfirmOutOfRange(fileName, *contents)) ApplyLoadedPreset(*contents);
}
