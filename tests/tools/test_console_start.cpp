// The console's command line, its preset-file argument, the factory option,
// the demo's marks and the one-console-per-session rule on the real program.
#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/WindowState.h"
#include "params/ParamImage.h"
#include "presets/PresetCodec.h"
#include "presets/PresetFiles.h"
#include "tests/support/LinkFixture.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLocalSocket>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstring>
#include <memory>
#include <vector>

#include <sys/stat.h>

namespace {

class ConsoleStart : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        ResetPresetFileState();
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    void Write(const QString& name, const std::string& bytes) {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    QTemporaryDir dir;
};

} // namespace

TEST(ConsoleCommandLine, OptionsAndMistakes) {
    const auto parse = [](QStringList args) {
        args.prepend(QStringLiteral("/usr/bin/kalviren-console"));
        return ParseCommandLine(args);
    };
    ParsedCommandLine r = parse({"--factory", "tune.Nddt"});
    EXPECT_FALSE(r.Exit);
    EXPECT_TRUE(r.Options.Factory);
    EXPECT_EQ(r.Options.PresetFile, "tune.Nddt");
    r = parse({"--", "-odd.Nddt"});
    EXPECT_FALSE(r.Options.Factory);
    EXPECT_EQ(r.Options.PresetFile, "-odd.Nddt");
    r = parse({"a.Nddt", "b.Nddt"});
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_TRUE(r.Err.startsWith("kalviren-console: one preset file at most"));
    r = parse({"--factroy"});
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_TRUE(r.Err.contains("'factroy'"));
    r = parse({"--language", "fr"});
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_TRUE(r.Err.startsWith("kalviren-console: unknown language 'fr'"));
    EXPECT_FALSE(parse({"--language=en"}).Exit);
    r = parse({"x.Nddt", "--version"});
    EXPECT_TRUE(r.Exit);
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out, "kalviren-console 3.4.2\n");
    r = EarlyCommandLine({"kalviren-console-demo", "-platform", "xcb", "--help"});
    EXPECT_TRUE(r.Out.startsWith("Usage: kalviren-console-demo [--factory] [--language zh|en] [FILE.Nddt]"));
}

