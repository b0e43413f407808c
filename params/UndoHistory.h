#pragma once
// Undo and redo of the user's parameter changes. A gesture (one commit, one
// click, one drag from press to release) notes every slot it writes; its
// command later writes the old or the new raw values again through
// SendDatatoMCU and refreshes the screen, so the unit is sent what the same
// change made by hand sends. No widget headers: QUndoStack is QtGui.

#include <QString>

#include <cstdint>
#include <functional>

class QObject;
class QUndoStack;

// A gesture that never merges with the one before it.
constexpr int NoMerge = -1;
// Steps on one control closer together than this are one undo step.
constexpr int64_t UndoMergeMs = 1000;

// How a command's values go back: one write per slot, or into the image
// followed by the whole-image upload a preset load makes.
enum class UndoReplay { Singles, Image };

// A new, empty history owned by owner (the main window); it also starts
// watching StoreParam.
void MakeUndoHistory(QObject* owner);
// nullptr before MakeUndoHistory and after its owner is gone.
QUndoStack* UndoStack();
// The unit's values replaced the console's: nothing before this can be undone.
void ClearUndoHistory();

// Milliseconds of a monotonic clock; tests step it themselves.
using UndoClock = std::function<int64_t()>;
void SetUndoClock(UndoClock clock); // nullptr: the steady clock

// One gesture; a scope opened inside another belongs to the outer one.
// Nothing is recorded during a screen refresh or while a command replays.
class UndoGesture {
public:
    explicit UndoGesture(const QString& text, int mergeKey = NoMerge);
    UndoGesture(const QString& text, UndoReplay replay, std::function<void()> upload);
    ~UndoGesture();
    UndoGesture(const UndoGesture&) = delete;
    UndoGesture& operator=(const UndoGesture&) = delete;

private:
    bool open_ = false;
};

// A gesture that spans events (a handle or track bar drag), held by the
// given holder: opened by the press, closed when the drag's last value has
// been committed. Holding again first closes the one still held; a release
// by another holder does nothing.
void HoldUndoGesture(const void* holder, const QString& text);
void ReleaseUndoGesture(const void* holder);
bool UndoGestureHeld(const void* holder);

// What a slot is called in the undo texts, e.g. "增益 3"; with bypass, a
// band's first slot is named for its bypass box ("直通 3").
QString ParamName(int address, bool bypass = false);
