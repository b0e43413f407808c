// The emulated unit's side of the protocol, byte for byte. Frames are built
// here by hand (not with the console's frame builders) so that a fault on
// either side shows up as a disagreement.
#include "emulator/EmulatedDevice.h"
#include "link/Frames.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using Bytes = std::array<uint8_t, 30>;
const std::array<uint8_t, 6> kMask = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};

uint8_t Sum(const uint8_t* b, int n) {
    unsigned s = 0;
    for (int i = 0; i < n; ++i) {
        s += b[i];
    }
    return static_cast<uint8_t>(-s);
}

Bytes StartSign(const std::array<uint8_t, 6>& mask, bool goodCheck = true) {
    Bytes b{};
    b[0] = 0x02;
    b[1] = 1;
    b[2] = 0x57;
    b[3] = 7;
    for (int i = 0; i < 6; ++i) {
        b[4 + i] = mask[i];
        b[10 + i] = static_cast<uint8_t>(mask[i] ^ 0xC6 ^ i);
    }
    if (!goodCheck) {
        b[13] ^= 0x01;
    }
    return b;
}

// As the console puts a report on the wire: checksum over the plain bytes,
// then bytes 2..7 masked.
Bytes Seal(Bytes b, const std::array<uint8_t, 6>& mask = kMask) {
    b[29] = Sum(b.data(), 29);
    for (int i = 0; i < 6; ++i) {
        b[2 + i] ^= mask[i];
    }
    return b;
}

// A command report on the wire.
Bytes Command(int mode, int address, int value, const std::array<uint8_t, 6>& mask = kMask) {
    Bytes b{};
    b[0] = 0x01;
    b[1] = 0x57;
    b[2] = 6;
    b[3] = static_cast<uint8_t>(mode);
    b[4] = static_cast<uint8_t>(address >> 8);
    b[5] = static_cast<uint8_t>(address);
    b[6] = static_cast<uint8_t>(value >> 8);
    b[7] = static_cast<uint8_t>(value);
    return Seal(b, mask);
}

Bytes Bulk(int module, int start, const std::vector<uint16_t>& values) {
    Bytes b{};
    b[0] = 0x01;
    b[1] = 0x57;
    b[2] = 24;
    b[3] = 0xA7;
    b[4] = 0;
    b[5] = 56;
    b[6] = static_cast<uint8_t>(module);
    b[7] = static_cast<uint8_t>(start);
    for (std::size_t i = 0; i < values.size() && i < 10; ++i) {
        b[8 + 2 * i] = static_cast<uint8_t>(values[i] >> 8);
        b[9 + 2 * i] = static_cast<uint8_t>(values[i]);
    }
    return Seal(b);
}

class EmulatedDeviceTest : public ::testing::Test {
protected:
    void Send(const Bytes& b) { dev.Receive(b.data(), b.size()); }
    void Link() {
        Send(StartSign(kMask));
        ASSERT_EQ(dev.TakeDueReplies().size(), 1u);
    }
    std::vector<EmulatedDevice::Report> Replies() { return dev.TakeDueReplies(); }
    static uint16_t Code(const EmulatedDevice::Report& r) {
        return static_cast<uint16_t>(r[6] << 8 | r[7]);
    }
    static void ExpectValidStatus(const EmulatedDevice::Report& r, uint16_t code) {
        EXPECT_EQ(r[0], 0x01);
        EXPECT_EQ(r[1], 0x57);
        EXPECT_EQ(r[4], 0x00);
        EXPECT_EQ(r[5], 0xFF);
        EXPECT_EQ(Code(r), code);
        EXPECT_EQ(r[29], Sum(r.data(), 29));
    }
    EmulatedDevice dev;
};

// --- Start sign ---------------------------------------------------------

TEST_F(EmulatedDeviceTest, StartSignTeachesMaskAndIsAnsweredWithStatusAndVolume) {
    Send(StartSign(kMask));
    EXPECT_TRUE(dev.Linked());
    EXPECT_EQ(dev.Mask(), kMask);
    const auto replies = Replies();
    ASSERT_EQ(replies.size(), 1u);
    ExpectValidStatus(replies[0], 2);
    // Volume of the factory set, 800, high byte first in bytes 17 and 18.
    EXPECT_EQ(replies[0][17], 0x03);
    EXPECT_EQ(replies[0][18], 0x20);
}

