#pragma once
// The snapshot files of the units: one directory per unit under a root, one
// ordinary preset file per snapshot, named for its time and reason
// ("2026-12-10_04-21-27_connect.Nddt"). Qt Core only.

#include <QDateTime>
#include <QList>
#include <QString>

#include <string>

// Snapshots kept per unit; the oldest go first.
constexpr int SnapshotsPerUnit = 200;

struct SnapshotInfo {
    QString FilePath;
    QDateTime Time; // local time of the name
    QString Reason; // "connect", "before-recall", ...
    int Sequence = 1; // order within the same second
};

// The unit's directory name: its serial number or, without one, its product
// string and path, reduced to letters, digits, '-', '_' and '.'; a name that
// had to be changed or cut gets a short hash of the original, so that two
// units never share a directory and nothing the unit says can leave the root.
QString SnapshotUnitName(const QString& serial, const QString& product, const QString& path);

// The bytes of a regular file no larger than a preset may be, read as the
// preset loader reads it (opened without blocking); false with the reason.
bool ReadSnapshotFile(const QString& path, QByteArray& bytes, QString& why);

class SnapshotStore {
public:
    enum class Result { Written, Unchanged, Failed };

    explicit SnapshotStore(QString root) : root_(std::move(root)) {}
    QString Root() const { return root_; }
    QString UnitDirectory(const QString& unit) const;

    // Writes the file unless it equals the unit's newest snapshot, then drops
    // the oldest beyond SnapshotsPerUnit. On failure, error says why.
    Result Write(const QString& unit, const std::string& fileBytes, const QString& reason,
                 const QDateTime& now, QString* error = nullptr);
    // The unit's snapshots, newest first.
    QList<SnapshotInfo> List(const QString& unit) const;

private:
    QString root_;
};
