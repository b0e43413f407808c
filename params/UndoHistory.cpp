#include "params/UndoHistory.h"

#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "params/ParamImage.h"
#include "params/ParamNames.h"
#include "params/SendToUnit.h"

#include <QObject>
#include <QPointer>
#include <QUndoStack>

#include <chrono>
#include <cstring>
#include <vector>

namespace {

// Commands whose gestures may merge share this id; mergeWith checks the control.
constexpr int MergeId = 1;
constexpr int UndoLimit = 200;

struct Entry {
    int address;
    int32_t before;
    int32_t after;
};

struct Recording {
    int depth = 0;
    const void* holder = nullptr; // of the held gesture
    QString text;
    int mergeKey = NoMerge;
    UndoReplay replay = UndoReplay::Singles;
    std::function<void()> upload;
    int32_t baseline[ModuleCount][DeviceSlots]{};
    bool seen[ModuleCount][DeviceSlots]{};
    std::vector<int> touched; // first write first
};

QPointer<QUndoStack> stack;
Recording rec;
bool replaying = false;
UndoClock undoClock;

int64_t Now() {
    if (undoClock) return undoClock();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Rebaseline() {
    std::memcpy(rec.baseline, Params.DeviceImage, sizeof rec.baseline);
    std::memset(rec.seen, 0, sizeof rec.seen);
    rec.touched.clear();
}

void Observe(int address) {
    if (rec.depth == 0 || replaying) return;
    const int m = address / 256;
    const int i = address % 256;
    if (address < 0 || m > LastModule || i >= DeviceSlots || rec.seen[m][i]) return;
    rec.seen[m][i] = true;
    rec.touched.push_back(address);
}

class ParamCommand : public QUndoCommand {
public:
    ParamCommand(const Recording& r, std::vector<Entry> entries)
        : QUndoCommand(r.text), entries_(std::move(entries)), mergeKey_(r.mergeKey),
          replay_(r.replay), upload_(r.upload), lastMs_(Now()) {}

    void undo() override { Replay(false); }
    void redo() override {
        // Pushed after the change was made: the first redo has nothing to do.
        if (fresh_) {
            fresh_ = false;
            return;
        }
        Replay(true);
    }
    int id() const override { return mergeKey_ == NoMerge ? -1 : MergeId; }

    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = dynamic_cast<const ParamCommand*>(other);
        if (!next || next->mergeKey_ != mergeKey_ || next->lastMs_ - lastMs_ > UndoMergeMs)
            return false;
        for (const Entry& e : next->entries_) {
            bool found = false;
            for (Entry& mine : entries_)
                if (mine.address == e.address) {
                    mine.after = e.after;
                    found = true;
                }
            if (!found) entries_.push_back(e);
        }
        lastMs_ = next->lastMs_;
        bool changes = false;
        for (const Entry& e : entries_)
            changes = changes || e.before != e.after;
        // Stepped there and back: nothing left to undo.
        setObsolete(!changes);
        return true;
    }

private:
    void Replay(bool forward) {
        replaying = true;
        const auto put = [&](const Entry& e) {
            if (e.before == e.after) return; // stepped away and back within a merge
            const int v = forward ? e.after : e.before;
            if (replay_ == UndoReplay::Singles) {
                SendDatatoMCU(e.address, v);
                return;
            }
            const int m = e.address / 256;
            const int i = e.address % 256;
            Params.DeviceImage[m][i] = v;
            if (i < ImageSlots) Params.ParamImage[m][i] = v;
        };
        // Backwards in reverse order, as the reverse change by hand would go.
        if (forward)
            for (const Entry& e : entries_)
                put(e);
        else
            for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
                put(*it);
        if (replay_ == UndoReplay::Image && upload_) upload_();
        RefreshScreen();
        replaying = false;
        // A gesture still open (a held drag) goes on from the values now set.
        if (rec.depth > 0) Rebaseline();
    }

    std::vector<Entry> entries_;
    int mergeKey_;
    UndoReplay replay_;
    std::function<void()> upload_;
    int64_t lastMs_;
    bool fresh_ = true;
};

bool Begin(const QString& text, int mergeKey, UndoReplay replay, std::function<void()> upload) {
    if (!stack || replaying) return false;
    if (rec.depth == 0) {
        // A refresh's own change handlers are not the user's.
        if (Dispatch.ScreenBusy == 1) return false;
        rec.text = text;
        rec.mergeKey = mergeKey;
        rec.replay = replay;
        rec.upload = std::move(upload);
        Rebaseline();
    }
    ++rec.depth;
    return true;
}

void Finish() {
    std::vector<Entry> entries;
    const auto take = [&](int m, int i) {
        // The device-memory commands are not parameters.
        const int address = m * 256 + i;
        if (address == MemoryRecallAddress || address == MemorySaveAddress) return;
        const int32_t now = Params.DeviceImage[m][i];
        if (now != rec.baseline[m][i]) entries.push_back({address, rec.baseline[m][i], now});
    };
    for (int address : rec.touched)
        take(address / 256, address % 256);
    // A preset load fills DeviceImage without StoreParam.
    if (rec.replay == UndoReplay::Image)
        for (int m = 0; m < ModuleCount; ++m)
            for (int i = 0; i < DeviceSlots; ++i)
                if (!rec.seen[m][i]) take(m, i);
    rec.touched.clear();
    if (entries.empty() || !stack) return;
    stack->push(new ParamCommand(rec, std::move(entries)));
}

void End() {
    if (rec.depth == 0) return;
    if (--rec.depth == 0) Finish();
}

} // namespace

void MakeUndoHistory(QObject* owner) {
    rec = Recording{};
    replaying = false;
    stack = new QUndoStack(owner);
    stack->setUndoLimit(UndoLimit);
    SetStoreObserver(Observe);
}

QUndoStack* UndoStack() {
    return stack;
}

void ClearUndoHistory() {
    if (stack) stack->clear();
    if (rec.depth > 0) Rebaseline();
}

void SetUndoClock(UndoClock c) {
    undoClock = std::move(c);
}

UndoGesture::UndoGesture(const QString& text, int mergeKey)
    : open_(Begin(text, mergeKey, UndoReplay::Singles, nullptr)) {}

UndoGesture::UndoGesture(const QString& text, UndoReplay replay, std::function<void()> upload)
    : open_(Begin(text, NoMerge, replay, std::move(upload))) {}

UndoGesture::~UndoGesture() {
    if (open_) End();
}

void HoldUndoGesture(const void* holder, const QString& text) {
    ReleaseUndoGesture(rec.holder);
    if (holder && Begin(text, NoMerge, UndoReplay::Singles, nullptr)) rec.holder = holder;
}

void ReleaseUndoGesture(const void* holder) {
    if (!holder || holder != rec.holder) return;
    rec.holder = nullptr;
    End();
}

bool UndoGestureHeld(const void* holder) {
    return holder && holder == rec.holder;
}

QString ParamName(int address, bool bypass) {
    if (const ParamEntry* e = FindParam(address))
        return QString::fromStdString(ParamUndoName(*e, ConsoleParamLanguage(), bypass));
    return QObject::tr("参数 %1").arg(address, 3, 16, QLatin1Char('0'));
}
