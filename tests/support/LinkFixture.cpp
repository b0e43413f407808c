#include "tests/support/LinkFixture.h"

#include "app/LinkDisplay.h"
#include "app/MainWindow.h"
#include "link/Frames.h"
#include "presets/StatusBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTimer>

namespace {
// KV_SESSION_RECORD=DIR: every report the unit receives is appended to
// DIR/frames.txt, so that two builds' sessions can be compared byte for byte.
// The start sign's mask and check bytes follow the time of day and are blanked,
// and so are a Bluetooth packet's bytes after its text and its checksum: the
// text is written over the transmit buffer, whose rest still holds the last
// start sign's mask.
bool Blank(const Report& f, std::size_t i) {
    if (f[0] == 0x02) return i >= 4 && i < 16;
    const bool bluetooth = f[0] == 0x01 && f[3] == WriteMode &&
                           f[4] * 256 + f[5] == BluetoothAddress && f[6] == 0x20;
    return bluetooth && ((i >= 8u + f[7] && i < FrameSize - 1) || i == FrameSize - 1);
}

void Record(const std::vector<EmulatedDevice::Received>& frames, int clockMs) {
    const QString dir = qEnvironmentVariable("KV_SESSION_RECORD");
    if (dir.isEmpty() || frames.empty()) return;
    QFile log(QDir(dir).filePath(QStringLiteral("frames.txt")));
    if (!log.open(QIODevice::Append | QIODevice::Text)) return;
    QByteArray text = "t=" + QByteArray::number(clockMs) + "\n";
    for (const auto& r : frames) {
        for (std::size_t i = 0; i < r.bytes.size(); ++i) {
            const bool blank = Blank(r.bytes, i);
            text += blank ? QByteArray("..")
                          : QByteArray::number(r.bytes[i], 16).rightJustified(2, '0');
            text += ' ';
        }
        text += QByteArray::number(qulonglong(r.length)) + (r.accepted ? " ok\n" : " refused\n");
    }
    log.write(text);
}
} // namespace

void LinkFixture::SetUp() {
    AppFixture::SetUp();
    form1 = form;
    pendingBackend = std::make_unique<EmulatorBackend>();
    backend = pendingBackend.get();
    unit = backend->PlugUnit();
}

void LinkFixture::StartConsole() {
    form9 = new TForm9(Params, std::move(pendingBackend));
    ConnectLinkToWindows(*form9);
    form4 = new TForm4;
}

void LinkFixture::TearDown() {
    if (unit) Record(unit->ReceivedFrames(), clockMs);
    delete form4;
    delete form9;
    form4 = nullptr;
    form9 = nullptr;
    pendingBackend.reset();
    Deliver();
    AppFixture::TearDown();
    form1 = nullptr;
}

void LinkFixture::Deliver() {
    QCoreApplication::sendPostedEvents();
}

void LinkFixture::Step(int ms) {
    for (int t = 0; t < ms; t += 25) {
        clockMs += 25;
        backend->AdvanceClock(25);
        Deliver();
        LinkSession* s = form9->Session;
        if (s->HoldTimer->isActive()) s->HoldTimerTimer(s->HoldTimer);
        Deliver();
        if (clockMs % 50 == 0 && s->Timer2->isActive()) s->Timer2Timer(s->Timer2);
        Deliver();
        if (clockMs % 1000 == 0 && s->Timer1->isActive()) s->Timer1Timer(s->Timer1);
        Deliver();
        if (clockMs % 1000 == 500 && form9->RelistTimer->isActive())
            form9->RelistTimerTimer(form9->RelistTimer);
        Deliver();
    }
}

void LinkFixture::ConnectUnit() {
    if (!form9) StartConsole();
    Deliver();
    for (int i = 0; i < 400 && form9->Session->LinkState != Online; ++i)
        Step(25);
}

std::vector<EmulatedDevice::Received> LinkFixture::Frames() const {
    return unit->ReceivedFrames();
}

void LinkFixture::ClearFrames() {
    Record(unit->ReceivedFrames(), clockMs);
    unit->ClearReceived();
}

std::vector<EmulatedDevice::Received> LinkFixture::FramesTo(int address) const {
    std::vector<EmulatedDevice::Received> out;
    for (const auto& r : unit->ReceivedFrames())
        if (r.bytes[0] == 0x01 && (r.bytes[4] << 8 | r.bytes[5]) == address) out.push_back(r);
    return out;
}

void LinkFixture::Inject(const std::vector<uint8_t>& frame) {
    QByteArray data(reinterpret_cast<const char*>(frame.data()) + 1,
                    static_cast<qsizetype>(frame.size()) - 1);
    form9->HidCtlDeviceData(form9->RxDevice, frame[0], data);
}

QStringList LinkFixture::History() const {
    QStringList out;
    for (int i = 0; i < form9->HistoryListBox->count(); ++i)
        out << form9->HistoryListBox->item(i)->text();
    return out;
}

namespace {
void Seal(std::vector<uint8_t>& f) {
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < f.size(); ++i)
        sum += f[i];
    f.back() = static_cast<uint8_t>((0u - sum) & 0xFF);
}
} // namespace

std::vector<uint8_t> StatusFrame(uint16_t code, uint8_t left, uint8_t right, int volume) {
    std::vector<uint8_t> f(30, 0);
    f[0] = 0x01;
    f[1] = 0x57;
    f[2] = 26;
    f[3] = 0xA7;
    f[4] = 0;
    f[5] = 255;
    f[6] = static_cast<uint8_t>(code >> 8);
    f[7] = static_cast<uint8_t>(code & 0xFF);
    f[8] = left;
    f[9] = right;
    f[17] = static_cast<uint8_t>(volume >> 8);
    f[18] = static_cast<uint8_t>(volume & 0xFF);
    Seal(f);
    return f;
}

std::vector<uint8_t> ValuesFrame(int module, int start, const std::vector<int>& values,
                                 int lengthOverride) {
    std::vector<uint8_t> f(30, 0);
    f[0] = 0x01;
    f[1] = 0x57;
    const int length =
        lengthOverride >= 0 ? lengthOverride : 1 + 2 + 2 + 2 * static_cast<int>(values.size()) + 1;
    f[2] = static_cast<uint8_t>(length);
    f[3] = 0xA0;
    f[4] = 0;
    f[5] = 57;
    f[6] = static_cast<uint8_t>(module);
    f[7] = static_cast<uint8_t>(start);
    for (std::size_t j = 0; j < values.size() && 9 + 2 * j < 29; ++j) {
        f[8 + 2 * j] = static_cast<uint8_t>(values[j] >> 8);
        f[9 + 2 * j] = static_cast<uint8_t>(values[j] & 0xFF);
    }
    Seal(f);
    return f;
}
