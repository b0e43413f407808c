#include "tools/unit/PresetInput.h"

#include "params/ParamCatalog.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

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
    // Only a regular file is opened: a FIFO or a device would block or never end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        in.Error = info.isDir() ? QStringLiteral("Is a directory")
                                : QStringLiteral("not a regular file");
        return in;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        in.Error = file.errorString();
        return in;
    }
    const QByteArray raw = file.read(PresetInputMaxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        in.Error = file.errorString();
        return in;
    }
    if (raw.size() > PresetInputMaxBytes) {
        in.Contents.Status = PresetStatus::Corrupted;
        in.Error = Refused(in.Contents, QStringLiteral("larger than %1 bytes").arg(PresetInputMaxBytes));
        return in;
    }
    in.Contents = CheckPresetFile(std::string_view(raw.constData(), static_cast<std::size_t>(raw.size())));
    if (in.Contents.Status != PresetStatus::Ok) {
        // The codec counts lines from 0; people count from 1.
        QString detail = QString::fromStdString(in.Contents.Detail);
        static const QRegularExpression line(QStringLiteral(" \\(line (\\d+)\\)"));
        if (const QRegularExpressionMatch m = line.match(detail); m.hasMatch())
            detail.replace(m.capturedStart(), m.capturedLength(),
                           QStringLiteral(" at line %1").arg(m.captured(1).toInt() + 1));
        in.Error = Refused(in.Contents, detail);
        return in;
    }
    for (const PresetEntry& e : in.Contents.Entries) {
        const QString key = QString::fromStdString(ParamKeyOf(e.Module * 256 + e.Slot));
        // A slot the format does not carry, or a value no slot can hold: damaged.
        if (e.Module < PresetFirstModule || e.Module > PresetLastModule || e.Slot < 0 ||
            e.Slot > PresetSlotBound[e.Module] || e.Value < 0 || e.Value > 65535) {
            in.Contents.Status = PresetStatus::Corrupted;
            in.Error = Refused(in.Contents, QStringLiteral("%1 holds %2").arg(key).arg(e.Value));
            return in;
        }
        if (!InRange(e.Module * 256 + e.Slot, e.Value))
            in.Questioned << QStringLiteral("%1=%2").arg(key).arg(e.Value);
    }
    return in;
}
