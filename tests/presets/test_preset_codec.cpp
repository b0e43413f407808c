// The preset text format: scrambling, line building, checks.
#include "presets/PresetCodec.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::string FileOf(const std::vector<std::string>& plain) {
    std::string out;
    for (const auto& l : plain)
        out += ScrambleLine(l) + "\r\n";
    return out;
}

struct SampleImage {
    PresetImage image{};
    SampleImage() {
        for (int m = 0; m < PresetModules; ++m)
            for (int s = 0; s < PresetSlots; ++s)
                image[m][s] = m * 1000 + s;
    }
};

} // namespace

TEST(PresetScramble, KnownLinesAndKeyWrap) {
    EXPECT_EQ(ScrambleLine("T4 26939"), "68957E35E4A178CF");
    EXPECT_EQ(ScrambleLine("Intoal: 138"), "75CF2A68B3F471D60D9266");
    EXPECT_EQ(ScrambleLine("CCCCK: 24"), "7FE21D4499A26BC408");
    EXPECT_EQ(UnscrambleLine("75cf2a68b3f471d60d9266"), "Intoal: 138");
    EXPECT_EQ(UnscrambleLine("75CF2A68B3F471D60D92663"), "Intoal: 138"); // odd digit ignored
    EXPECT_FALSE(UnscrambleLine("75CG"));
}

TEST(PresetScramble, SplitTextKeepsEmptyFields) {
    EXPECT_EQ(SplitText("Intoal: 138", ' '), (std::vector<std::string>{"Intoal:", "138"}));
    EXPECT_EQ(SplitText("a  b", ' '), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitText("x ", ' '), (std::vector<std::string>{"x", ""}));
    EXPECT_EQ(SplitText("", ' '), (std::vector<std::string>{""}));
}

TEST(PresetBuild, ChecksumExamples) {
    EXPECT_EQ(PresetChecksum(1000), 24);
    EXPECT_EQ(PresetChecksum(512), 0);
    EXPECT_EQ(PresetChecksum(0), 0);
    EXPECT_EQ(PresetChecksum(1), 255);
}

TEST(PresetBuild, FileLayoutIsByteExact) {
    PresetImage image{};
    image[1][0] = 1000; // the sum of all values is 1000
    const std::vector<std::string> plain = BuildPresetPlainLines(image, 0);
    ASSERT_EQ(plain.size(), 140u);
    EXPECT_EQ(plain[0], "T4 " + std::to_string(0x690E ^ 0x35));
    EXPECT_EQ(plain[1], "Vexol " + std::to_string(7 ^ 0x35));
    EXPECT_EQ(plain[2], std::to_string(256 ^ 2) + " " + std::to_string(1000 ^ 2));
    EXPECT_EQ(plain[68], std::to_string(512 ^ 68) + " " + std::to_string(68)); // module 2 slot 0
    EXPECT_EQ(plain[137], std::to_string((3 * 256 + 1) ^ 137) + " 137");
    EXPECT_EQ(plain[138], "Intoal: 138");
    EXPECT_EQ(plain[139], "CCCCK: 24");
    EXPECT_EQ(BuildPresetPlainLines(image, 1)[0], "T6 26939");

    const std::string file = BuildPresetFile(image, 0);
    EXPECT_EQ(file, FileOf(plain));
    EXPECT_EQ(file.substr(file.size() - 2), "\r\n");
    for (char c : file)
        EXPECT_TRUE(std::strchr("0123456789ABCDEF\r\n", c)) << c;
}

TEST(PresetCheck, RoundTripAndLowerCase) {
    SampleImage s;
    std::string file = BuildPresetFile(s.image, 1);
    for (std::string text : {file, [&] {
                                 std::string l = file;
                                 for (char& c : l)
                                     c = static_cast<char>(std::tolower(c));
                                 return l;
                             }()}) {
        const PresetContents c = CheckPresetFile(text);
        ASSERT_EQ(c.Status, PresetStatus::Ok) << c.Detail;
        EXPECT_EQ(c.VariantToken, "T6");
        ASSERT_EQ(c.Entries.size(), 136u);
        PresetImage back{};
        EXPECT_EQ(ApplyPresetEntries(c, 1, back), 136);
        for (int m = 1; m <= 3; ++m)
            for (int sl = 0; sl <= PresetSlotBound[m]; ++sl)
                EXPECT_EQ(back[m][sl], s.image[m][sl]);
        EXPECT_EQ(back[1][66], 0); // beyond the saved range
    }
}

