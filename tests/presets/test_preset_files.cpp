// Saving and loading presets through the console's windows, and the nddt tool.
#include "app/MainWindow.h"
#include "app/WindowState.h"
#include "eq/EqGraph.h"
#include "eq/PeqImport.h"
#include "params/ParamImage.h"
#include "presets/PresetCodec.h"
#include "presets/PresetFiles.h"
#include "tests/support/LinkFixture.h"
#include "tests/support/RunProgram.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <cstring>

#include <sys/stat.h>

namespace {

using Image = int32_t[ModuleCount][DeviceSlots];

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const std::string& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

class PresetFiles_ : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        ResetPresetFileState();
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    void Snapshot() { std::memcpy(before, Params.DeviceImage, sizeof before); }
    bool Unchanged() const { return std::memcmp(before, Params.DeviceImage, sizeof before) == 0; }
    void Load(const QString& path) {
        dialogs->fileNames.push_back(path);
        LoadPreset();
    }
    QStringList Notices() const { return dialogs->texts(DialogRecord::Notify); }
    QTemporaryDir dir;
    Image before{};
};

} // namespace

TEST_F(PresetFiles_, SaveWritesTheCodecBytesAndRenames) {
    StartConsole();
    Params.DeviceImage[1][7] = 1;
    dialogs->fileNames = {Path("x.txt"), Path("tune.nddt")};
    SavePreset();
    SavePreset();
    const std::string expected = BuildPresetFile(Params.DeviceImage, Params.VariantFlag);
    EXPECT_EQ(ReadAll(Path("x.Nddt")).toStdString(), expected);
    EXPECT_EQ(ReadAll(Path("tune.Nddt")).toStdString(), expected);
    EXPECT_FALSE(QFile::exists(Path("x.txt")));
    ASSERT_EQ(dialogs->records.size(), 4u);
    EXPECT_EQ(dialogs->records[0].text, "Nddt (*.Nddt)");
    EXPECT_EQ(dialogs->records[1].caption, "information");
    EXPECT_EQ(dialogs->records[1].text, " 预设成功保存在" + Path("x.Nddt"));
    EXPECT_EQ(PresetFiles.Lines.size(), 140);

    dialogs->records.clear();
    SavePreset(); // cancelled
    EXPECT_TRUE(Notices().isEmpty());
}

TEST_F(PresetFiles_, FailedSaveKeepsWhatWasThere) {
    StartConsole();
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.Nddt"));
    WriteAll(Path("taken.Nddt/inner"), "keep");
    WriteAll(Path("plainfile"), "keep");
    dialogs->fileNames = {Path("taken.Nddt"), Path("plainfile/sub.Nddt")};
    SavePreset();
    SavePreset();
    ASSERT_EQ(Notices().size(), 2);
    for (const QString& n : Notices()) {
        EXPECT_TRUE(n.startsWith("预设保存失败")) << n.toStdString();
        EXPECT_FALSE(n.contains("预设成功保存在"));
    }
    EXPECT_EQ(ReadAll(Path("taken.Nddt/inner")), "keep");
    EXPECT_EQ(ReadAll(Path("plainfile")), "keep");
}

TEST_F(PresetFiles_, RoundTripOfflineStoresWithoutUpload) {
    StartConsole();
    Params.DeviceImage[1][30] = 12; // band 3: high shelf, bypassed
    Params.DeviceImage[2][66] = 300;
    Params.DeviceImage[3][1] = 9;
    Snapshot();
    dialogs->fileNames = {Path("a.Nddt")};
    SavePreset();
    Params.DeviceImage[1][30] = 0;
    Params.DeviceImage[2][66] = 0;
    Params.DeviceImage[3][1] = 0;
    dialogs->records.clear();
    ClearFrames();
    // Before any contact the two-state buttons hold 2, which no button sets:
    // the load asks, and Yes takes the file.
    dialogs->answers = {true};
    Load(Path("a.Nddt"));
    EXPECT_EQ(dialogs->texts(DialogRecord::Ask).size(), 1);
    EXPECT_TRUE(Notices().isEmpty());
    EXPECT_TRUE(PresetFiles.PresetOk);
    EXPECT_TRUE(Unchanged());
    Deliver();
    EXPECT_TRUE(FramesTo(56).empty());
}

