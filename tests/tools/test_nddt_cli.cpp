// nddt's command line, case by case: arguments, help, files it cannot use,
// standard input and output, write errors.
#include "params/ParamCatalog.h"
#include "presets/PresetCodec.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <cstring>

#include <unistd.h>

namespace {

std::string Join(const std::vector<std::string>& plain) {
    std::string out;
    for (const std::string& l : plain)
        out += ScrambleLine(l) + "\r\n";
    return out;
}

struct Case {
    QStringList args; // "@" stands for the temporary directory
    QByteArray input; // standard input; "@good" is the good file's bytes
    int code;
    QByteArray err;       // standard error ("@" as in args); for code 2 its start
    QByteArray outStarts; // standard output begins with this
    const char* stdoutFile = nullptr;
    bool needsNonRoot = false;
};

// Runs nddt as the case says, in directory d ("@" in the case); "@good" as input is good.
void RunCase(const Case& c, const QString& d, const std::string& good) {
    if (c.needsNonRoot && geteuid() == 0) return; // root reads any file
    QStringList args;
    for (const QString& a : c.args)
        args << QString(a).replace(QLatin1Char('@'), d);
    SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
    QProcess p;
    if (c.stdoutFile) p.setStandardOutputFile(QString::fromLatin1(c.stdoutFile));
    p.start(QStringLiteral(NDDT_BINARY), args);
    p.write(c.input == "@good" ? QByteArray::fromStdString(good) : c.input);
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(30000));
    const QByteArray out = p.readAllStandardOutput();
    EXPECT_EQ(p.exitCode(), c.code);
    // Usage errors go on with where the help is.
    const QByteArray err = p.readAllStandardError();
    const QByteArray expected = QByteArray(c.err).replace('@', d.toUtf8());
    EXPECT_EQ(c.code == 2 ? err.left(expected.size()) : err, expected) << err.toStdString();
    EXPECT_TRUE(out.startsWith(c.outStarts)) << out.left(80).toStdString();
    if (c.code != 0) {
        EXPECT_TRUE(out.isEmpty());
    }
}

} // namespace

