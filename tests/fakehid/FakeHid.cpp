#include "tests/fakehid/FakeHid.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

struct hid_device_ {
    std::string path;
    int generation = 0;
    bool reading = false;
    bool writing = false;
    std::wstring error;
};

namespace {

struct Node {
    fakehid::DeviceDesc desc;
    bool plugged = false;
    int generation = 0; // bumped on unplug: older handles are dead
    int openError = 0;
    bool exclusive = false;
    int readError = 0;
    int shortBy = 0; // writes report this many bytes fewer than asked
    std::deque<fakehid::Bytes> queue;
    fakehid::Bytes stream;
    std::vector<fakehid::Bytes> written;
    fakehid::Responder responder;
    int opens = 0;
    int readsWaiting = 0;
    int readsReturned = 0;
};

struct State {
    std::mutex mutex;
    std::condition_variable wake;
    std::map<std::string, Node> nodes;
    std::vector<hid_device*> handles;
    std::vector<std::string> violations;
    std::wstring globalError;
    bool initFails = false;
    int exits = 0;
};

State& S() {
    static State state;
    return state;
}

std::wstring Wide(const char* text) {
    std::wstring out;
    for (const char* p = text; *p; ++p)
        out += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return out;
}

wchar_t* WideDup(const std::wstring& text) {
    auto* out = static_cast<wchar_t*>(std::calloc(text.size() + 1, sizeof(wchar_t)));
    std::copy(text.begin(), text.end(), out);
    return out;
}

// With the lock held: the handle's node when the handle is still usable.
Node* Live(hid_device* dev, const char* call) {
    State& s = S();
    if (std::find(s.handles.begin(), s.handles.end(), dev) == s.handles.end()) {
        s.violations.push_back(std::string(call) + " on a closed handle");
        return nullptr;
    }
    auto it = s.nodes.find(dev->path);
    if (it == s.nodes.end() || !it->second.plugged || it->second.generation != dev->generation)
        return nullptr;
    return &it->second;
}

} // namespace

// ---- The hidapi functions the backend calls ----

int hid_init(void) {
    return S().initFails ? -1 : 0;
}

int hid_exit(void) {
    std::lock_guard<std::mutex> lock(S().mutex);
    ++S().exits;
    return 0;
}

hid_device_info* hid_enumerate(unsigned short vendor_id, unsigned short product_id) {
    std::lock_guard<std::mutex> lock(S().mutex);
    hid_device_info* head = nullptr;
    hid_device_info** tail = &head;
    for (const auto& [path, node] : S().nodes) {
        if (!node.plugged || (vendor_id && node.desc.vendorId != vendor_id) ||
            (product_id && node.desc.productId != product_id))
            continue;
        auto* d = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
        d->path = strdup(path.c_str());
        d->vendor_id = node.desc.vendorId;
        d->product_id = node.desc.productId;
        d->product_string = WideDup(node.desc.product);
        d->serial_number = WideDup(node.desc.serial);
        d->manufacturer_string = WideDup(L"");
        *tail = d;
        tail = &d->next;
    }
    return head;
}

void hid_free_enumeration(hid_device_info* devs) {
    while (devs) {
        hid_device_info* next = devs->next;
        std::free(devs->path);
        std::free(devs->product_string);
        std::free(devs->serial_number);
        std::free(devs->manufacturer_string);
        std::free(devs);
        devs = next;
    }
}

hid_device* hid_open_path(const char* path) {
    State& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.nodes.find(path);
    int code = 0;
    if (it == s.nodes.end() || !it->second.plugged) {
        code = ENOENT;
    } else if (it->second.openError != 0) {
        code = it->second.openError;
    } else if (it->second.exclusive) {
        for (hid_device* h : s.handles)
            if (h->path == path) code = EBUSY;
    }
    if (code != 0) {
        s.globalError = Wide("Failed to open a device with path '") + Wide(path) + L"': " +
                        Wide(std::strerror(code));
        errno = code;
        return nullptr;
    }
    auto* dev = new hid_device;
    dev->path = path;
    dev->generation = it->second.generation;
    ++it->second.opens;
    s.handles.push_back(dev);
    return dev;
}

void hid_close(hid_device* dev) {
    State& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = std::find(s.handles.begin(), s.handles.end(), dev);
    if (it == s.handles.end()) {
        s.violations.push_back("hid_close of a closed handle");
        return;
    }
    if (dev->reading || dev->writing) s.violations.push_back("hid_close during a read or write");
    s.handles.erase(it);
    delete dev;
}

int hid_write(hid_device* dev, const unsigned char* data, size_t length) {
    State& s = S();
    std::unique_lock<std::mutex> lock(s.mutex);
    Node* node = Live(dev, "hid_write");
    if (std::find(s.handles.begin(), s.handles.end(), dev) == s.handles.end()) return -1;
    if (dev->reading) s.violations.push_back("hid_write during a read on the same handle");
    if (node == nullptr) {
        dev->error = Wide(std::strerror(ENODEV));
        errno = ENODEV;
        return -1;
    }
    dev->writing = true;
    node->written.emplace_back(data, data + length);
    // Stay inside the call a moment, so that an unguarded read would meet it.
    lock.unlock();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    lock.lock();
    if (dev->reading) s.violations.push_back("hid_read during a write on the same handle");
    dev->writing = false;
    const int shortBy = node->shortBy;
    if (fakehid::Responder responder = node->responder) {
        lock.unlock();
        const std::vector<fakehid::Bytes> replies = responder(fakehid::Bytes(data, data + length));
        lock.lock();
        if (Node* again = Live(dev, "hid_write")) {
            again->queue.insert(again->queue.end(), replies.begin(), replies.end());
            s.wake.notify_all();
        }
    }
    return static_cast<int>(length) - shortBy;
}