TEST_F(PresetFiles_, RoundTripOnlineUploadsTheImage) {
    ConnectUnit();
    ASSERT_EQ(form9->Session->LinkState, Online);
    Params.DeviceImage[1][30] = 13;
    dialogs->fileNames = {Path("b.Nddt")};
    SavePreset();
    Params.DeviceImage[1][30] = 4;
    ClearFrames();
    Load(Path("b.Nddt"));
    EXPECT_TRUE(dialogs->texts(DialogRecord::Ask).isEmpty()); // picked, every value in range
    EXPECT_EQ(Params.DeviceImage[1][30], 13);
    Step(3000);
    EXPECT_EQ(form9->Session->LinkState, Online);
    EXPECT_EQ(unit->Live()[1][30], 13);
    EXPECT_EQ(FramesTo(56).size(), 7u + 7u + 1u);
}

TEST_F(PresetFiles_, OtherVariantSkipsModuleTwo) {
    StartConsole();
    PresetImage img{};
    img[1][3] = 1;
    img[2][3] = 55;
    img[3][0] = 8;
    WriteAll(Path("t4.Nddt"), BuildPresetFile(img, 0));
    Params.VariantFlag = 1;
    Params.DeviceImage[2][3] = 99;
    dialogs->answers = {true}; // zeros where no control goes: asked, and taken
    Load(Path("t4.Nddt"));
    EXPECT_TRUE(PresetFiles.PresetOk);
    EXPECT_EQ(Params.DeviceImage[1][3], 1);
    EXPECT_EQ(Params.DeviceImage[3][0], 8);
    EXPECT_EQ(Params.DeviceImage[2][3], 99);
}

TEST_F(PresetFiles_, EveryBadFileGivesOneMessageAndChangesNothing) {
    StartConsole();
    PresetImage img{};
    for (int s = 0; s < 60; ++s)
        img[1][s] = s + 40;
    std::vector<std::string> plain = BuildPresetPlainLines(img, 0);
    auto fileOf = [](const std::vector<std::string>& p) {
        std::string out;
        for (const auto& l : p)
            out += ScrambleLine(l) + "\r\n";
        return out;
    };
    auto changed = plain;
    changed[12].back() = static_cast<char>(changed[12].back() ^ 1);
    auto removed = plain;
    removed.erase(removed.begin() + 50);
    auto mask = plain;
    mask[0] = "T4 " + std::to_string(0x690E ^ 0x34);
    const std::vector<std::string> outside = {plain[0], plain[1], std::to_string(0x470 ^ 2) + " 2",
                                              "Intoal: 3", "CCCCK: 0"};
    struct Case {
        const char* name;
        std::string bytes;
        QString message;
    };
    const QString corrupted = "数据文件损坏!";
    const QString format = "文件格式错误!";
    const std::vector<Case> cases = {
        {"digit", fileOf(changed), corrupted},
        {"removed", fileOf(removed), corrupted},
        {"trailing", fileOf(plain) + "\r\n", corrupted},
        {"mask", fileOf(mask), format},
        {"twolines", fileOf({plain[0], plain[1]}), corrupted},
        {"outside", fileOf(outside), corrupted},
        {"oneline", fileOf({plain[0]}), format},
        {"empty", "", format},
    };
    Snapshot();
    for (const Case& c : cases) {
        dialogs->records.clear();
        WriteAll(Path(c.name), c.bytes);
        Load(Path(c.name));
        EXPECT_EQ(Notices(), QStringList{c.message}) << c.name;
        EXPECT_FALSE(PresetFiles.PresetOk) << c.name;
        EXPECT_TRUE(Unchanged()) << c.name;
    }
    dialogs->records.clear();
    Load(Path("missing.Nddt"));
    EXPECT_EQ(Notices(), QStringList{"文件不存在"});
    Window.LanguageFlag = 0;
    dialogs->records.clear();
    Load(Path("missing.Nddt"));
    Load(Path("mask"));
    EXPECT_EQ(Notices(), (QStringList{"File not find!", "File format error!"}));
    EXPECT_TRUE(Unchanged());

    // The four-line file and lower-case digits are accepted.
    dialogs->records.clear();
    WriteAll(Path("four"), fileOf({plain[0], plain[1], "Intoal: 2", "CCCCK: 0"}));
    Load(Path("four"));
    EXPECT_TRUE(PresetFiles.PresetOk);
    EXPECT_TRUE(Unchanged());
    std::string lower = fileOf(plain);
    for (char& ch : lower)
        ch = static_cast<char>(std::tolower(ch));
    WriteAll(Path("lower"), lower);
    dialogs->answers = {true}; // values outside their ranges: asked, and taken
    Load(Path("lower"));
    EXPECT_TRUE(PresetFiles.PresetOk);
    EXPECT_EQ(Params.DeviceImage[1][59], 99);
    EXPECT_TRUE(Notices().isEmpty());
}