TEST(NddtCli, ArgumentsFilesAndStreams) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString d = tmp.path();
    // Every value one a person could set (nddt names the others on stderr).
    PresetImage image{};
    std::string listing;
    for (const ParamEntry& e : ParamCatalog()) {
        if (!e.Preset) continue;
        image[e.Module][e.Index] = InRange(e.Address(), e.Start) ? e.Start : e.Min;
        listing += std::to_string(e.Module) + " " + std::to_string(e.Index) + " " +
                   std::to_string(image[e.Module][e.Index]) + "\n";
    }
    const std::string good = BuildPresetFile(image, 0);
    const QByteArray firstLines =
        QByteArray::fromStdString(listing.substr(0, listing.find('\n', listing.find('\n') + 1) + 1));
    PresetImage wild{};
    std::memcpy(wild, image, sizeof wild);
    wild[1][22] = 255;
    std::vector<std::string> plain = BuildPresetPlainLines(image, 0);
    plain[5] = "262 7"; // module 1 slot 3 set to 2, checksum left
    const auto write = [&](const QString& name, const std::string& bytes) {
        QFile f(QDir(d).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    };
    write("good.Nddt", good);
    write("damaged.Nddt", Join(plain));
    write("text.txt", "hello\n");
    write("listing", listing);
    write("wild.Nddt", BuildPresetFile(wild, 0));
    write("secret.Nddt", good);
    QFile::setPermissions(QDir(d).filePath("secret.Nddt"), QFileDevice::Permissions());
    QDir(d).mkdir("folder");

    // clang-format off
    const Case cases[] = {
        {{"--version"}, {}, 0, "", "nddt 3.4.2\n"},
        {{"help", "decode"}, {}, 0, "", "usage: nddt decode"},
        {{"decode", "--help"}, {}, 0, "", "usage: nddt decode"},
        {{"--help"}, {}, 0, "", "usage: nddt COMMAND"},
        // Usage errors say what is wrong and where the help is.
        {{}, {}, 2, "nddt: no command given\nTry 'nddt help'.\n", ""},
        {{"help", "peek"}, {}, 2, "nddt: help: no command 'peek'\n", ""},
        {{"encode", "--variant"}, {}, 2, "nddt: encode: --variant needs a value\nTry 'nddt help encode'.\n", ""},
        {{"encode", "--variant", "T5"}, {}, 2, "nddt: encode: the variant is T4 or T6, not 'T5'\n", ""},
        {{"decode", "--variant=T4", "@/good.Nddt"}, {}, 2, "nddt: decode: --variant takes no value\n", ""},
        {{"decode"}, {}, 2, "nddt: decode: no FILE given\n", ""},
        {{"decode", "@/good.Nddt", "x"}, {}, 2, "nddt: decode: one FILE only; 'x' is extra\n", ""},
        {{"response", "--mode", "2", "x"}, {}, 2, "nddt: response: unknown option '--mode'\n", ""},
        // Files that cannot be used, each with its reason.
        {{"decode", "@/none.Nddt"}, {}, 1, "nddt: @/none.Nddt: No such file or directory\n", ""},
        {{"decode", "@/folder"}, {}, 1, "nddt: @/folder: Is a directory\n", ""},
        {{"decode", "@/secret.Nddt"}, {}, 1, "nddt: @/secret.Nddt: Permission denied\n", "", nullptr, true},
        {{"decode", "@/text.txt"}, {}, 1, "nddt: @/text.txt: File format error! (not hexadecimal at line 1)\n", ""},
        {{"response", "@/damaged.Nddt"}, {}, 1, "nddt: @/damaged.Nddt: Data file is corrupted! (checksum does not match)\n", ""},
        // "-" is standard input.
        {{"decode", "-"}, "@good", 0, "", firstLines},
        // A value a slot holds but no control sets: kept, and named.
        {{"decode", "@/wild.Nddt"}, {}, 0, "nddt: @/wild.Nddt: 1 value outside the parameter's range:\n  Band 1 gain (1:22) = 255\n", firstLines},
        {{"decode", "--names", "@/good.Nddt"}, {}, 0, "", "1 0 2 delay.left\n1 1 2 volume\n1 2 2 delay.right\n"},
        {{"response", "--module", "2", "-"}, "@good", 0, "", "0 10.00 "},
        {{"decode", "-"}, "hello", 1, "nddt: standard input: File format error! (not hexadecimal at line 1)\n", ""},
        // Values a slot cannot hold, named by their line.
        {{"encode"}, "1 20 5\n\n1 21 99999999\n", 1, "nddt: standard input: line 3: value 99999999 does not fit a slot (0 to 65535)\n", ""},
        {{"encode"}, "1 20 -1\n", 1, "nddt: standard input: line 1: value -1 does not fit a slot (0 to 65535)\n", ""},
        {{"encode", "@/listing"}, "", 0, "", QByteArray::fromStdString(good.substr(0, 8))},
        {{"encode", "-o", "@/folder/no/x.Nddt", "-"}, "1 1 1\n", 1, "nddt: @/folder/no/x.Nddt: No such file or directory\n", ""},
        // A full disk is a failure, not silence.
        {{"decode", "@/good.Nddt"}, {}, 1, "nddt: standard output: No space left on device\n", "", "/dev/full"},
        {{"encode"}, "1 1 1\n", 1, "nddt: standard output: No space left on device\n", "", "/dev/full"},
    };
    // clang-format on
    for (const Case& c : cases)
        RunCase(c, d, good);

    // -o replaces the file only when the whole file is there.
    QProcess p;
    p.start(QStringLiteral(NDDT_BINARY), {"encode", "-o", d + "/out.Nddt", d + "/listing"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    QFile out(d + "/out.Nddt");
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll().toStdString(), good);
    EXPECT_EQ(QDir(d).entryList(QDir::Files).size(), 7);
}

// Reads are bounded and never block; -o goes through a unique temporary file
// created beside OUT, keeps OUT's mode and writes special files in place.
TEST(NddtCli, HostileInputsAndOutputs) {
    QTemporaryDir tmp;
    const QString d = tmp.path(), fifo = d + "/fifo", out = d + "/out.Nddt";
    const auto run = [](const QStringList& args, const QByteArray& input = "1 20 5\n") {
        QProcess p;
        p.start(QStringLiteral(NDDT_BINARY), args);
        p.write(input);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(30000)) << args.join(' ').toStdString();
        return std::make_pair(p.exitCode(), p.readAllStandardError() + p.readAllStandardOutput());
    };
    const auto fails = [](const QString& what, const char* why) {
        return std::make_pair(1, "nddt: " + what.toUtf8() + ": " + why + "\n");
    };
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_EQ(run({"decode", fifo}), fails(fifo, "not a regular file"));
    EXPECT_EQ(run({"peq", "import", "/dev/zero"}), fails("/dev/zero", "not a regular file"));
    EXPECT_EQ(run({"decode", "-"}, QByteArray(64 * 1024 + 1, 'A')),
              fails("standard input", "too large: more than 65536 bytes"));

    // A link planted where a fixed temporary name would be is not followed;
    // OUT keeps its mode.
    QFile victim(d + "/victim");
    ASSERT_TRUE(victim.open(QIODevice::WriteOnly) && victim.write("keep") == 4);
    victim.close();
    ASSERT_TRUE(QFile::link(victim.fileName(), out + ".nddt-new"));
    ASSERT_TRUE(QFile::copy(victim.fileName(), out) && chmod(out.toLocal8Bit(), 0600) == 0);
    EXPECT_EQ(run({"encode", "-o", out}).first, 0);
    struct stat st {};
    ASSERT_EQ(stat(out.toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_TRUE(victim.open(QIODevice::ReadOnly));
    EXPECT_EQ(victim.readAll(), "keep");
    EXPECT_EQ(QDir(d).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 4);
    // OUT a link: its target is replaced, the link stays.
    ASSERT_TRUE(QFile::link(out, d + "/via"));
    EXPECT_EQ(run({"encode", "-o", d + "/via"}, "1 20 6\n").first, 0);
    EXPECT_TRUE(QFileInfo(d + "/via").isSymLink());
    EXPECT_TRUE(run({"decode", out}).second.contains("\n1 20 6\n"));
    // Special files are written in place or refused, never replaced.
    EXPECT_EQ(run({"encode", "-o", "/dev/null"}).first, 0);
    EXPECT_EQ(run({"encode", "-o", fifo}), fails(fifo, "not a regular file, and nothing reads it"));
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    EXPECT_EQ(run({"encode", "-o", d}), fails(d, "Is a directory"));
}

TEST(NddtCli, DiffNamesWhatDiffersAndExitsAsDiffDoes) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString d = tmp.path();
    PresetImage a{}, b{};
    a[1][26] = 204; // band 2 frequency: 1000.0 Hz
    b[1][26] = 206; // 1040.0 Hz
    b[3][1] = 7;    // a slot the unit owns
    a[2][0] = b[2][0] = 30;
    std::vector<std::string> damaged = BuildPresetPlainLines(a, 0);
    damaged[5] = "7 7";
    const auto write = [&](const char* name, const std::string& bytes) {
        QFile f(QDir(d).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    };
    write("a.Nddt", BuildPresetFile(a, 0));
    write("a-t6.Nddt", BuildPresetFile(a, 1));
    write("b.Nddt", BuildPresetFile(b, 0));
    write("damaged.Nddt", Join(damaged));

    const struct {
        QStringList args;
        int code;
        QByteArray out;
    } cases[] = {
        {{"diff", "@/a.Nddt", "@/a.Nddt"}, 0, ""},
        {{"diff", "@/a.Nddt", "@/b.Nddt"},
         1,
         "Band 2 frequency: 1000.0 Hz -> 1040.0 Hz\nModule 3 slot 1: 0 -> 7\n"},
        {{"diff", "--raw", "--module", "1", "@/a.Nddt", "@/b.Nddt"},
         1,
         "Band 2 frequency: 1000.0 Hz (204) -> 1040.0 Hz (206)\n"},
        {{"diff", "--module", "2", "@/a.Nddt", "@/b.Nddt"}, 0, ""},
        {{"diff", "@/a.Nddt", "@/a-t6.Nddt"}, 1, "variant: T4 -> T6\n"},
        {{"diff", "@/a.Nddt", "@/damaged.Nddt"}, 2, ""},
        {{"diff", "@/none.Nddt", "@/a.Nddt"}, 2, ""},
        {{"diff", "@/a.Nddt"}, 2, ""},
        {{"diff", "--module", "4", "@/a.Nddt", "@/b.Nddt"}, 2, ""},
    };
    for (const auto& c : cases) {
        QStringList args;
        for (const QString& arg : c.args)
            args << QString(arg).replace(QLatin1Char('@'), d);
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        QProcess p;
        p.start(QStringLiteral(NDDT_BINARY), args);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), c.code);
        EXPECT_EQ(p.readAllStandardOutput(), c.out);
        EXPECT_EQ(p.readAllStandardError().isEmpty(), c.code != 2);
    }
}
