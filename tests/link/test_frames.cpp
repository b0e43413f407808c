// Byte layout of the frames the console writes and of the replies it reads.
#include "link/Frames.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

const LinkMaskBytes Mask = MakeLinkMask(13, 45, 7, 0x1F3); // ms 499

uint8_t SumCheck(const Report& r) {
    unsigned s = 0;
    for (int i = 0; i < 29; ++i)
        s += r[i];
    return static_cast<uint8_t>(-s & 0xFF);
}

} // namespace

TEST(Frames, LinkMaskTakesLowBytesOfTheClockXoredWithTheDeviceId) {
    const LinkMaskBytes m = MakeLinkMask(13, 45, 7, 499);
    EXPECT_EQ(m[0], 13 ^ 0x57);
    EXPECT_EQ(m[1], 45 ^ 0x57);
    EXPECT_EQ(m[2], 7 ^ 0x57);
    // 499 = 0x1F3: every millisecond byte is its low byte.
    EXPECT_EQ(m[3], 0xF3 ^ 0x57);
    EXPECT_EQ(m[4], 0xF3 ^ 0x57);
    EXPECT_EQ(m[5], 0xF3 ^ 0x57);
}

TEST(Frames, ChecksumIsLowByteOfNegatedSum) {
    const uint8_t none[1] = {0};
    EXPECT_EQ(FrameChecksum(none, 0), 0);
    const uint8_t one[1] = {1};
    EXPECT_EQ(FrameChecksum(one, 1), 0xFF);
    const uint8_t many[3] = {0xFF, 0xFF, 0x03}; // sum 0x201
    EXPECT_EQ(FrameChecksum(many, 3), 0xFF);
}

TEST(Frames, CommandFrameByteForByteBeforeAndAfterMasking) {
    Report tx{};
    for (int i = 8; i < 29; ++i)
        tx[i] = static_cast<uint8_t>(0xC0 + i); // earlier buffer content
    const Report before = tx;
    std::string history;
    const Report wire = BuildCommand(tx, WriteMode, 0x0105, 300, Mask, &history);

    Report plain = wire;
    MaskReport(plain, Mask); // unmask
    const uint8_t head[8] = {0x01, 0x57, 0x06, 0xA7, 0x01, 0x05, 0x01, 0x2C};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(plain[i], head[i]) << "byte " << i;
    for (int i = 8; i < 29; ++i)
        EXPECT_EQ(plain[i], before[i]) << "spare byte " << i << " must keep earlier content";
    EXPECT_EQ(plain[29], SumCheck(plain));

    // Only bytes 2..7 differ on the wire.
    for (int i = 0; i < 30; ++i) {
        if (i >= 2 && i <= 7)
            EXPECT_EQ(wire[i], plain[i] ^ Mask[i - 2]);
        else
            EXPECT_EQ(wire[i], plain[i]);
    }
    EXPECT_EQ(history.rfind("WW 01  01 57 06 a7 01 05 01 2c c8 ", 0), 0u) << history;
    // 29 bytes of "xx " after the lead, no checksum.
    EXPECT_EQ(history.size(), std::string("WW 01  ").size() + 29 * 3);
}

TEST(Frames, NegativeValueIsSentAs00FF) {
    Report tx{};
    const LinkMaskBytes zero{};
    const Report r = BuildCommand(tx, WriteMode, 0x0105, -1, zero, nullptr);
    EXPECT_EQ(r[6], 0x00);
    EXPECT_EQ(r[7], 0xFF);
}

TEST(Frames, BulkPacketCarriesAll23PayloadBytesWithLength24) {
    Report tx{};
    for (int i = 0; i < 30; ++i)
        tx[i] = static_cast<uint8_t>(0x10 + i);
    const Report txBefore = tx;
    std::string history;
    Report r = BuildBulk(tx, WriteMode, BulkAddress, 20, Mask, &history);
    EXPECT_EQ(tx, txBefore) << "the bulk packet only reads the buffer";
    MaskReport(r, Mask);
    EXPECT_EQ(r[0], 0x01);
    EXPECT_EQ(r[1], 0x57);
    EXPECT_EQ(r[2], 24);
    EXPECT_EQ(r[3], 0xA7);
    EXPECT_EQ(r[4], 0x00);
    EXPECT_EQ(r[5], 56);
    for (int i = 0; i < 23; ++i)
        EXPECT_EQ(r[6 + i], tx[i]) << "payload byte " << i;
    EXPECT_EQ(r[29], SumCheck(r));
    // "W 01  " then bytes 1..24.
    EXPECT_EQ(history.rfind("W 01  57 18 a7 00 38 10 11 ", 0), 0u) << history;
    EXPECT_EQ(history.size(), std::string("W 01  ").size() + 24 * 3);
}

TEST(Frames, StartSignLayout) {
    const Report r = BuildStartSign(1, DeviceId, Mask);
    EXPECT_EQ(r[0], 0x02);
    EXPECT_EQ(r[1], 0x01);
    EXPECT_EQ(r[2], 0x57);
    EXPECT_EQ(r[3], 0x07);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(r[4 + i], Mask[i]);
        EXPECT_EQ(r[10 + i], Mask[i] ^ 0xC6 ^ i);
    }
    for (int i = 16; i < 30; ++i)
        EXPECT_EQ(r[i], 0) << "byte " << i;
}

TEST(Frames, HexTextIsUpperCaseWithSingleBlanks) {
    const uint8_t b[3] = {0x01, 0xab, 0x00};
    EXPECT_EQ(HexText(b, 3), "01 AB 00");
    EXPECT_EQ(HexText(b, 0), "");
}

TEST(Frames, ReplyViewReadsFieldsAndRefusesShortFrames) {
    uint8_t f[30]{0x01, 0x57, 26, 0xA7, 0x00, 0xFF, 0x00, 0x02};
    f[29] = FrameChecksum(f, 29);
    const ReplyView v = ViewReply(f, 30);
    ASSERT_TRUE(v.ok);
    EXPECT_EQ(v.deviceId, 0x57);
    EXPECT_EQ(v.length, 26);
    EXPECT_EQ(v.addrHigh, 0);
    EXPECT_EQ(v.addrLow, 255);
    EXPECT_EQ(v.code, 2);
    EXPECT_EQ(v.expectedChecksum, v.receivedChecksum);
    EXPECT_FALSE(ViewReply(f, 7).ok);
    EXPECT_FALSE(ViewReply(nullptr, 30).ok);
    // A report length other than 30: the checksum is the last byte received.
    uint8_t g[10]{0x01, 0x57, 6, 0xA7, 0x00, 0xFF, 0x00, 0x02, 0x00};
    g[9] = FrameChecksum(g, 9);
    EXPECT_EQ(ViewReply(g, 10).expectedChecksum, ViewReply(g, 10).receivedChecksum);
}
