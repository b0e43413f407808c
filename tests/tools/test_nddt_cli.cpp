// nddt's command line, case by case: arguments, help, files it cannot use,
// standard input and output, write errors.
#include "presets/PresetCodec.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

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

} // namespace

TEST(NddtCli, ArgumentsFilesAndStreams) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString d = tmp.path();
    PresetImage image{};
    image[1][20] = 65535;
    const std::string good = BuildPresetFile(image, 0);
    std::vector<std::string> plain = BuildPresetPlainLines(image, 0);
    plain[5] = "7 7"; // one value changed, checksum left
    const auto write = [&](const QString& name, const std::string& bytes) {
        QFile f(QDir(d).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    };
    write("good.Nddt", good);
    write("damaged.Nddt", Join(plain));
    write("text.txt", "hello\n");
    write("listing", "1 20 65535\n");
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
        {{"decode", "-"}, "@good", 0, "", "1 0 0\n1 1 0\n"},
        {{"decode", "--names", "@/good.Nddt"}, {}, 0, "", "1 0 0 delay.left\n1 1 0 volume\n1 2 0 delay.right\n"},
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
    for (const Case& c : cases) {
        if (c.needsNonRoot && geteuid() == 0) continue; // root reads any file
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

    // -o replaces the file only when the whole file is there.
    QProcess p;
    p.start(QStringLiteral(NDDT_BINARY), {"encode", "-o", d + "/out.Nddt", d + "/listing"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    QFile out(d + "/out.Nddt");
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll().toStdString(), good);
    EXPECT_EQ(QDir(d).entryList(QDir::Files).size(), 6);
}