// ---- what a file may hand the console ----

namespace {
// A file right in header, count and checksum, holding the given lines.
std::string Crafted(const std::vector<std::array<int32_t, 3>>& entries) {
    std::vector<std::string> p = {"T4 " + std::to_string(0x690E ^ 0x35),
                                  "Vexol " + std::to_string(7 ^ 0x35)};
    uint32_t sum = 0;
    for (const auto& [m, slot, v] : entries) {
        const int32_t l = static_cast<int32_t>(p.size());
        p.push_back(std::to_string((m * 256 + slot) ^ l) + " " + std::to_string(v ^ l));
        sum += static_cast<uint32_t>(v);
    }
    p.push_back("Intoal: " + std::to_string(p.size()));
    p.push_back("CCCCK: " + std::to_string(PresetChecksum(static_cast<int32_t>(sum))));
    std::string out;
    for (const auto& line : p)
        out += ScrambleLine(line) + "\r\n";
    return out;
}
} // namespace

// Devices, FIFOs, huge files, values no slot holds and slots no preset
// carries: refused with the file and the reason named, nothing stored or sent,
// and no hang (a FIFO without a writer would block a plain open for ever).
TEST_F(PresetFiles_, FilesThatCannotBePresetsAreRefusedWithoutHanging) {
    ConnectUnit();
    ASSERT_EQ(mkfifo(Path("fifo").toLocal8Bit().constData(), 0600), 0);
    WriteAll(Path("big"), std::string(64 * 1024 + 1, 'A'));
    WriteAll(Path("gain"), Crafted({{1, 20, 300}, {1, 22, 70000}}));
    WriteAll(Path("negative"), Crafted({{1, 40, -256}}));
    WriteAll(Path("slot66"), Crafted({{1, 66, 1234}}));
    WriteAll(Path("module3"), Crafted({{3, 1, 0}, {3, 5, 777}}));
    const QString unreadable = "无法读取文件", corrupted = "数据文件损坏!";
    const std::vector<std::array<QString, 3>> cases = {
        {Path("fifo"), unreadable, "not a regular file"},
        {"/dev/zero", unreadable, "not a regular file"},
        {Path("big"), unreadable, "too large: more than 65536 bytes"},
        {Path("gain"), corrupted, "value outside 0 to 65535 at line 4"},
        {Path("negative"), corrupted, "value outside 0 to 65535 at line 3"},
        {Path("slot66"), corrupted, "parameter outside the preset's layout at line 3"},
        {Path("module3"), corrupted, "parameter outside the preset's layout at line 4"},
        {Path("none"), "文件不存在", "No such file or directory"},
    };
    Step(500);
    Snapshot();
    ClearFrames();
    for (const auto& [file, text, why] : cases) {
        dialogs->records.clear();
        Load(file);
        ASSERT_EQ(dialogs->records.size(), 2u) << file.toStdString(); // file dialog, one notice
        EXPECT_EQ(dialogs->records[1].text, text);
        EXPECT_EQ(dialogs->records[1].detail, file + ": " + why);
        EXPECT_TRUE(Unchanged());
    }
    Step(500);
    EXPECT_TRUE(FramesTo(56).empty()); // no bulk packet: nothing uploaded

    // A value that fits a slot but not its parameter (a unit may hold it) is
    // named, and written only on a Yes; No is the default.
    PresetImage image{};
    std::memcpy(image, Params.DeviceImage, sizeof image);
    image[1][22] = 255;
    WriteAll(Path("wild"), BuildPresetFile(image, Params.VariantFlag));
    for (const bool yes : {false, true}) {
        dialogs->records.clear();
        dialogs->answers = {yes};
        Load(Path("wild"));
        EXPECT_EQ(dialogs->texts(DialogRecord::Ask),
                  QStringList{Path("wild") + "\n以下参数值超出范围:\n频段 1 增益 (1:22) = 255\n仍然写入设备?"});
        EXPECT_TRUE(dialogs->records.back().answer == DefaultAnswer::No);
        Step(3000);
        EXPECT_EQ(FramesTo(56).empty(), !yes);
        EXPECT_EQ(unit->Live()[1][22] == 255, yes);
    }

    // The filter import reads the same way: /dev/zero and a FIFO are refused.
    for (const QString& f : {QStringLiteral("/dev/zero"), Path("fifo")}) {
        dialogs->records.clear();
        dialogs->fileNames = {f};
        PeqImportBtnClick(nullptr);
        EXPECT_TRUE(dialogs->texts(DialogRecord::Notify).value(0).contains("not a regular file"));
    }
}

