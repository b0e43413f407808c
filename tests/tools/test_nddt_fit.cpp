// nddt fit's command line: usage errors, files it cannot use (named, with the
// line), and what it writes where.
#include "tests/support/RunProgram.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>

namespace {

using Outcome = ProgramRun;

Outcome Nddt(const QStringList& args) {
    return RunProgram(QStringLiteral(NDDT_BINARY), args);
}

} // namespace

TEST(NddtFit, UsageFilesAndOutputs) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QDir d(tmp.path());
    QByteArray room; // 80 dB with a 6 dB bump at 1 kHz
    for (int i = 0; i < 200; ++i) {
        const double f = 20 * std::pow(1000.0, i / 199.0), x = std::log2(f / 1000);
        room += QByteArray::number(f) + ' ' + QByteArray::number(80 + 6 * std::exp(-2 * x * x)) + '\n';
    }
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile f(d.filePath(QLatin1String(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    const QString good = write("room.txt", room);
    const QString bad = write("bad.txt", "100 80\n90 80\n");
    d.mkdir(QStringLiteral("folder"));

    struct Case {
        QStringList args;
        int code;
        QByteArray err; // its start
    } cases[] = {
        {{"fit"}, 2, "nddt: fit: no MEASUREMENT given\nTry 'nddt help fit'."},
        {{"fit", good, "--bands", "3", "--module", "2"}, 2, "nddt: fit: --bands takes 1 to 2 on module 2"},
        {{"fit", good, "--max-boost", "x"}, 2, "nddt: fit: --max-boost takes a number, not 'x'"},
        {{"fit", good, "--from", "1000", "--to", "1500"}, 2, "nddt: fit: the range lies within"},
        {{"fit", good, "--target", "house:3,100"}, 2, "nddt: fit: house:R,F,T takes three numbers"},
        {{"fit", good, "--report", "--peq"}, 2, "nddt: fit: --report or --peq, not both"},
        {{"fit", d.filePath("none.txt")}, 1, "nddt: " + d.filePath("none.txt").toUtf8() + ": No such file or directory\n"},
        {{"fit", d.filePath("folder")}, 1, "nddt: " + d.filePath("folder").toUtf8() + ": Is a directory\n"},
        {{"fit", "/dev/zero"}, 1, "nddt: /dev/zero: not a regular file\n"}, // and no hang
        {{"fit", bad}, 1, "nddt: " + bad.toUtf8() + ": line 2: the frequency is not above the previous row's\n"},
        {{"fit", good, "--target", bad}, 1, "nddt: " + bad.toUtf8() + ": line 2:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const Outcome r = Nddt(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.err.startsWith(c.err)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }

    // The report alone on standard output; the bands as filter text; the preset
    // to a file, the report on standard error. The same bands each way.
    const Outcome report = Nddt({"fit", good, "--report"});
    EXPECT_EQ(report.code, 0);
    EXPECT_TRUE(report.out.startsWith("module 1, range 20.0 Hz")) << report.out.toStdString();
    EXPECT_TRUE(report.out.contains("level offset +79.99 dB") || report.out.contains("level offset +80.0")) << report.out.toStdString();
    EXPECT_TRUE(report.err.isEmpty());
    const Outcome peq = Nddt({"fit", good, "--peq", "--bands", "1", "--no-shelves"});
    EXPECT_EQ(peq.code, 0);
    EXPECT_TRUE(peq.out.startsWith("Filter 1: ON PK Fc ")) << peq.out.toStdString();
    EXPECT_TRUE(peq.out.contains("Filter 2: OFF PK")) << peq.out.toStdString();
    EXPECT_TRUE(peq.err.startsWith("module 1")) << peq.err.toStdString();
    const QString out = d.filePath(QStringLiteral("tuned.Nddt"));
    const Outcome preset = Nddt({"fit", good, "-o", out});
    EXPECT_EQ(preset.code, 0);
    EXPECT_TRUE(preset.out.isEmpty());
    EXPECT_EQ(preset.err, report.out);
    const Outcome again = Nddt({"fit", good, "--into", out, "--report"});
    EXPECT_TRUE(again.out.contains("(unchanged)")) << again.out.toStdString();
    EXPECT_FALSE(again.out.contains(" -> ")) << again.out.toStdString();
}
