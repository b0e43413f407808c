#include "presets/SnapshotStore.h"

#include "presets/PresetFiles.h"
#include "presets/RegularFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace {

constexpr int UnitNameMax = 48;
const QString StampFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");

const QRegularExpression& NamePattern() {
    static const QRegularExpression re(QStringLiteral(
        R"(^(\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d)_([a-z]+(?:-[a-z]+)*)(?:-(\d{1,4}))?\.Nddt$)"));
    return re;
}

bool Newer(const SnapshotInfo& a, const SnapshotInfo& b) {
    if (a.Time != b.Time) return a.Time > b.Time;
    return a.Sequence > b.Sequence;
}

} // namespace

QString SnapshotUnitName(const QString& serial, const QString& product, const QString& path) {
    const QString raw = !serial.trimmed().isEmpty() ? serial : product + QLatin1Char('_') + path;
    QString name;
    for (const QChar c : raw) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'-' || c == u'_' || c == u'.';
        const QChar out = plain ? c : QChar(u'_');
        if (out == u'_' && name.endsWith(u'_')) continue;
        name += out;
    }
    while (name.startsWith(u'.') || name.startsWith(u'_'))
        name.remove(0, 1);
    while (name.endsWith(u'_'))
        name.chop(1);
    if (name.size() > UnitNameMax) name.truncate(UnitNameMax);
    if (name != raw || name.isEmpty()) {
        const QByteArray hash =
            QCryptographicHash::hash(raw.toUtf8(), QCryptographicHash::Sha1).toHex().left(8);
        name += (name.isEmpty() ? QStringLiteral("unit-") : QStringLiteral("-")) +
                QString::fromLatin1(hash);
    }
    return name;
}

bool ReadSnapshotFile(const QString& path, QByteArray& bytes, QString& why) {
    bytes.clear();
    std::string text, reason;
    if (!ReadRegularFile(FileNameBytes(path), PresetFileMaxBytes, text, reason)) {
        if (reason == "not a regular file")
            why = QStringLiteral("Not a regular file");
        else if (reason == TooLargeReason(PresetFileMaxBytes))
            why = QStringLiteral("File too large");
        else
            why = QString::fromLocal8Bit(reason.c_str());
        return false;
    }
    bytes = QByteArray(text.data(), static_cast<qsizetype>(text.size()));
    return true;
}

QString SnapshotStore::UnitDirectory(const QString& unit) const {
    return QDir(root_).filePath(unit);
}

QList<SnapshotInfo> SnapshotStore::List(const QString& unit) const {
    QList<SnapshotInfo> out;
    const QDir dir(UnitDirectory(unit));
    for (const QString& name : dir.entryList({QStringLiteral("*.Nddt")}, QDir::Files)) {
        const QRegularExpressionMatch m = NamePattern().match(name);
        if (!m.hasMatch()) continue; // not one of ours: never listed, never removed
        SnapshotInfo s;
        s.FilePath = dir.filePath(name);
        s.Time = QDateTime::fromString(m.captured(1), StampFormat);
        if (!s.Time.isValid()) continue;
        s.Reason = m.captured(2);
        s.Sequence = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
        out.append(s);
    }
    std::sort(out.begin(), out.end(), Newer);
    return out;
}

SnapshotStore::Result SnapshotStore::Write(const QString& unit, const std::string& fileBytes,
                                           const QString& reason, const QDateTime& now,
                                           QString* error) {
    const QString dirPath = UnitDirectory(unit);
    const QByteArray bytes(fileBytes.data(), static_cast<qsizetype>(fileBytes.size()));
    QList<SnapshotInfo> existing = List(unit);
    if (!existing.isEmpty()) {
        QByteArray newest;
        QString why;
        if (ReadSnapshotFile(existing.front().FilePath, newest, why) && newest == bytes)
            return Result::Unchanged;
    }
    if (!QDir().mkpath(dirPath)) {
        if (error) *error = QStringLiteral("cannot make the directory ") + dirPath;
        return Result::Failed;
    }

    // Several in one second (before and after a quick recall) keep their order.
    const QString stamp = now.toString(StampFormat);
    int sequence = 1;
    for (const SnapshotInfo& s : existing)
        if (s.Time.toString(StampFormat) == stamp) sequence = std::max(sequence, s.Sequence + 1);
    const QString name = stamp + QLatin1Char('_') + reason +
                         (sequence > 1 ? QLatin1Char('-') + QString::number(sequence) : QString()) +
                         QStringLiteral(".Nddt");

    QSaveFile file(QDir(dirPath).filePath(name));
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) ok = file.write(bytes) == bytes.size();
    if (ok)
        ok = file.commit();
    else
        file.cancelWriting();
    if (!ok) {
        if (error) *error = file.errorString();
        return Result::Failed;
    }

    existing.prepend({file.fileName(), QDateTime::fromString(stamp, StampFormat), reason, sequence});
    std::sort(existing.begin(), existing.end(), Newer);
    for (qsizetype i = SnapshotsPerUnit; i < existing.size(); ++i)
        QFile::remove(existing.at(i).FilePath);
    return Result::Written;
}