// The checksum log keeps its latest lines only, and a load leaves it alone.
TEST_F(PresetFiles_, ChecksumLogIsBoundedAndApartFromThePresetLines) {
    ConnectUnit();
    std::vector<uint8_t> bad = StatusFrame(1);
    bad.back() ^= 0xFF;
    for (int i = 0; i < ChecksumLogLines / 3 + 10; ++i)
        Inject(bad);
    EXPECT_EQ(form1->Memo1->blockCount(), ChecksumLogLines);
    const QString log = form1->Memo1->toPlainText();
    dialogs->fileNames = {Path("c.Nddt")};
    SavePreset();
    Load(Path("c.Nddt"));
    EXPECT_EQ(PresetFiles.Lines.size(), 140);
    EXPECT_EQ(form1->Memo1->toPlainText(), log);
}

// ---- nddt ----

namespace {
using NddtRun = ProgramRun;
NddtRun Nddt(const QStringList& args, const QByteArray& input = {}) {
    return RunProgram(QStringLiteral(NDDT_BINARY), args, input);
}
} // namespace

TEST_F(PresetFiles_, NddtDecodeEncodeReproducesTheConsoleFile) {
    StartConsole();
    Params.DeviceImage[1][20] = 65535;
    Params.DeviceImage[2][40] = 40000;
    Params.VariantFlag = 1;
    dialogs->fileNames = {Path("c.Nddt")};
    SavePreset();
    const QByteArray saved = ReadAll(Path("c.Nddt"));
    const NddtRun dec = Nddt({"decode", Path("c.Nddt")});
    ASSERT_EQ(dec.code, 0) << dec.err.toStdString();
    EXPECT_EQ(dec.out.count('\n'), 136);
    EXPECT_TRUE(dec.out.startsWith("1 0 2\n"));
    EXPECT_TRUE(dec.out.contains("\n1 20 65535\n"));
    const NddtRun var = Nddt({"decode", "--variant", Path("c.Nddt")});
    EXPECT_EQ(var.out, "T6\n");
    const NddtRun enc = Nddt({"encode", "--variant", "T6"}, dec.out);
    ASSERT_EQ(enc.code, 0);
    EXPECT_EQ(enc.out, saved);
}

