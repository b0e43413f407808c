#pragma once
// The console keeps every state of the unit in use: a snapshot after each
// bulk read of its parameters, and one of the console's image before each
// command that overwrites the unit's live set or its memory.

#include "presets/PresetCodec.h"

#include <QString>

class SnapshotStore;

// Where the units' snapshot directories are; empty goes back to the default,
// $XDG_DATA_HOME/kalviren/snapshots (~/.local/share/kalviren/snapshots).
void SetSnapshotRoot(const QString& root);
SnapshotStore& Snapshots();
// Snapshots are written in the background, in order; this waits until the
// ones handed over are on disk (what they report follows from the event loop).
void FlushSnapshots();

// The snapshot directory name of the unit in use; empty without one.
QString UnitInUseName();

// A bulk read has filled DeviceImage with read (the values as they came,
// before the screen refresh holds back any): afterMemoryCommand for the read
// back after a recall or factory reset, otherwise the connect's read.
void SnapshotAfterRead(const PresetImage& read, bool afterMemoryCommand);

// What is about to overwrite the unit.
enum class Overwrite { Load, Restore, Recall, Factory, Store };
// Online only: the console's image, before the command is sent.
void SnapshotBefore(Overwrite command);

// While one lives, a preset load that overwrites the unit is a restore.
class RestoreScope {
public:
    RestoreScope();
    ~RestoreScope();
    RestoreScope(const RestoreScope&) = delete;
    RestoreScope& operator=(const RestoreScope&) = delete;
};
// Load, or Restore inside a RestoreScope.
Overwrite PresetUploadKind();

// The words of a reason in a file name, for people ("连接", "恢复前").
QString SnapshotReasonText(const QString& reason);