TEST_F(EmulatedDeviceTest, StartSignWithWrongCheckBytesIsRefusedAndNothingLearnt) {
    Send(StartSign(kMask, false));
    EXPECT_FALSE(dev.Linked());
    EXPECT_TRUE(Replies().empty());
    ASSERT_EQ(dev.ReceivedFrames().size(), 1u);
    EXPECT_FALSE(dev.ReceivedFrames()[0].accepted);
    // Commands are not acted upon without a learnt mask.
    Send(Command(0xA7, 58, 0x66));
    EXPECT_TRUE(Replies().empty());
}

TEST_F(EmulatedDeviceTest, ConsoleStartSignAndCommandsAreUnderstood) {
    const LinkMaskBytes mask = MakeLinkMask(13, 45, 7, 321);
    const Report sign = BuildStartSign(1, DeviceId, mask);
    dev.Receive(sign.data(), sign.size());
    ASSERT_TRUE(dev.Linked());
    Replies();
    Report tx{};
    std::string history;
    const Report cmd = BuildCommand(tx, WriteMode, 0x0105, 300, mask, &history);
    dev.Receive(cmd.data(), cmd.size());
    EXPECT_EQ(dev.Param(1, 5), 300);
    ASSERT_EQ(Replies().size(), 1u);
}

// --- Unmasking and checksums -----------------------------------------------

TEST_F(EmulatedDeviceTest, RecordsUnmaskedFrames) {
    Link();
    Send(Command(0xA7, 0x0105, 300));
    const auto& rec = dev.ReceivedFrames().back();
    EXPECT_TRUE(rec.checksumOk);
    EXPECT_TRUE(rec.accepted);
    const uint8_t plain[8] = {0x01, 0x57, 0x06, 0xA7, 0x01, 0x05, 0x01, 0x2C};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(rec.bytes[i], plain[i]) << "byte " << i;
    }
    EXPECT_EQ(dev.Param(1, 5), 300);
}

TEST_F(EmulatedDeviceTest, CommandWithWrongChecksumIsIgnored) {
    Link();
    Bytes b = Command(0xA7, 0x0105, 300);
    b[29] ^= 0x01;
    Send(b);
    EXPECT_FALSE(dev.ReceivedFrames().back().checksumOk);
    EXPECT_NE(dev.Param(1, 5), 300);
    EXPECT_TRUE(Replies().empty());
}

