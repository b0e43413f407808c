#include "params/UndoHistory.h"

#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "params/ParamImage.h"
#include "params/SendToUnit.h"

#include <QObject>
#include <QPointer>
#include <QUndoStack>

#include <chrono>
#include <cstring>
#include <vector>

namespace {

// The device-memory commands (recall, save) are not parameters.
constexpr int RecallAddress = 12;
constexpr int SaveAddress = 13;
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
        if (m == 0 && (i == RecallAddress || i == SaveAddress)) return;
        const int32_t now = Params.DeviceImage[m][i];
        if (now != rec.baseline[m][i]) entries.push_back({m * 256 + i, rec.baseline[m][i], now});
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

QString Tr(const char* marked) {
    return QObject::tr(marked);
}

QString BandName(const QString& prefix, int field, int number) {
    static const char* const fields[5] = {
        QT_TRANSLATE_NOOP("QObject", "EQ类型"), QT_TRANSLATE_NOOP("QObject", "频率"),
        QT_TRANSLATE_NOOP("QObject", "增益"), QT_TRANSLATE_NOOP("QObject", "Q值"),
        QT_TRANSLATE_NOOP("QObject", "Q值")};
    return prefix + Tr(fields[field]) + QLatin1Char(' ') + QString::number(number);
}

QString CrossoverName(const QString& prefix, int which) {
    static const char* const names[4] = {
        QT_TRANSLATE_NOOP("QObject", "高通类型"), QT_TRANSLATE_NOOP("QObject", "高通频率"),
        QT_TRANSLATE_NOOP("QObject", "低通类型"), QT_TRANSLATE_NOOP("QObject", "低通频率")};
    return prefix + Tr(names[which]);
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
    const int m = address / 256;
    const int i = address % 256;
    if (bypass) {
        const int first = BandFirstSlot[m];
        const int rows = m == 2 ? 6 : BandCount[m]; // the default-EQ rows follow the aux bands
        if (i >= first && i < first + 5 * rows && (i - first) % 5 == 0) {
            QString prefix;
            if (m == 2)
                prefix = (i < 43 ? QObject::tr("辅助") : QObject::tr("默认EQ")) + QLatin1Char(' ');
            const int number = m == 2 && i >= 43 ? (i - 43) / 5 + 1 : (i - first) / 5 + 1;
            return prefix + QObject::tr("直通") + QLatin1Char(' ') + QString::number(number);
        }
    }
    if (m == 0) {
        if (i == 10) return QObject::tr("输入选择");
        if (i == 11) return QObject::tr("端口电平");
    } else if (m == 1) {
        switch (i) {
        case 0:
            return QObject::tr("左延时");
        case 2:
            return QObject::tr("右延时");
        case 3:
            return QObject::tr("左通道相位");
        case 4:
            return QObject::tr("动态压缩");
        case 5:
            return QObject::tr("压缩启动时间");
        case 6:
            return QObject::tr("压缩释放时间");
        case 7:
            return QObject::tr("右通道相位");
        case 13:
            return CrossoverName(QString(), 0);
        case 15:
            return CrossoverName(QString(), 1);
        case 16:
            return CrossoverName(QString(), 2);
        case 18:
            return CrossoverName(QString(), 3);
        case 19:
            return QObject::tr("EQ直通");
        default:
            break;
        }
        if (i >= 8 && i <= 12) return QObject::tr("压缩曲线 点%1").arg(i - 8);
        if (i >= 20 && i < 65) return BandName(QString(), (i - 20) % 5, (i - 20) / 5 + 1);
    } else if (m == 2) {
        if (i >= 1 && i <= 21) {
            static const char* const deq[10] = {nullptr,
                                                QT_TRANSLATE_NOOP("QObject", "Pass"),
                                                QT_TRANSLATE_NOOP("QObject", "类型"),
                                                QT_TRANSLATE_NOOP("QObject", "频率"),
                                                QT_TRANSLATE_NOOP("QObject", "增益"),
                                                QT_TRANSLATE_NOOP("QObject", "Q值"),
                                                nullptr,
                                                QT_TRANSLATE_NOOP("QObject", "启动方式"),
                                                QT_TRANSLATE_NOOP("QObject", "启动电平"),
                                                QT_TRANSLATE_NOOP("QObject", "截止电平")};
            const int n = i < 13 ? 1 : 2;
            const int field = i < 13 ? i : i - 12;
            if (field >= 1 && field <= 9 && deq[field])
                return QStringLiteral("DEQ%1 ").arg(n) + Tr(deq[field]);
        }
        switch (i) {
        case 25:
            return QObject::tr("辅助增益");
        case 26:
            return QObject::tr("辅助输出");
        case 27:
            return QObject::tr("辅助左相位");
        case 28:
            return QObject::tr("辅助右相位");
        default:
            break;
        }
        const QString aux = QObject::tr("辅助") + QLatin1Char(' ');
        const QString hint = QObject::tr("默认EQ") + QLatin1Char(' ');
        if (i >= 29 && i <= 32) return CrossoverName(aux, i - 29);
        if (i >= 33 && i < 43) return BandName(aux, (i - 33) % 5, (i - 33) / 5 + 1);
        if (i >= 43 && i < 63) return BandName(hint, (i - 43) % 5, (i - 43) / 5 + 1);
        if (i >= 63 && i <= 66) return CrossoverName(hint, i - 63);
    }
    return QObject::tr("参数 %1").arg(address, 3, 16, QLatin1Char('0'));
}
