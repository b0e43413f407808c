#include "link/HidapiBackend.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <hidapi/hidapi.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#if defined(Q_OS_LINUX) && defined(KV_HAVE_UDEV)
#include <libudev.h>
#define KV_UDEV_MONITOR 1
#endif

namespace {

constexpr int kFrameLength = 30;   // the unit's report, report ID included
constexpr int kReadTimeoutMs = 50; // a reader notices Close() within this time

QString FromWide(const wchar_t* text) {
    return text ? QString::fromWCharArray(text) : QString();
}

QString SystemText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

class HidapiConnection : public HidConnection {
public:
    HidapiConnection(hid_device* writer, hid_device* reader, int inputLength, int outputLength,
                     QString lengthsNote)
        : writer_(writer), reader_(reader), inputLength_(inputLength), outputLength_(outputLength),
          lengthsNote_(std::move(lengthsNote)) {}
    ~HidapiConnection() override { Close(); }

    bool Write(const quint8* data, int length, int* errorCode, QString* errorText) override {
        if (data == nullptr || length <= 0 || writer_ == nullptr) {
            Fail(writer_ == nullptr ? EBADF : EINVAL, QString(), errorCode, errorText);
            return false;
        }
        int result = 0;
        int err = 0;
        QString text;
        {
            // With one shared handle the reader and the writer take turns;
            // hidapi keeps per-handle error state that is not thread-safe.
            std::unique_lock<std::mutex> lock(mutex_, std::defer_lock);
            if (shared()) {
                lock.lock();
            }
            errno = 0;
            result = hid_write(writer_, data, static_cast<size_t>(length));
            err = errno;
            if (result < 0) {
                text = FromWide(hid_error(writer_));
            }
        }
        if (result < 0 || result < length) { // padded writes report more
            if (err == 0) {
                err = EIO;
            }
            Fail(err, text, errorCode, errorText);
            return false;
        }
        return true;
    }

    void StartReading(std::function<void(QByteArray)> onReport,
                      std::function<void(int, QString)> onError) override {
        if (reader_ == nullptr || thread_.joinable()) {
            return;
        }
        stop_.store(false);
        thread_ = std::thread([this, onReport = std::move(onReport), onError = std::move(onError)] {
            Run(onReport, onError);
        });
    }

    void Close() override {
        stop_.store(true);
        if (thread_.joinable()) {
            thread_.join();
        }
        if (reader_ != nullptr && reader_ != writer_) {
            hid_close(reader_);
        }
        if (writer_ != nullptr) {
            hid_close(writer_);
        }
        reader_ = nullptr;
        writer_ = nullptr;
    }

    void ReportLengths(int* inputLength, int* outputLength) const override {
        if (inputLength && inputLength_ > 0) {
            *inputLength = inputLength_;
        }
        if (outputLength && outputLength_ > 0) {
            *outputLength = outputLength_;
        }
    }

    QString ReportLengthsNote() const override { return lengthsNote_; }

private:
    bool shared() const { return reader_ == writer_; }

    static void Fail(int code, QString text, int* errorCode, QString* errorText) {
        if (text.isEmpty()) {
            text = SystemText(code);
        }
        if (errorCode) {
            *errorCode = code;
        }
        if (errorText) {
            *errorText = text;
        }
    }

    void Run(const std::function<void(QByteArray)>& onReport,
             const std::function<void(int, QString)>& onError) {
        // Room for a longer report than declared, so that nothing is cut
        // silently; what arrives is passed on with its real length.
        std::vector<unsigned char> buffer(static_cast<std::size_t>(std::max(inputLength_, 64)));
        while (!stop_.load()) {
            int n = 0;
            int err = 0;
            QString text;
            {
                std::unique_lock<std::mutex> lock(mutex_, std::defer_lock);
                if (shared()) {
                    lock.lock();
                }
                errno = 0;
                n = hid_read_timeout(reader_, buffer.data(), buffer.size(),
                                     shared() ? kReadTimeoutMs / 5 : kReadTimeoutMs);
                err = errno;
                if (n < 0) {
                    text = FromWide(hid_error(reader_));
                }
            }
            if (n > 0 && static_cast<std::size_t>(n) <= buffer.size()) {
                onReport(QByteArray(reinterpret_cast<const char*>(buffer.data()), n));
            } else if (n < 0) {
                if (err == 0) {
                    err = EIO;
                }
                if (text.isEmpty()) {
                    text = SystemText(err);
                }
                if (onError) {
                    onError(err, text);
                }
                // A handle that failed (typically the device is gone) keeps
                // failing; the device-change handling takes over from here.
                return;
            } else if (shared()) {
                // Give a waiting writer its turn.
                std::this_thread::yield();
            }
        }
    }