TEST_F(EmulatedDeviceTest, CommandMaskedWithAnotherMaskFailsItsChecksum) {
    Link();
    Send(Command(0xA7, 0x0105, 300, {1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(dev.ReceivedFrames().back().accepted);
    EXPECT_TRUE(Replies().empty());
}

TEST_F(EmulatedDeviceTest, ShortReportIsRecordedButNotActedUpon) {
    Link();
    const Bytes b = Command(0xA7, 0x0105, 300);
    dev.Receive(b.data(), 20);
    EXPECT_FALSE(dev.ReceivedFrames().back().accepted);
    EXPECT_TRUE(Replies().empty());
}

// --- Reads, bulk, signals -------------------------------------------------

TEST_F(EmulatedDeviceTest, ReadOf0x13CAnswersTenValuesOfModule1From60) {
    Link();
    dev.Live()[1][60] = 0x1234;
    dev.Live()[1][64] = 0xFFFF;
    Send(Command(0xA0, 57, 0x13C));
    const auto replies = Replies();
    ASSERT_EQ(replies.size(), 1u);
    const auto& r = replies[0];
    EXPECT_EQ(r[1], 0x57);
    EXPECT_EQ(r[2], 26); // ten values
    EXPECT_EQ(r[4], 0x00);
    EXPECT_EQ(r[5], 57);
    EXPECT_EQ(r[6], 1);
    EXPECT_EQ(r[7], 60);
    EXPECT_EQ(r[8], 0x12);
    EXPECT_EQ(r[9], 0x34);
    EXPECT_EQ(r[16], 0xFF);
    EXPECT_EQ(r[17], 0xFF);
    EXPECT_EQ(r[29], Sum(r.data(), 29));
}

TEST_F(EmulatedDeviceTest, ReadBeyondTheMemoryGivesZerosInsteadOfForeignBytes) {
    Link();
    Send(Command(0xA0, 57, 0x050)); // module 0 index 80: slots 86.. do not exist
    auto r = Replies().at(0);
    for (int j = 6; j < 10; ++j) {
        EXPECT_EQ(r[8 + 2 * j], 0);
        EXPECT_EQ(r[9 + 2 * j], 0);
    }
    Send(Command(0xA0, 57, 0x900)); // no module 9
    r = Replies().at(0);
    EXPECT_EQ(r[6], 9);
    for (int i = 8; i < 28; ++i) {
        EXPECT_EQ(r[i], 0);
    }
}

TEST_F(EmulatedDeviceTest, VersionSlotsReadBackAs123MainVariant) {
    Link();
    Send(Command(0xA0, 57, 0));
    const auto r = Replies().at(0);
    EXPECT_EQ(r[8 + 2 * 1 + 1], 1); // (0,1) low byte: 1 and variant 1
    EXPECT_EQ(r[8 + 2 * 4 + 1], 2);
    EXPECT_EQ(r[8 + 2 * 6 + 1], 3);
}

TEST_F(EmulatedDeviceTest, BulkPacketIsStoredAndAcknowledged) {
    Link();
    Send(Bulk(2, 80, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(dev.Param(2, 80), 1);
    EXPECT_EQ(dev.Param(2, 85), 6);
    ASSERT_EQ(Replies().size(), 1u);
    // Values past index 85 went nowhere (and hurt nothing).
    EXPECT_EQ(dev.Param(3, 0), EmulatedDevice::FactorySet()[3][0]);
}

TEST_F(EmulatedDeviceTest, SignalsAreAnsweredWithStatus) {
    Link();
    for (int code : {0x22, 0x33, 0x66}) {
        Send(Command(0xA7, 58, code));
        const auto replies = Replies();
        ASSERT_EQ(replies.size(), 1u) << code;
        ExpectValidStatus(replies[0], 2);
    }
    Send(Command(0xA7, 58, 0x44));
    EXPECT_TRUE(Replies().empty());
}

TEST_F(EmulatedDeviceTest, LevelsFollowTheProgrammeOrTheFixedValues) {
    Link();
    Send(Command(0xA7, 58, 0x66));
    const auto first = Replies().at(0);
    dev.AdvanceClock(400);
    Send(Command(0xA7, 58, 0x66));
    const auto later = Replies().at(0);
    EXPECT_TRUE(first[8] != later[8] || first[9] != later[9]);
    dev.SetFixedLevels(std::make_pair<uint8_t, uint8_t>(64, 0));
    Send(Command(0xA7, 58, 0x66));
    const auto fixed = Replies().at(0);
    EXPECT_EQ(fixed[8], 64);
    EXPECT_EQ(fixed[9], 0);
}

// --- Device memory ------------------------------------------------------

TEST_F(EmulatedDeviceTest, StoreRecallAndFactoryRecall) {
    Link();
    Send(Command(0xA7, 0x0115, 200)); // (1,21)
    Send(Command(0xA7, 13, 0));       // store
    Send(Command(0xA7, 0x0115, 300));
    ASSERT_EQ(Replies().size(), 3u);
    EXPECT_EQ(dev.Param(1, 21), 300);
    Send(Command(0xA7, 12, 0)); // recall stored
    ExpectValidStatus(Replies().at(0), 2);
    EXPECT_EQ(dev.Param(1, 21), 200);
    Send(Command(0xA7, 12, 85)); // recall factory
    ExpectValidStatus(Replies().at(0), 2);
    EXPECT_EQ(dev.Param(1, 21), EmulatedDevice::FactorySet()[1][21]);
    EXPECT_EQ(dev.StoreCount(), 1);
    EXPECT_EQ(dev.RecallCount(), 2);
}

// A Bluetooth text packet: 0x20, the count byte as given, the text.
Bytes BluetoothPacket(uint8_t count, const std::string& text) {
    Bytes b{};
    b[0] = 0x01;
    b[1] = 0x57;
    b[2] = 24;
    b[3] = 0xA7;
    b[5] = 54;
    b[6] = 0x20;
    b[7] = count;
    for (std::size_t i = 0; i < text.size() && 8 + i < 29; ++i) {
        b[8 + i] = static_cast<uint8_t>(text[i]);
    }
    return Seal(b);
}

TEST_F(EmulatedDeviceTest, BluetoothTextIsAnsweredWithCode12) {
    Link();
    Send(BluetoothPacket(5, "NA+AB"));
    ASSERT_EQ(dev.BluetoothTexts().size(), 1u);
    EXPECT_EQ(dev.BluetoothTexts()[0], "NA+AB");
    ExpectValidStatus(Replies().at(0), 12);
}

TEST_F(EmulatedDeviceTest, BluetoothCountLargerThanTheFrameIsCutAtTheFrame) {
    Link();
    Send(BluetoothPacket(200, std::string(21, 'x')));
    ASSERT_EQ(dev.BluetoothTexts().size(), 1u);
    EXPECT_EQ(dev.BluetoothTexts()[0], std::string(21, 'x'));
}

// --- Misbehaviour -------------------------------------------------------

TEST_F(EmulatedDeviceTest, SilentDeviceStillStoresButNeverAnswers) {
    Link();
    dev.Misbehave().silent = true;
    Send(Command(0xA7, 0x0105, 300));
    EXPECT_EQ(dev.Param(1, 5), 300);
    EXPECT_TRUE(Replies().empty());
    EXPECT_EQ(dev.HeldReplies(), 0u);
}

TEST_F(EmulatedDeviceTest, LateAnswerIsHeldUntilTheClockReachesIt) {
    Link();
    dev.Misbehave().replyDelayMs = 600;
    Send(Command(0xA7, 58, 0x66));
    EXPECT_TRUE(Replies().empty());
    dev.AdvanceClock(599);
    EXPECT_TRUE(Replies().empty());
    dev.AdvanceClock(1);
    EXPECT_EQ(Replies().size(), 1u);
}

TEST_F(EmulatedDeviceTest, DropsEveryThirdAnswer) {
    Link(); // answer 1
    dev.Misbehave().dropEvery = 3;
    int answered = 0;
    for (int i = 0; i < 6; ++i) { // answers 2..7: 3 and 6 dropped
        Send(Command(0xA7, 58, 0x66));
        answered += static_cast<int>(Replies().size());
    }
    EXPECT_EQ(answered, 4);
}

TEST_F(EmulatedDeviceTest, CorruptChecksumAndForeignIdentifier) {
    Link();
    dev.Misbehave().corruptChecksum = true;
    Send(Command(0xA7, 58, 0x66));
    auto r = Replies().at(0);
    EXPECT_NE(r[29], Sum(r.data(), 29));
    dev.Behave();
    dev.Misbehave().foreignDeviceId = true;
    Send(Command(0xA7, 58, 0x66));
    r = Replies().at(0);
    EXPECT_NE(r[1], 0x57);
    EXPECT_EQ(r[29], Sum(r.data(), 29));
}

TEST_F(EmulatedDeviceTest, ForcedErrorAndRefusalCodes) {
    Link();
    dev.Misbehave().forcedCode = 6;
    Send(Command(0xA7, 58, 0x66));
    ExpectValidStatus(Replies().at(0), 6);
    dev.Misbehave().forcedCode = 13;
    Send(Command(0xA7, 0x0105, 1));
    ExpectValidStatus(Replies().at(0), 13);
}

TEST_F(EmulatedDeviceTest, PowerCycleForgetsTheMaskAndKeepsTheMemory) {
    Link();
    Send(Command(0xA7, 0x0105, 300));
    dev.Misbehave().replyDelayMs = 100;
    Send(Command(0xA7, 58, 0x66));
    dev.PowerCycle();
    EXPECT_FALSE(dev.Linked());
    EXPECT_EQ(dev.HeldReplies(), 0u);
    EXPECT_EQ(dev.Param(1, 5), 300);
}

} // namespace
