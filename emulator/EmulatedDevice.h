#pragma once
// The audio unit as seen from the USB cable: a stand-in for the far end of the
// link protocol. It learns the link mask from the start sign, unmasks and
// checks every command report, keeps a parameter memory with a stored and a
// factory set, and answers like the unit does. It runs on its own clock so
// that late answers can be stepped without real time passing. Standard
// library only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class EmulatedDevice {
public:
    static constexpr int ReportSize = 30;
    static constexpr int ModuleCount = 4;
    static constexpr int SlotCount = 86;
    using Report = std::array<uint8_t, ReportSize>;
    using Memory = std::array<std::array<uint16_t, SlotCount>, ModuleCount>;

    // Reply codes of the status reply.
    static constexpr uint16_t CodeStatus = 2;
    static constexpr uint16_t CodeError = 6;
    static constexpr uint16_t CodeTextDone = 12;
    static constexpr uint16_t CodeRefused = 13;

    // One output report as it arrived, with bytes 2..7 unmasked.
    struct Received {
        Report bytes{};
        std::size_t length = 0; // bytes handed over (report ID included)
        bool checksumOk = false;
        bool accepted = false; // understood and acted upon
    };

    // Ways to misbehave; all off by default.
    struct Faults {
        bool silent = false;                // never answer
        int replyDelayMs = 0;               // hold every answer this long on the device clock
        int dropEvery = 0;                  // drop every n-th answer (0: none)
        bool corruptChecksum = false;       // send a wrong checksum byte
        bool foreignDeviceId = false;       // byte 1 of every answer is not the unit's identifier
        std::optional<uint16_t> forcedCode; // answer every status with this code (e.g. 6 or 13)
    };

    EmulatedDevice();

    // Program-start state: factory parameters in memory and stored set, no mask learnt.
    void Reset();

    // Power lost and back: the link mask is forgotten and answers not yet
    // sent are lost; the parameter memory stays.
    void PowerCycle();

    // One output report from the host (byte 0 = report ID).
    void Receive(const uint8_t* data, std::size_t length);

    // Advances the device clock; answers held for later become due.
    void AdvanceClock(int ms);
    int64_t Clock() const { return clockMs_; }

    // Answers whose time has come, oldest first; they leave the device.
    std::vector<Report> TakeDueReplies();
    // Answers produced but not yet due.
    std::size_t HeldReplies() const;

    Faults& Misbehave() { return faults_; }
    void Behave() { faults_ = Faults{}; }

    // Levels sent in status replies; without a fixed value they follow a
    // moving synthetic programme on the device clock.
    void SetFixedLevels(std::optional<std::pair<uint8_t, uint8_t>> levels) {
        fixedLevels_ = levels;
    }
    std::pair<uint8_t, uint8_t> CurrentLevels() const;

    // Parameter memory: the live set, the stored set, the factory set.
    Memory& Live() { return live_; }
    const Memory& Live() const { return live_; }
    Memory& Stored() { return stored_; }
    const Memory& Factory() const { return factory_; }
    uint16_t Param(int module, int index) const;

    bool Linked() const { return linked_; }
    const std::array<uint8_t, 6>& Mask() const { return mask_; }
    const std::vector<Received>& ReceivedFrames() const { return received_; }
    void ClearReceived() { received_.clear(); }
    // Texts received for the Bluetooth module (address 54).
    const std::vector<std::string>& BluetoothTexts() const { return bluetoothTexts_; }
    int StoreCount() const { return storeCount_; }
    int RecallCount() const { return recallCount_; }

    static uint8_t Checksum(const uint8_t* bytes, std::size_t count);
    static Memory FactorySet();

private:
    void HandleStartSign(const uint8_t* data, std::size_t length);
    void HandleCommand(const uint8_t* data, std::size_t length);
    void QueueStatus(uint16_t code);
    void QueueValues(int module, int start);
    void Queue(Report reply);

    struct Held {
        int64_t due = 0;
        Report bytes{};
    };

    Memory live_{}, stored_{}, factory_{};
    std::array<uint8_t, 6> mask_{};
    bool linked_ = false;
    Faults faults_;
    std::optional<std::pair<uint8_t, uint8_t>> fixedLevels_;
    int64_t clockMs_ = 0;
    int answerCount_ = 0;
    std::vector<Held> held_;
    std::vector<Received> received_;
    std::vector<std::string> bluetoothTexts_;
    int storeCount_ = 0;
    int recallCount_ = 0;
};
