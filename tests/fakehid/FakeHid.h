#pragma once
// A scripted stand-in for hidapi: FakeHid.cpp defines the hid_* functions the
// backend calls, over devices the test plugs in. Reads block like the real
// ones (with their time-out), so the backend's reader thread runs for real;
// every misuse the fake can see (a read and a write at once on one handle, a
// handle closed during a call, a call on a closed handle) is recorded.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fakehid {

using Bytes = std::vector<uint8_t>;

struct DeviceDesc {
    std::string path;
    uint16_t vendorId = 0x0483;
    uint16_t productId = 0x690E;
    std::wstring product, serial;
};

// No devices, no handles, nothing recorded.
void Reset();
void SetInitFails(bool fails);
int ExitCalls();

// Listed from now on.
void Plug(const DeviceDesc& desc);
// Unlisted; its open handles fail from now on (reads as a disconnect, writes
// with ENODEV).
void Unplug(const std::string& path);
// hid_open_path fails with this errno (0: opens again).
void SetOpenError(const std::string& path, int code);
// Only one handle at a time, as where the system opens devices exclusively.
void SetExclusive(const std::string& path, bool exclusive);
// Reads on the open handles fail with this errno from now on.
void FailReads(const std::string& path, int code);
// Writes report this many bytes fewer than asked (0: whole writes again).
void ShortWrites(const std::string& path, int bytes);
// One input report, taken by the next read on a handle of the device.
void Push(const std::string& path, const Bytes& report);
// Every report written is handed to this function (on the writer's thread,
// outside the fake's lock); the reports it returns are queued for reading.
using Responder = std::function<std::vector<Bytes>(const Bytes& written)>;
void Respond(const std::string& path, Responder responder);
// Every read returns this report at once (empty: stop).
void Stream(const std::string& path, const Bytes& report);

// Reports written to the device, in order.
std::vector<Bytes> Written(const std::string& path);
int OpenHandles();
// Successful hid_open_path calls for the path.
int Opens(const std::string& path);
// Reads now waiting inside hid_read_timeout on the device's handles.
int ReadsWaiting(const std::string& path);
// Reads that returned (data, time-out or error) on the device's handles.
int ReadsReturned(const std::string& path);
std::vector<std::string> Violations();

} // namespace fakehid
