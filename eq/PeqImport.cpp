#include "eq/PeqImport.h"

#include "app/Dialogs.h"
#include "app/WindowState.h"
#include "eq/PeqReviewDialog.h"
#include "eq/PeqText.h"
#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "params/ParamImage.h"
#include "params/SendToUnit.h"
#include "params/UndoHistory.h"
#include "presets/PresetFiles.h"
#include "presets/RegularFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Read when shown: the console's language is installed after start-up.
QString Caption() {
    return QCoreApplication::translate("TForm1", "导入滤波器");
}
QString Filter() {
    return QCoreApplication::translate("TForm1", "滤波器文本 (*.txt);;所有文件 (*)");
}

int ShownModule() {
    return Window.CurrentModule == 2 ? 2 : 1;
}

QString U(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

void PeqImportBtnClick(QObject*) {
    const QString name = Dialogs().OpenFileName(nullptr, Filter());
    if (name.isEmpty()) return;
    std::string bytes;
    std::string why;
    if (!ReadRegularFile(FileNameBytes(name), TextFileMaxBytes, bytes, why)) {
        const QString reason = QString::fromLocal8Bit(why.c_str());
        Dialogs().Notify(nullptr, Caption(),
                         Lang(QStringLiteral("无法读取文件 %1\n%2").arg(name, reason),
                              QStringLiteral("Cannot read the file %1\n%2").arg(name, reason)));
        return;
    }
    const PeqFile file = ParsePeqText(bytes);
    if (!file.Ok) {
        Dialogs().Notify(nullptr, Caption(), Lang(U(file.Error.Zh), U(file.Error.En)));
        return;
    }

    const int m = ShownModule();
    std::vector<PeqBandRaw> current(static_cast<std::size_t>(BandCount[m]));
    for (int b = 0; b < BandCount[m]; ++b)
        for (int k = 0; k < 5; ++k)
            current[static_cast<std::size_t>(b)].v[k] =
                Params.ParamImage[m][BandFirstSlot[m] + 5 * b + k];
    const PeqPlan plan = PlanPeqImport(file, m, current);

    PeqReviewDialog review(file, plan, name, MainDialogOwner());
    if (RunPeqReview(review) != QDialog::Accepted) return;
    // A transfer began while the review was open: it settles the bands.
    if (Dispatch.InputHeld == 1) return;

    // Only the slots that change go to the unit; one refresh redraws the graph once.
    const std::vector<PeqBandRaw> bands = PlannedBands(plan, review.ResetOthers());
    UndoGesture gesture(QObject::tr("导入滤波器"));
    for (int b = 0; b < BandCount[m]; ++b)
        for (int k = 0; k < 5; ++k) {
            const int a = BandFirstSlot[m] + 5 * b + k;
            const int32_t v = bands[static_cast<std::size_t>(b)].v[k];
            if (Params.ParamImage[m][a] == v && Params.DeviceImage[m][a] == v) continue;
            Params.ParamImage[m][a] = v;
            SendDatatoMCU(m * 256 + a, v);
        }
    RefreshScreen();
}

void PeqExportBtnClick(QObject*) {
    QString name = Dialogs().SaveFileName(nullptr, Filter());
    if (name.isEmpty()) return;
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".txt");
    if (!AskToReplace(name)) return;
    const int m = ShownModule();
    const RawParam raw = [](int module, int index) -> int32_t {
        return index >= 0 && index < ImageSlots ? Params.ParamImage[module][index] : 0;
    };
    const std::string text = WritePeqText(m, raw, "\r\n");
    QSaveFile out(name);
    const bool ok = out.open(QIODevice::WriteOnly) &&
                    out.write(text.data(), static_cast<qint64>(text.size())) ==
                        static_cast<qint64>(text.size()) &&
                    out.commit();
    const QString caption = QCoreApplication::translate("TForm1", "导出滤波器");
    if (!ok) {
        Dialogs().Notify(nullptr, caption,
                         Lang(QStringLiteral("无法写入文件 %1").arg(name),
                              QStringLiteral("Cannot write the file %1").arg(name)));
        return;
    }
    Dialogs().Notify(nullptr, caption,
                     Lang(QStringLiteral("滤波器已保存在 %1").arg(name),
                          QStringLiteral("Filters saved in %1").arg(name)));
}