int hid_read_timeout(hid_device* dev, unsigned char* data, size_t length, int milliseconds) {
    State& s = S();
    std::unique_lock<std::mutex> lock(s.mutex);
    if (Live(dev, "hid_read_timeout") == nullptr &&
        std::find(s.handles.begin(), s.handles.end(), dev) == s.handles.end())
        return -1;
    if (dev->writing) s.violations.push_back("hid_read during a write on the same handle");
    dev->reading = true;
    const std::string path = dev->path;
    auto node = [&] { return Live(dev, "hid_read_timeout"); };
    auto ready = [&] {
        Node* n = node();
        return n == nullptr || n->readError != 0 || !n->queue.empty() || !n->stream.empty();
    };
    if (Node* n = node()) ++n->readsWaiting;
    s.wake.wait_for(lock, std::chrono::milliseconds(std::max(milliseconds, 0)), ready);
    int result = 0;
    Node* n = node();
    if (n == nullptr) {
        // As hidraw reports a device that went away: no errno of its own.
        dev->error = L"hid_read_timeout: unexpected poll error (device disconnected)";
        errno = 0;
        result = -1;
    } else if (n->readError != 0) {
        dev->error = Wide(std::strerror(n->readError));
        errno = n->readError;
        result = -1;
    } else if (!n->queue.empty() || !n->stream.empty()) {
        fakehid::Bytes report = n->stream;
        if (!n->queue.empty()) {
            report = n->queue.front();
            n->queue.pop_front();
        }
        const std::size_t count = std::min(length, report.size());
        std::copy_n(report.begin(), count, data);
        result = static_cast<int>(count);
    }
    auto it = s.nodes.find(path);
    if (it != s.nodes.end()) {
        if (it->second.generation == dev->generation) --it->second.readsWaiting;
        ++it->second.readsReturned;
    }
    dev->reading = false;
    s.wake.notify_all();
    return result;
}

const wchar_t* hid_error(hid_device* dev) {
    std::lock_guard<std::mutex> lock(S().mutex);
    return dev ? dev->error.c_str() : S().globalError.c_str();
}

#if HID_API_VERSION >= HID_API_MAKE_VERSION(0, 14, 0)
int hid_get_report_descriptor(hid_device*, unsigned char*, size_t) {
    return -1; // the backend then reads the descriptor from sysfs
}
#endif

// ---- Script ----

namespace fakehid {

void Reset() {
    State& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.nodes.clear();
    s.violations.clear();
    s.initFails = false;
    s.exits = 0;
    s.globalError.clear();
}

void SetInitFails(bool fails) {
    S().initFails = fails;
}

int ExitCalls() {
    std::lock_guard<std::mutex> lock(S().mutex);
    return S().exits;
}

void Plug(const DeviceDesc& desc) {
    std::lock_guard<std::mutex> lock(S().mutex);
    Node& node = S().nodes[desc.path];
    node.desc = desc;
    node.plugged = true;
    node.readError = 0;
    node.queue.clear();
    node.stream.clear();
}

void Unplug(const std::string& path) {
    std::lock_guard<std::mutex> lock(S().mutex);
    auto it = S().nodes.find(path);
    if (it == S().nodes.end()) return;
    it->second.plugged = false;
    ++it->second.generation;
    it->second.readsWaiting = 0;
    S().wake.notify_all();
}

void SetOpenError(const std::string& path, int code) {
    std::lock_guard<std::mutex> lock(S().mutex);
    S().nodes[path].openError = code;
}

void SetExclusive(const std::string& path, bool exclusive) {
    std::lock_guard<std::mutex> lock(S().mutex);
    S().nodes[path].exclusive = exclusive;
}

void FailReads(const std::string& path, int code) {
    std::lock_guard<std::mutex> lock(S().mutex);
    S().nodes[path].readError = code;
    S().wake.notify_all();
}

void ShortWrites(const std::string& path, int bytes) {
    std::lock_guard<std::mutex> lock(S().mutex);
    S().nodes[path].shortBy = bytes;
}

void Push(const std::string& path, const Bytes& report) {
    std::lock_guard<std::mutex> lock(S().mutex);
    S().nodes[path].queue.push_back(report);
    S().wake.notify_all();
}

void Respond(const std::string& path, Responder responder) {
    std::lock_guard<std::mutex> lock(S().mutex);
    S().nodes[path].responder = std::move(responder);
}

void Stream(const std::string& path, const Bytes& report) {
    std::lock_guard<std::mutex> lock(S().mutex);
    S().nodes[path].stream = report;
    S().wake.notify_all();
}

std::vector<Bytes> Written(const std::string& path) {
    std::lock_guard<std::mutex> lock(S().mutex);
    auto it = S().nodes.find(path);
    return it == S().nodes.end() ? std::vector<Bytes>{} : it->second.written;
}

int OpenHandles() {
    std::lock_guard<std::mutex> lock(S().mutex);
    return static_cast<int>(S().handles.size());
}

int Opens(const std::string& path) {
    std::lock_guard<std::mutex> lock(S().mutex);
    auto it = S().nodes.find(path);
    return it == S().nodes.end() ? 0 : it->second.opens;
}

int ReadsWaiting(const std::string& path) {
    std::lock_guard<std::mutex> lock(S().mutex);
    auto it = S().nodes.find(path);
    return it == S().nodes.end() ? 0 : it->second.readsWaiting;
}

int ReadsReturned(const std::string& path) {
    std::lock_guard<std::mutex> lock(S().mutex);
    auto it = S().nodes.find(path);
    return it == S().nodes.end() ? 0 : it->second.readsReturned;
}

std::vector<std::string> Violations() {
    std::lock_guard<std::mutex> lock(S().mutex);
    return S().violations;
}

} // namespace fakehid