TEST_F(PresetFiles_, NddtRefusesBadInput) {
    WriteAll(Path("bad"), "0000\r\n");
    NddtRun r = Nddt({"decode", Path("bad")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, "nddt: " + Path("bad").toUtf8() + ": File format error! (header does not match)\n");
    r = Nddt({"decode", Path("nothere")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "nddt: " + Path("nothere").toUtf8() + ": No such file or directory\n");
    r = Nddt({"encode"}, "1 66 3\n");
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    r = Nddt({"encode"}, "2 67 3\n3 1 4\n");
    EXPECT_EQ(r.code, 0);
    PresetImage img{};
    img[2][67] = 3;
    img[3][1] = 4;
    EXPECT_EQ(r.out.toStdString(), BuildPresetFile(img, 0));
}

// The response the tool prints is the curve the console's graph sums.
TEST_F(PresetFiles_, NddtResponseMatchesTheGraph) {
    StartConsole();
    // Band 3 peaking +6 dB at 1000 Hz, band 7 low shelf -6 dB, a 12 dB
    // Butterworth high-pass at 80 Hz.
    const std::pair<int, int> values[] = {{30, 0}, {31, 204}, {32, 150}, {45, 1}, {46, 280},
                                          {47, 90}, {13, 2}, {15, 73}};
    for (auto [slot, v] : values)
        Params.ParamImage[1][slot] = Params.DeviceImage[1][slot] = v;
    form1->MusHighPassBox->setCurrentIndex(2);
    RedrawEqCurve(20, 1);
    dialogs->fileNames = {Path("r.Nddt")};
    SavePreset();

    const NddtRun r = Nddt({"response", Path("r.Nddt")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 463);
    EXPECT_TRUE(lines[273].startsWith("273 994.03 ")); // 1 kHz snaps to pixel 273
    EXPECT_TRUE(lines[0].startsWith("0 10.00 "));
    EXPECT_TRUE(lines[462].startsWith("462 24000.00 "));
    for (int j = 0; j < 462; ++j) {
        float sum = 0;
        for (int s = 0; s <= 10; ++s)
            sum += EqGraph.SlotResponse[s][j];
        const QList<QByteArray> f = lines[j].split(' ');
        ASSERT_EQ(f.size(), 3);
        EXPECT_NEAR(f[2].toDouble(), sum, 0.0006) << "pixel " << j;
    }

    const NddtRun aux = Nddt({"response", Path("r.Nddt"), "--module", "2"});
    EXPECT_EQ(aux.code, 0);
    EXPECT_EQ(aux.out.count('\n'), 463);
    EXPECT_EQ(Nddt({"response", Path("nothere")}).code, 1);
}

// A gain beyond the table (65535 from a unit) is drawn as the table's top,
// +12 dB; it must not turn the whole curve into NaN.
TEST_F(PresetFiles_, NddtResponseHoldsAWildGainToTheTable) {
    Image image{};
    std::memcpy(image, Params.DeviceImage, sizeof image);
    auto responseWithGain = [&](int raw, const QString& name) {
        image[1][22] = raw; // band 1 gain
        WriteAll(Path(name), BuildPresetFile(image, 0));
        return Nddt({"response", Path(name)});
    };
    const NddtRun wild = responseWithGain(65535, "wild.Nddt");
    const NddtRun top = responseWithGain(180, "top.Nddt");
    ASSERT_EQ(wild.code, 0) << wild.err.toStdString();
    EXPECT_FALSE(wild.out.contains("nan"));
    EXPECT_FALSE(wild.out.contains("inf"));
    EXPECT_EQ(wild.out, top.out);
    // A value no slot can hold is refused, not drawn.
    EXPECT_EQ(responseWithGain(-5000, "low.Nddt").code, 1);
}