// Started with a file, the console shows the same messages and stores the same
// image as a load through the button, and online uploads it the same way.
TEST_F(ConsoleStart, FileArgumentLoadsAsTheLoadButton) {
    StartConsole();
    ConnectUnit();
    // The unit's own set with one band moved, as a saved tune would be.
    PresetImage image{};
    std::memcpy(image, Params.DeviceImage, sizeof image);
    image[1][20] = 12; // band 1: high shelf, bypassed
    Write("good.Nddt", BuildPresetFile(image, Params.VariantFlag));
    std::vector<std::string> plain = BuildPresetPlainLines(image, Params.VariantFlag);
    plain[5] = "262 7"; // module 1 slot 3 set to 2, checksum left
    std::string damaged;
    for (const std::string& l : plain)
        damaged += ScrambleLine(l) + "\r\n";
    Write("damaged.Nddt", damaged);
    Write("text.Nddt", "hello\r\n");
    QDir(dir.path()).mkdir("folder");

    int32_t start[ModuleCount][DeviceSlots];
    std::memcpy(start, Params.DeviceImage, sizeof start);
    const EmulatedDevice::Memory unitStart = unit->Live();

    struct Outcome {
        QStringList notices;
        QStringList questions;
        bool defaultNo = false;
        std::vector<int32_t> image;
        EmulatedDevice::Memory unit{};
    };
    const auto run = [&](const QString& file, bool viaButton) {
        std::memcpy(Params.DeviceImage, start, sizeof start);
        unit->Live() = unitStart;
        dialogs->records.clear();
        if (viaButton) {
            dialogs->fileNames = {file};
            click(form1->LoadFileBtn);
        } else {
            // Not picked in the dialog: written only after a Yes.
            dialogs->answers = {true};
            ConsoleOptions options;
            options.PresetFile = file;
            ApplyStartOptions(*form1, options);
        }
        Step(5000);
        Outcome o;
        o.notices = dialogs->texts(DialogRecord::Notify);
        o.questions = dialogs->texts(DialogRecord::Ask);
        for (const DialogRecord& r : dialogs->records)
            o.defaultNo = o.defaultNo || (r.kind == DialogRecord::Ask && r.answer == DefaultAnswer::No);
        dialogs->answers.clear();
        o.image.assign(&Params.DeviceImage[0][0], &Params.DeviceImage[0][0] + sizeof start / 4);
        o.unit = unit->Live();
        return o;
    };
    for (const char* name : {"good.Nddt", "none.Nddt", "folder", "text.Nddt", "damaged.Nddt"}) {
        SCOPED_TRACE(name);
        const Outcome argument = run(Path(name), false);
        const Outcome button = run(Path(name), true);
        EXPECT_EQ(argument.notices, button.notices);
        EXPECT_EQ(argument.image, button.image);
        EXPECT_EQ(argument.unit, button.unit);
        EXPECT_TRUE(button.questions.isEmpty());
        if (QByteArray(name) == "good.Nddt") {
            EXPECT_EQ(argument.questions,
                      QStringList{"把 " + QDir::toNativeSeparators(Path(name)) + " 写入设备?"});
            EXPECT_TRUE(argument.defaultNo);
            EXPECT_TRUE(argument.notices.isEmpty());
            EXPECT_EQ(Params.DeviceImage[1][20], 12);
            EXPECT_EQ(argument.unit[1][20], 12); // the whole image went to the unit
        } else {
            EXPECT_TRUE(argument.questions.isEmpty());
            EXPECT_EQ(argument.notices.size(), 1);
            EXPECT_EQ(std::memcmp(Params.DeviceImage, start, sizeof start), 0);
            EXPECT_EQ(argument.unit, unitStart);
        }
    }
    EXPECT_EQ(run(Path("none.Nddt"), false).notices, QStringList{"文件不存在"});
    EXPECT_EQ(run(Path("text.Nddt"), false).notices, QStringList{"文件格式错误!"});
    EXPECT_EQ(run(Path("damaged.Nddt"), false).notices, QStringList{"数据文件损坏!"});
}

TEST_F(ConsoleStart, FactoryButtonOnlyWithTheOptionAndTheDemoSaysSo) {
    StartConsole();
    ApplyStartOptions(*form1, {});
    EXPECT_FALSE(form1->RzBmpButton1->isVisible());
    ConsoleOptions factory;
    factory.Factory = true;
    ApplyStartOptions(*form1, factory);
    ASSERT_TRUE(form1->RzBmpButton1->isVisible());
    click(form1->RzBmpButton1);
    EXPECT_EQ(form1->MainFuntionSheetPage->currentWidget(), form1->AdvTabSheet2);

    // The window icon: the installed theme's, else the built-in picture.
    EXPECT_FALSE(ConsoleIcon().pixmap(32, 32).isNull());

    MarkAsDemo(*form1, *form9);
    const auto* mark = form1->findChild<QLabel*>(QStringLiteral("DemoMark"));
    ASSERT_NE(mark, nullptr);
    EXPECT_TRUE(mark->isVisible());
    // On the graph, under every handle, and no obstacle to the mouse.
    EXPECT_TRUE(mark->testAttribute(Qt::WA_TransparentForMouseEvents));
    QWidget* graph = mark->parentWidget();
    const QObjectList& order = graph->children();
    for (QWidget* h : {form1->EP9, form1->LPF})
        EXPECT_LT(order.indexOf(mark), order.indexOf(h));
    EXPECT_GT(order.indexOf(mark), order.indexOf(form1->Image1));
    ConnectUnit();
    EXPECT_EQ(form1->windowTitle(), "QZ系列 DSP控制软件 v3.4.2 Beta [演示 DEMO][Connected]");
    EXPECT_EQ(form1->LinkLabel->text(), "演示设备已连接");
}

