#pragma once
// A fresh console (the main window of AppFixture, then TForm9 over an emulated
// HID bus, then TForm4) with one emulated unit plugged in. Time is stepped by calling the timer
// handlers; device answers are delivered with QCoreApplication::sendPostedEvents.

#include "emulator/EmulatorBackend.h"
#include "link/LinkWindow.h"
#include "tests/support/AppFixture.h"

#include <memory>
#include <vector>

class TForm4;

class LinkFixture : public AppFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the windows; the bus is prepared beforehand through backend.
    void StartConsole();

    // Queued events (HID reports, device changes) reach the handlers.
    static void Deliver();
    // Steps the link clock by ms in 25 ms ticks; a timer handler runs only
    // while its timer is active, as the real timers would.
    void Step(int ms);
    // From power-on to Online: device change, start sign, connect read.
    void ConnectUnit();

    // Command reports the unit received since the last ClearFrames (unmasked).
    std::vector<EmulatedDevice::Received> Frames() const;
    void ClearFrames();
    // Command frames with the given address field (bytes 4 and 5).
    std::vector<EmulatedDevice::Received> FramesTo(int address) const;

    // Delivers one input report as if the chosen device had sent it.
    void Inject(const std::vector<uint8_t>& frame);

    QStringList History() const;

    EmulatorBackend* backend = nullptr; // owned by the link window's HidCtl
    std::unique_ptr<EmulatorBackend> pendingBackend;
    EmulatedDevice* unit = nullptr;
    TForm1* form1 = nullptr;
    TForm9* form9 = nullptr;
    TForm4* form4 = nullptr;
    int clockMs = 0;
};

// A status reply as the unit sends it (checksum in the last byte).
std::vector<uint8_t> StatusFrame(uint16_t code, uint8_t left = 0, uint8_t right = 0,
                                 int volume = 0);
// A values reply: module, start index and values; length byte from the count.
std::vector<uint8_t> ValuesFrame(int module, int start, const std::vector<int>& values,
                                 int lengthOverride = -1);