    hid_device* writer_;
    hid_device* reader_;
    int inputLength_;
    int outputLength_;
    QString lengthsNote_;
    std::mutex mutex_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace

HidapiBackend::HidapiBackend() : sysfsRoot_(QStringLiteral("/sys/class/hidraw")) {
    initialised_ = hid_init() == 0;
}

HidapiBackend::~HidapiBackend() {
    pollTimer_.reset();
    notifier_.reset();
#ifdef KV_UDEV_MONITOR
    if (monitor_) {
        udev_monitor_unref(monitor_);
    }
    if (udev_) {
        udev_unref(udev_);
    }
#endif
    if (initialised_) {
        hid_exit();
    }
}

QList<HidDeviceInfo> HidapiBackend::Enumerate() {
    QList<HidDeviceInfo> list;
    if (!initialised_) {
        return list;
    }
    hid_device_info* all = hid_enumerate(0, 0);
    for (hid_device_info* d = all; d != nullptr; d = d->next) {
        if (d->path == nullptr) {
            continue; // cannot be opened or told apart: not offered
        }
        HidDeviceInfo info;
        info.path = QString::fromLocal8Bit(d->path);
        info.vendorId = d->vendor_id;
        info.productId = d->product_id;
        info.product = FromWide(d->product_string);
        info.serial = FromWide(d->serial_number);
        info.inputReportLength = kFrameLength;
        info.outputReportLength = kFrameLength;
        list.append(info);
    }
    hid_free_enumeration(all);
    return list;
}

std::unique_ptr<HidConnection> HidapiBackend::Open(const HidDeviceInfo& info, int* errorCode,
                                                   QString* errorText) {
    if (!initialised_) {
        if (errorCode) {
            *errorCode = ENODEV;
        }
        if (errorText) {
            *errorText = QStringLiteral("hidapi could not be initialised");
        }
        return nullptr;
    }
    const QByteArray path = info.path.toLocal8Bit();
    errno = 0;
    hid_device* writer = hid_open_path(path.constData());
    if (writer == nullptr) {
        const int err = errno != 0 ? errno : ENODEV;
        QString text = FromWide(hid_error(nullptr));
        if (errorCode) {
            *errorCode = err;
        }
        if (errorText) {
            *errorText = text.isEmpty() ? SystemText(err) : text;
        }
        return nullptr;
    }
    // A second handle for the reader keeps reads and writes apart; where
    // the system opens devices exclusively, both share the first one.
    hid_device* reader = hid_open_path(path.constData());
    if (reader == nullptr) {
        reader = writer;
    }
    int input = kFrameLength;
    int output = kFrameLength;
    QString note;
    ReadLengths(writer, info, &input, &output, &note);
    return std::make_unique<HidapiConnection>(writer, reader, input, output, note);
}

void HidapiBackend::WatchChanges(std::function<void()> changed) {
    changed_ = std::move(changed);
    if (StartUdevMonitor()) {
        return;
    }
    // No monitor: let HidCtl compare the device lists once a second.
    pollTimer_ = std::make_unique<QTimer>();
    pollTimer_->setInterval(1000);
    QObject::connect(pollTimer_.get(), &QTimer::timeout, [this] { PollTimerTimer(); });
    pollTimer_->start();
}

void HidapiBackend::PollTimerTimer() {
    // No comparison of its own here: one kept apart from HidCtl's would miss
    // a unit that HidCtl saw vanish (after a failure) and that is back by the
    // next tick.
    if (changed_) {
        changed_();
    }
}

void HidapiBackend::ReadLengths(hid_device* dev, const HidDeviceInfo& info, int* input, int* output,
                                QString* note) const {
    std::vector<uint8_t> descriptor;
#if HID_API_VERSION >= HID_API_MAKE_VERSION(0, 14, 0)
    unsigned char buffer[HID_API_MAX_REPORT_DESCRIPTOR_SIZE];
    const int n = hid_get_report_descriptor(dev, buffer, sizeof buffer);
    if (n > 0) {
        descriptor.assign(buffer, buffer + n);
    }
#else
    (void)dev;
#endif
#if defined(Q_OS_LINUX)
    // hidraw exposes the report descriptor in sysfs, readable without opening
    // the device: /sys/class/hidraw/hidrawN/device/report_descriptor.
    const QString node = QFileInfo(info.path).fileName();
    if (descriptor.empty() && node.startsWith(QLatin1String("hidraw"))) {
        QFile file(sysfsRoot_ + QStringLiteral("/%1/device/report_descriptor").arg(node));
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.read(4096);
            descriptor.assign(bytes.begin(), bytes.end());
        }
    }
#else
    (void)info;
#endif
    if (descriptor.empty()) {
        return; // the backend cannot tell: keep the frame length
    }
    const HidReportLengths lengths = ParseReportDescriptor(descriptor.data(), descriptor.size(), 1);
    if (lengths.impossible) {
        *note = QStringLiteral("REPORT DESCRIPTOR UNREADABLE: a report of no or more than %1 "
                               "bytes; using %2 bytes")
                    .arg(kMaxHidReportLength)
                    .arg(kFrameLength);
        return;
    }
    if (lengths.input > 0) {
        *input = lengths.input;
    }
    if (lengths.output > 0) {
        *output = lengths.output;
    }
}

bool HidapiBackend::StartUdevMonitor() {
#ifdef KV_UDEV_MONITOR
    udev_ = udev_new();
    if (udev_ == nullptr) {
        return false;
    }
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (monitor_ == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        if (monitor_) {
            udev_monitor_unref(monitor_);
            monitor_ = nullptr;
        }
        udev_unref(udev_);
        udev_ = nullptr;
        return false;
    }
    const int fd = udev_monitor_get_fd(monitor_);
    notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        bool any = false;
        while (udev_device* dev = udev_monitor_receive_device(monitor_)) {
            udev_device_unref(dev);
            any = true;
        }
        if (any && changed_) {
            changed_();
        }
    });
    return true;