// A second start of the real program finds the first, hands it the file and stops.
TEST(ConsoleInstance, SecondStartHandsOverToTheFirst) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    SingleInstance first(runtime.path(), QStringLiteral("kalviren-console"));
    ASSERT_TRUE(first.TryBecomeFirst());
    QSignalSpy requests(&first, &SingleInstance::Requested);

    QProcess second;
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(runtime.path());
    second.start(QStringLiteral(KV_CONSOLE_BINARY), {QStringLiteral("tune.Nddt")});
    ASSERT_TRUE(requests.wait(30000));
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardError().contains(
        "kalviren-console: a console is already running; it has been brought to the front"));
    EXPECT_EQ(requests.at(0).at(0).toStringList(),
              QStringList{QDir(runtime.path()).filePath("tune.Nddt")});

    // Without a display and without a platform, a plain message instead of Qt's abort.
    QProcessEnvironment bare = env;
    for (const char* v : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        bare.remove(QString::fromLatin1(v));
    QProcess headless;
    headless.setProcessEnvironment(bare);
    headless.start(QStringLiteral(KV_CONSOLE_BINARY), {});
    ASSERT_TRUE(headless.waitForFinished(30000));
    EXPECT_EQ(headless.exitCode(), 1);
    EXPECT_TRUE(headless.readAllStandardError().contains("QT_QPA_PLATFORM=offscreen"));
    EXPECT_EQ(requests.size(), 1);
}

// A file given at start reaches the unit once the link is online and the
// person says Yes, unless the load button took another file in the meantime.
TEST_F(ConsoleStart, StartFileWaitsForTheUnit) {
    enum Case { Yes, No, LoadedMeanwhile };
    for (const Case c : {Yes, No, LoadedMeanwhile}) {
        SCOPED_TRACE(c);
        if (c != Yes) {
            LinkFixture::TearDown();
            LinkFixture::SetUp();
        }
        StartConsole();
        PresetImage image{};
        std::memcpy(image, Params.DeviceImage, sizeof image);
        image[1][20] = 12; // band 1: high shelf, bypassed
        Write("tune.Nddt", BuildPresetFile(image, Params.VariantFlag));
        const int own = unit->Live()[1][20];
        ASSERT_NE(own, 12);

        ConsoleOptions options;
        options.PresetFile = Path("tune.Nddt");
        ApplyStartOptions(*form1, options);
        EXPECT_EQ(Params.DeviceImage[1][20], 12);
        EXPECT_FALSE(LoadHeldPreset()); // offline: held
        EXPECT_TRUE(dialogs->texts(DialogRecord::Ask).isEmpty()); // nothing asked offline
        if (c == LoadedMeanwhile) {     // another preset through the load button
            image[1][20] = 14;
            Write("other.Nddt", BuildPresetFile(image, Params.VariantFlag));
            dialogs->fileNames = {Path("other.Nddt")};
            dialogs->answers = {true}; // the start image's 2s lie outside the buttons' ranges
            click(form1->LoadFileBtn);
            EXPECT_EQ(Params.DeviceImage[1][20], 14);
            dialogs->records.clear();
        }
        ConnectUnit();
        EXPECT_NE(Params.DeviceImage[1][20], 12); // the connect read the unit's own set
        dialogs->answers = {c == Yes};
        EXPECT_TRUE(LoadHeldPreset());
        Step(5000);
        EXPECT_EQ(dialogs->texts(DialogRecord::Ask).size(), c == LoadedMeanwhile ? 0 : 1);
        EXPECT_EQ(unit->Live()[1][20], c == Yes ? 12 : own);
        EXPECT_EQ(Params.DeviceImage[1][20], c == Yes ? 12 : own);
    }
}

