#include "presets/PresetFiles.h"

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/WindowState.h"
#include "link/LinkApi.h"
#include "params/DispatchState.h"
#include "params/ParamImage.h"
#include "params/UndoHistory.h"
#include "presets/PresetCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSaveFile>

static_assert(PresetModules == ModuleCount && PresetSlots == DeviceSlots,
              "the preset image has the shape of DeviceImage");

PresetFileState PresetFiles;

void ResetPresetFileState() {
    PresetFiles = PresetFileState{};
}

namespace {

const QString PresetFilter = QStringLiteral("Nddt (*.Nddt)");

QWidget* Owner() {
    return Form1;
}

// The line list: kept here and mirrored into the hidden memo of the main window.
void SetLines(const QStringList& lines) {
    PresetFiles.Lines = lines;
    if (Form1 && Form1->Memo1) Form1->Memo1->setPlainText(lines.join(QLatin1Char('\n')));
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

void ShowMessagePair(const QString& chinese, const QString& english) {
    Dialogs().Notify(Owner(), QCoreApplication::applicationName(), Lang(chinese, english));
}

void SavePreset() {
    const std::string bytes = BuildPresetFile(Params.DeviceImage, Params.VariantFlag);
    SetLines(FromStd(BuildPresetPlainLines(Params.DeviceImage, Params.VariantFlag)));

    const QString chosen = Dialogs().SaveFileName(Owner(), PresetFilter);
    if (chosen.isEmpty()) return;
    const QString fileName = QString::fromStdString(WithPresetExtension(chosen.toStdString()));

    // One rule for a picked and a typed name (".Nddt" added or not): a tuning
    // that is replaced cannot be recovered, so the user is asked first.
    const QFileInfo target(fileName);
    if (target.exists() && !target.isDir()) {
        const QString path = target.absoluteFilePath();
        if (!Dialogs().Ask(Owner(), QStringLiteral("Confirm"),
                           Lang(QStringLiteral("文件已存在, 是否替换?\n") + path,
                                QStringLiteral("The file already exists. Replace it?\n") + path)))
            return;
    }

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
    Dialogs().Notify(Owner(), QStringLiteral("information"),
                     TForm1::tr(" 预设成功保存在") + QFileInfo(fileName).absoluteFilePath());
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

    const QString fileName = Dialogs().OpenFileName(Owner(), PresetFilter);
    // A transfer began while the dialog was open: the image is the link's until it ends.
    if (fileName.isEmpty() || Dispatch.InputHeld == 1) return;
    LoadPresetFile(fileName);
}

void LoadPresetFile(const QString& fileName) {
    SetLines({});
    PresetFiles.PresetOk = false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowMessagePair(QStringLiteral("文件不存在"), QStringLiteral("File not find!"));
        return;
    }
    const QByteArray raw = file.readAll();
    const bool readOk = file.error() == QFileDevice::NoError;
    file.close();
    if (!readOk) {
        ShowMessagePair(QStringLiteral("文件不存在"), QStringLiteral("File not find!"));
        return;
    }
    const std::string_view text(raw.constData(), static_cast<std::size_t>(raw.size()));

    std::vector<std::string> plain;
    for (const std::string& line : SplitFileLines(text))
        plain.push_back(UnscrambleLine(line).value_or(std::string()));
    SetLines(FromStd(plain));

    // The whole file is checked before anything is stored.
    const PresetContents verdict = CheckPresetFile(text);
    if (verdict.Status == PresetStatus::FormatError) {
        ShowMessagePair(QStringLiteral("文件格式错误!"), QStringLiteral("File format error!"));
        return;
    }
    if (verdict.Status == PresetStatus::Ok) {
        // Undone as it was made: the image back, then the whole-image upload.
        UndoGesture gesture(QObject::tr("加载预设"), UndoReplay::Image, StartImageUpload);
        ParsePresetLines(PresetFiles.Lines, static_cast<int>(PresetFiles.Lines.size()) - 1);
    }
    if (!PresetFiles.PresetOk) {
        ShowMessagePair(QStringLiteral("数据文件损坏!"), QStringLiteral("Data file is corrupted!"));
        return;
    }
    StartImageUpload();
}