TEST(PresetCheck, OtherVariantSkipsModuleTwo) {
    SampleImage s;
    const PresetContents c = CheckPresetFile(BuildPresetFile(s.image, 0));
    PresetImage back{};
    EXPECT_EQ(ApplyPresetEntries(c, 1, back), 66 + 2);
    EXPECT_EQ(back[1][5], s.image[1][5]);
    EXPECT_EQ(back[3][1], s.image[3][1]);
    EXPECT_EQ(back[2][5], 0);
}

TEST(PresetCheck, DamagedFilesAreRefused) {
    SampleImage s;
    std::vector<std::string> plain = BuildPresetPlainLines(s.image, 0);
    auto status = [](const std::vector<std::string>& p) {
        return CheckPresetFile(FileOf(p)).Status;
    };

    auto removed = plain;
    removed.erase(removed.begin() + 40);
    EXPECT_EQ(status(removed), PresetStatus::Corrupted);

    auto valueChanged = plain;
    valueChanged[10].back() = static_cast<char>(valueChanged[10].back() ^ 1);
    EXPECT_EQ(status(valueChanged), PresetStatus::Corrupted);

    EXPECT_EQ(CheckPresetFile(FileOf(plain) + "\r\n").Status, PresetStatus::Corrupted);

    auto wrongMask = plain;
    wrongMask[0] = "T4 " + std::to_string(0x690E ^ 0x36);
    EXPECT_EQ(status(wrongMask), PresetStatus::FormatError);
    auto wrongType = plain;
    wrongType[1] = "Vexol 7";
    EXPECT_EQ(status(wrongType), PresetStatus::FormatError);

    EXPECT_EQ(status({plain[0], plain[1]}), PresetStatus::Corrupted);
    EXPECT_EQ(status({plain[0], plain[1], "Intoal: 2"}), PresetStatus::Corrupted);
    EXPECT_EQ(status({plain[0]}), PresetStatus::FormatError);
    EXPECT_EQ(CheckPresetFile("").Status, PresetStatus::FormatError);
    EXPECT_EQ(status({plain[0], plain[1], "Intoal: 2", "CCCCK: 0"}), PresetStatus::Ok);

    // A key outside the image, with a checksum that matches.
    auto outside = std::vector<std::string>{
        plain[0], plain[1], std::to_string((4 * 256) ^ 2) + " " + std::to_string(0 ^ 2),
        "Intoal: 3", "CCCCK: 0"};
    EXPECT_EQ(status(outside), PresetStatus::Corrupted);
    outside[2] = std::to_string((1 * 256 + 113) ^ 2) + " 2";
    EXPECT_EQ(status(outside), PresetStatus::Corrupted);

    auto notNumber = plain;
    notNumber[20] = "12x 5";
    EXPECT_EQ(status(notNumber), PresetStatus::Corrupted);
    std::string badHex = FileOf(plain);
    badHex[badHex.find("\r\n", 200) - 1] = 'G';
    EXPECT_EQ(CheckPresetFile(badHex).Status, PresetStatus::Corrupted);
}

TEST(PresetNames, ExtensionIsReplacedCaseSensitively) {
    EXPECT_EQ(WithPresetExtension("/t/x.txt"), "/t/x.Nddt");
    EXPECT_EQ(WithPresetExtension("/t/tune.nddt"), "/t/tune.Nddt");
    EXPECT_EQ(WithPresetExtension("/t/x"), "/t/x.Nddt");
    EXPECT_EQ(WithPresetExtension("/t/x.Nddt"), "/t/x.Nddt");
    EXPECT_EQ(WithPresetExtension("/t.d/x"), "/t.d/x.Nddt");
    EXPECT_EQ(WithPresetExtension("a.b.txt"), "a.b.Nddt");
}
