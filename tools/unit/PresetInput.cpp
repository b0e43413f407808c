#include "tools/unit/PresetInput.h"

#include "params/ParamCatalog.h"
#include "presets/FileNameBytes.h"
#include "presets/PresetRanges.h"
#include "presets/RegularFile.h"


namespace {

QString Refused(const PresetContents& contents, const QString& detail) {
    const QString text = contents.Status == PresetStatus::FormatError
                             ? QStringLiteral("File format error!")
                             : QStringLiteral("Data file is corrupted!");
    return detail.isEmpty() ? text : text + QStringLiteral(" (") + detail + QLatin1Char(')');
}

} // namespace

PresetInput ReadPresetInput(const QString& path) {
    PresetInput in;
    std::string bytes, why;
    if (!ReadRegularFile(FileNameBytes(path), PresetFileMaxBytes, bytes, why)) {
        if (why == TooLargeReason(PresetFileMaxBytes)) {
            in.Contents.Status = PresetStatus::Corrupted;
            in.Error = Refused(in.Contents, QStringLiteral("larger than %1 bytes").arg(PresetFileMaxBytes));
        } else {
            in.Error = QString::fromLocal8Bit(why.c_str());
        }
        return in;
    }
    // The console's loader checks: the whole file, then the values no control sets.
    in.Contents = CheckPresetFile(bytes);
    if (in.Contents.Status != PresetStatus::Ok) {
        in.Error = Refused(in.Contents, QString::fromStdString(PresetRefusalDetail(in.Contents)));
        return in;
    }
    for (const PresetOutOfRange& v : PresetValuesOutOfRange(in.Contents))
        in.Questioned << QStringLiteral("%1=%2")
                             .arg(QString::fromStdString(
                                      ParamKeyOf(v.Entry.Module * 256 + v.Entry.Slot)))
                             .arg(v.Entry.Value);
    return in;
}