// The hand-over takes one absolute path per connection, any byte but NUL, and
// closes every connection after one message, a refusal or 2 s.
TEST(ConsoleInstance, HandOverTakesOneAbsolutePathPerConnection) {
    QTemporaryDir runtime;
    SingleInstance first(runtime.path(), QStringLiteral("kalviren-console"));
    ASSERT_TRUE(first.TryBecomeFirst());
    EXPECT_TRUE(first.ListenError().isEmpty());
    QSignalSpy requests(&first, &SingleInstance::Requested);
    QSignalSpy dropped(&first, &SingleInstance::Dropped);
    std::vector<std::unique_ptr<QLocalSocket>> clients;
    const auto send = [&](const QByteArray& bytes) {
        clients.push_back(std::make_unique<QLocalSocket>());
        clients.back()->connectToServer(runtime.filePath(QStringLiteral("kalviren-console.socket")));
        EXPECT_TRUE(clients.back()->waitForConnected(5000));
        clients.back()->write(bytes);
        clients.back()->waitForBytesWritten(5000);
    };
    send(QByteArray("/home/u/a\nb.Nddt", 16) + '\0');
    ASSERT_TRUE(requests.wait(5000));
    EXPECT_EQ(requests.at(0).at(0).toStringList(), QStringList{"/home/u/a\nb.Nddt"});
    for (const auto& [bytes, line] :
         {std::pair{QByteArray("tune.Nddt\0", 10), "not an absolute path"},
          std::pair{QByteArray("/a\0/b\0", 6), "more than one path"},
          std::pair{QByteArray(5000, '/'), "longer than 4096 bytes"}}) {
        send(bytes);
        ASSERT_TRUE(dropped.wait(5000)) << line;
        EXPECT_EQ(dropped.last().at(0).toString(), QStringLiteral("HAND-OVER DROPPED: ") + line);
    }
    // Idle connections: at most eight at once, each closed after its 2 s.
    for (int i = 0; i <= SingleInstance::MaxConnections; ++i)
        send({});
    ASSERT_TRUE(dropped.wait(5000));
    EXPECT_EQ(dropped.last().at(0).toString(), "HAND-OVER DROPPED: more than 8 connections at once");
    const auto deadlines = first.findChildren<QTimer*>(QStringLiteral("HandOverDeadline"));
    EXPECT_EQ(deadlines.size(), SingleInstance::MaxConnections);
    for (QTimer* t : deadlines)
        QMetaObject::invokeMethod(t, "timeout");
    EXPECT_EQ(dropped.last().at(0).toString(), "HAND-OVER DROPPED: no whole message within 2 s");
    EXPECT_EQ(dropped.size(), 3 + 1 + SingleInstance::MaxConnections);
    for (const auto& c : clients) // every connection is closed by the console
        EXPECT_TRUE(c->state() == QLocalSocket::UnconnectedState || c->waitForDisconnected(5000));
}

// Lock and socket only in a directory of the user's own, closed to others; a
// socket that cannot listen is said.
TEST(ConsoleInstance, OnlyAPrivateDirectoryHoldsLockAndSocket) {
    QTemporaryDir base;
    const QString open = base.filePath("open"), link = base.filePath("link");
    ASSERT_TRUE(QDir().mkdir(open) && chmod(open.toLocal8Bit().constData(), 0705) == 0);
    ASSERT_TRUE(QFile::link(base.path(), link));
    QString why;
    EXPECT_TRUE(SingleInstance::IsPrivateDirectory(base.path(), &why));
    EXPECT_FALSE(SingleInstance::IsPrivateDirectory(open, &why));
    EXPECT_EQ(why, open + ": open to other users (mode 0705, not 0700)");
    EXPECT_FALSE(SingleInstance::IsPrivateDirectory(link, &why));
    EXPECT_EQ(why, link + ": not a directory");
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", open.toLocal8Bit());
    EXPECT_TRUE(SingleInstance::SessionDirectory().isEmpty());
    qputenv("XDG_RUNTIME_DIR", saved);

    const QString deep = base.filePath(QString(120, QLatin1Char('d')));
    ASSERT_TRUE(QDir().mkdir(deep));
    SingleInstance first(deep, QStringLiteral("kalviren-console"));
    EXPECT_TRUE(first.TryBecomeFirst());
    EXPECT_FALSE(first.ListenError().isEmpty());
}