#else
    return false;
#endif
}

std::unique_ptr<HidBackend> MakeHidapiBackend() {
    return std::make_unique<HidapiBackend>();
}

HidReportLengths ParseReportDescriptor(const uint8_t* descriptor, std::size_t size, int reportId) {
    constexpr uint64_t kBitsCap = (static_cast<uint64_t>(kMaxHidReportLength) + 1) * 8;
    struct Globals {
        uint32_t reportSize = 0;
        uint32_t reportCount = 0;
        int reportId = 0;
    };
    Globals g;
    std::vector<Globals> stack;
    // Bits per report ID, for input and output main items.
    std::map<int, uint64_t> inputBits, outputBits;
    bool usesIds = false;

    std::size_t i = 0;
    while (descriptor != nullptr && i < size) {
        const uint8_t prefix = descriptor[i];
        if (prefix == 0xFE) { // long item: size byte, tag byte, data
            if (i + 1 >= size) {
                break;
            }
            i += 3u + descriptor[i + 1];
            continue;
        }
        static constexpr std::size_t kSizes[4] = {0, 1, 2, 4};
        const std::size_t n = kSizes[prefix & 0x03];
        if (i + 1 + n > size) {
            break; // truncated item: ignore the rest
        }
        uint32_t value = 0;
        for (std::size_t b = 0; b < n; ++b) {
            value |= static_cast<uint32_t>(descriptor[i + 1 + b]) << (8 * b);
        }
        const int type = (prefix >> 2) & 0x03;
        const int tag = (prefix >> 4) & 0x0F;
        if (type == 1) { // global
            switch (tag) {
            case 0x7:
                g.reportSize = value;
                break;
            case 0x8:
                g.reportId = static_cast<int>(value);
                usesIds = true;
                break;
            case 0x9:
                g.reportCount = value;
                break;
            case 0xA:
                stack.push_back(g);
                break;
            case 0xB:
                if (!stack.empty()) {
                    g = stack.back();
                    stack.pop_back();
                }
                break;
            default:
                break;
            }
        } else if (type == 0) { // main
            // Two 32-bit factors fit 64 bits; the sum is held at the cap so
            // that no declared size can wrap round to a small one.
            const uint64_t bits = static_cast<uint64_t>(g.reportSize) * g.reportCount;
            const auto add = [bits](uint64_t& total) {
                total = bits > kBitsCap - total ? kBitsCap : total + bits;
            };
            if (tag == 0x8) {
                add(inputBits[g.reportId]);
            } else if (tag == 0x9) {
                add(outputBits[g.reportId]);
            }
        }
        i += 1 + n;
    }

    const int id = usesIds ? reportId : 0;
    HidReportLengths out;
    auto bytes = [id, &out](const std::map<int, uint64_t>& bitsById) {
        const auto it = bitsById.find(id);
        if (it == bitsById.end()) {
            return 0;
        }
        const uint64_t length = (it->second + 7) / 8 + 1; // + report-ID byte
        if (it->second == 0 || length > static_cast<uint64_t>(kMaxHidReportLength)) {
            out.impossible = true;
            return 0;
        }
        return static_cast<int>(length);
    };
    out.input = bytes(inputBits);
    out.output = bytes(outputBits);
    if (out.impossible) {
        out.input = 0;
        out.output = 0;
    }
    return out;
}
