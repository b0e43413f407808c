#include "tools/unit/UnitTool.h"

#include "link/LinkSession.h"
#include "params/ParamCatalog.h"
#include "tools/unit/PresetInput.h"
#include "tools/unit/UnitLink.h"

#include <QCommandLineParser>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

constexpr quint16 UnitVendor = 0x0483;
constexpr quint16 UnitProduct = 0x690E;

const char* const Overview =
    "usage: kalviren-unit COMMAND [OPTIONS]\n"
    "  list [--json]                               the units plugged in\n"
    "  pull [--unit SERIAL|PATH] [-o OUT]          the unit's parameters as a .Nddt preset\n"
    "  push FILE [--unit SERIAL|PATH | --all] [--store] [--no-verify] [--force] [--json]\n"
    "                                              writes the preset's modules 1-3, reads them back\n"
    "  get [--unit SERIAL|PATH] [--json] NAME|ADDR...\n"
    "  set [--unit SERIAL|PATH] [--force] NAME=VALUE|ADDR=RAW...\n"
    "  help [COMMAND], --help, --version\n"
    "Exit status: 0 done, 1 a unit or file error, 2 a usage error.\n";

const char* const PushHelp =
    "usage: kalviren-unit push FILE [--unit SERIAL|PATH | --all] [--store] [--no-verify]\n"
    "                          [--force] [--json]\n"
    "  Connects (start sign, read of all modules, closing signal), stores the preset's\n"
    "  modules 1 to 3 into what was read and uploads it as the console's load button\n"
    "  does, then connects again and compares every slot of the file with what the unit\n"
    "  holds. --store then saves it in the unit and waits for the unit's answer. --all\n"
    "  pushes to every unit at once, each on its own link. One line per unit; exit 0\n"
    "  only when every unit was written and verified. A file with values the console's\n"
    "  controls cannot set is refused with the list of them unless --force is given.\n";
const char* const PullHelp =
    "usage: kalviren-unit pull [--unit SERIAL|PATH] [-o OUT]\n"
    "  Connects as the console does and writes the unit's parameters as a .Nddt preset\n"
    "  to OUT (replaced only once complete) or to standard output.\n";
const char* const GetHelp =
    "usage: kalviren-unit get [--unit SERIAL|PATH] [--json] NAME|ADDR...\n"
    "  Connects and prints NAME=VALUE in the user's units (band3.freq=1000.0 Hz) or\n"
    "  ADDR=RAW for an address (module x 256 + index, decimal or 0x hex).\n";
const char* const SetHelp =
    "usage: kalviren-unit set [--unit SERIAL|PATH] [--force] NAME=VALUE|ADDR=RAW...\n"
    "  Connects, then writes each value through the send queue as a change made in the\n"
    "  console is written, one after the other, each answered by the unit. Values are\n"
    "  snapped and held to the range as the console's controls do; ADDR=RAW takes the\n"
    "  raw value 0 to 65535 and is refused outside what the console sets unless --force.\n";
const char* const ListHelp =
    "usage: kalviren-unit list [--json]\n"
    "  Every unit 0483:690e: path, serial number, product string and whether it can be\n"
    "  opened (tab-separated), or held by a running console.\n";

QString HelpOf(const QString& command) {
    const char* text = command == QLatin1String("push")   ? PushHelp
                       : command == QLatin1String("pull") ? PullHelp
                       : command == QLatin1String("get")  ? GetHelp
                       : command == QLatin1String("set")  ? SetHelp
                       : command == QLatin1String("list") ? ListHelp
                                                          : Overview;
    return QString::fromUtf8(text);
}

// ADDR: module x 256 + index, decimal or 0x hex; -1 when it is not a number.
int AddressOf(const QString& text) {
    bool ok = false;
    const int value = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                          ? text.mid(2).toInt(&ok, 16)
                          : text.toInt(&ok, 10);
    return ok && value >= 0 ? value : -1;
}

// Slots the connect read fills: ten values a packet, indexes below 85.
bool ReadByConnect(int address) {
    const int m = address / 256, i = address % 256;
    return m <= LastModule && i < (ModuleParamCount[m] / 10 + 1) * 10 && i < BulkIndexLimit;
}

// The system's text for why a unit could not be opened (hidapi's own repeats the path).
QString OpenError(const THidDevice* dev) {
    return dev->OpenErrorCode() > 0 ? qt_error_string(dev->OpenErrorCode()) : dev->OpenErrorText();
}

} // namespace

QString ConsoleLockPath() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return dir.isEmpty() ? QString() : QDir(dir).filePath(QStringLiteral("kalviren-console.lock"));
}

UnitTool::UnitTool(std::unique_ptr<HidBackend> backend, QString lockPath, QObject* parent)
    : QObject(parent), hid_(new HidCtl(std::move(backend), this)), lockPath_(std::move(lockPath)) {
    connect(hid_, &HidCtl::DeviceData, this, [this](THidDevice* dev, quint8 id, QByteArray data) {
        for (UnitLink* link : links_)
            if (link->Device == dev) link->Receive(id, data);
    });
    connect(hid_, &HidCtl::DeviceDataError, this, [this](THidDevice* dev, int, QString text) {
        for (UnitLink* link : links_)
            if (link->Device == dev) link->Fail(QStringLiteral("read failed: %1").arg(text));
    });
}

UnitTool::~UnitTool() {
    qDeleteAll(links_);
    for (THidDevice* dev : devices_)
        hid_->CheckIn(dev);
}

void UnitTool::Start(const QStringList& arguments) {
    const int code = Run(arguments);
    if (code >= 0) End(code);
}

int UnitTool::Usage(const QString& what) {
    Err += QStringLiteral("kalviren-unit: %1\nTry 'kalviren-unit --help'.\n").arg(what).toUtf8();
    return 2;
}

int UnitTool::Error(const QString& unit, const QString& reason) {
    Err += (QStringLiteral("kalviren-unit: ") + (unit.isEmpty() ? QString() : unit + QStringLiteral(": ")) +
            reason + QLatin1Char('\n'))
               .toUtf8();
    return 1;
}

bool UnitTool::TakeUnits() {
    holder_.clear();
    if (lockPath_.isEmpty()) return true; // no session directory: no console can hold one
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // A running console's lock is never taken over however old it is.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0) || lock_->error() != QLockFile::LockFailedError) return true;
    qint64 pid = 0;
    QString host, app;
    lock_->getLockInfo(&pid, &host, &app);
    lock_.reset();
    holder_ = QStringLiteral("%1 (pid %2%3)")
                  .arg(app.isEmpty() ? QStringLiteral("a console") : app)
                  .arg(pid)
                  .arg(host.isEmpty() ? QString() : QStringLiteral(" on ") + host);
    return false;
}

QList<THidDevice*> UnitTool::CheckOutUnits() {
    QList<THidDevice*> units;
    hid_->Enumerate([&](const HidDeviceInfo& info, int idx) {
        if (info.vendorId == UnitVendor && info.productId == UnitProduct)
            if (THidDevice* dev = hid_->CheckOut(idx)) units.append(dev);
        return true;
    });
    devices_ = units;
    return units;
}

int UnitTool::List(bool json) {
    const bool free = TakeUnits();
    QJsonArray array;
    hid_->Enumerate([&](const HidDeviceInfo& info, int idx) {
        if (info.vendorId != UnitVendor || info.productId != UnitProduct) return true;
        QString state = QStringLiteral("ok");
        bool open = false;
        if (!free) {
            state = QStringLiteral("held by ") + holder_;
        } else if (THidDevice* dev = hid_->CheckOut(idx)) {
            open = dev->IsOpen();
            if (!open) state = QStringLiteral("cannot open: ") + OpenError(dev);
            hid_->CheckIn(dev);
        }
        if (json) {
            array.append(QJsonObject{{QStringLiteral("path"), info.path},
                                     {QStringLiteral("serial"), info.serial},
                                     {QStringLiteral("product"), info.product},
                                     {QStringLiteral("open"), open},
                                     {QStringLiteral("state"), state}});
        } else {
            Out += QStringList{info.path, info.serial.isEmpty() ? QStringLiteral("-") : info.serial,
                               info.product.isEmpty() ? QStringLiteral("-") : info.product, state}
                       .join(QLatin1Char('\t'))
                       .toUtf8() +
                   '\n';
        }
        return true;
    });
    if (json) Out += QJsonDocument(array).toJson(QJsonDocument::Indented);
    return 0;
}

int UnitTool::Run(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version(QStringLiteral("version"), QString());
    const QCommandLineOption json(QStringLiteral("json"), QString());
    const QCommandLineOption unit(QStringLiteral("unit"), QString(), QStringLiteral("unit"));
    const QCommandLineOption all(QStringLiteral("all"), QString());
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("file"));
    const QCommandLineOption store(QStringLiteral("store"), QString());
    const QCommandLineOption noVerify(QStringLiteral("no-verify"), QString());
    const QCommandLineOption force(QStringLiteral("force"), QString());
    parser.addOptions({help, version, json, unit, all, output, store, noVerify, force});
    if (!parser.parse(QStringList{QStringLiteral("kalviren-unit")} + arguments))
        return Usage(parser.errorText());
    QStringList args = parser.positionalArguments();
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (parser.isSet(version)) {
        Out += "kalviren-unit " KV_VERSION "\n";
        return 0;
    }
    if (parser.isSet(help) || command == QLatin1String("help")) {
        Out += HelpOf(command == QLatin1String("help") ? args.value(0) : command).toUtf8();
        return 0;
    }
    if (command.isEmpty()) return Usage(QStringLiteral("a command is needed"));
    json_ = parser.isSet(json);

    // Which options a command takes.
    const QMap<QString, QList<const QCommandLineOption*>> allowed{
        {QStringLiteral("list"), {&json}},
        {QStringLiteral("pull"), {&unit, &output}},
        {QStringLiteral("push"), {&unit, &all, &store, &noVerify, &force, &json}},
        {QStringLiteral("get"), {&unit, &json}},
        {QStringLiteral("set"), {&unit, &force}}};
    if (!allowed.contains(command)) return Usage(QStringLiteral("unknown command '%1'").arg(command));
    for (const QCommandLineOption* o : {&json, &unit, &all, &output, &store, &noVerify, &force})
        if (parser.isSet(*o) && !allowed[command].contains(o))
            return Usage(QStringLiteral("%1 takes no --%2").arg(command, o->names().last()));
    if (parser.isSet(unit) && parser.isSet(all))
        return Usage(QStringLiteral("--unit and --all exclude each other"));

    if (command == QLatin1String("list")) {
        if (!args.isEmpty()) return Usage(QStringLiteral("list takes no arguments"));
        return List(json_);
    }

    // Everything about the arguments is settled before any unit is touched.
    int code = -1;
    if (command == QLatin1String("pull")) {
        command_ = Command::Pull;
        if (!args.isEmpty()) return Usage(QStringLiteral("pull takes no arguments"));
        output_ = parser.value(output);
    } else if (command == QLatin1String("push")) {
        command_ = Command::Push;
        if (args.size() != 1) return Usage(QStringLiteral("push takes one preset file"));
        code = ReadPreset(args.front(), parser.isSet(force));
    } else if (command == QLatin1String("get")) {
        command_ = Command::Get;
        code = ParseGet(args);
    } else {
        command_ = Command::Set;
        code = ParseSet(args, parser.isSet(force));
    }
    if (code >= 0) return code;

    if (!TakeUnits())
        return Error(QString(),
                     QStringLiteral("the units are held by %1; close it first").arg(holder_));
    QList<THidDevice*> chosen;
    code = ChooseUnits(parser.isSet(unit) ? parser.value(unit) : QString(), parser.isSet(all),
                       chosen);
    if (code >= 0) return code;
    StartLinks(chosen, !parser.isSet(noVerify), parser.isSet(store));
    return -1;
}

int UnitTool::ReadPreset(const QString& file, bool force) {
    const PresetInput input = ReadPresetInput(file);
    if (!input.Error.isEmpty()) return Error(file, input.Error);
    if (!input.Questioned.isEmpty() && !force)
        return Error(file, QStringLiteral("values the console's controls cannot set (--force "
                                          "writes them anyway): ") +
                               input.Questioned.join(QStringLiteral(", ")));
    preset_ = input.Contents;
    return -1;
}

int UnitTool::ParseGet(const QStringList& args) {
    if (args.isEmpty()) return Usage(QStringLiteral("get needs a NAME or ADDR"));
    for (const QString& a : args) {
        const ParamEntry* entry = FindParamByKey(a.toStdString());
        const int address = entry ? entry->Address() : AddressOf(a);
        if (address < 0 || (!entry && address / 256 > LastModule))
            return Usage(QStringLiteral("'%1' is neither a parameter name nor an address").arg(a));
        if (!ReadByConnect(address))
            return Usage(QStringLiteral("'%1' is not read from the unit").arg(a));
        getNames_ << a;
        getAddresses_.emplace_back(address, entry ? 1 : 0);
    }
    return -1;
}

int UnitTool::ParseSet(const QStringList& args, bool force) {
    if (args.isEmpty()) return Usage(QStringLiteral("set needs NAME=VALUE or ADDR=RAW"));
    for (const QString& a : args) {
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        if (eq <= 0) return Usage(QStringLiteral("'%1' is not NAME=VALUE or ADDR=RAW").arg(a));
        const QString left = a.left(eq), right = a.mid(eq + 1);
        const ParamEntry* entry = FindParamByKey(left.toStdString());
        int address = -1, raw = -1;
        if (entry) {
            address = entry->Address();
            if (const auto v = ParseParamValue(*entry, right.toStdString())) raw = *v;
        } else if ((address = AddressOf(left)) >= 0) {
            entry = FindParam(address);
            bool ok = false;
            raw = right.toInt(&ok);
            if (!ok || raw < 0 || raw > 65535) raw = -1;
        }
        if (!entry) return Usage(QStringLiteral("'%1' is not a parameter of the unit").arg(left));
        if (address == MemoryRecallAddress || address == MemorySaveAddress)
            return Usage(QStringLiteral("'%1' is a memory command, not a parameter (push --store "
                                        "saves)").arg(left));
        if (raw < 0) return Usage(QStringLiteral("'%1' is not a value of %2").arg(right, left));
        if (!InRange(address, raw) && !force)
            return Usage(QStringLiteral("%1: %2 is outside what the console sets (--force writes "
                                        "it anyway)").arg(left, right));
        writes_.emplace_back(address, raw);
    }
    return -1;
}

int UnitTool::ChooseUnits(const QString& wanted, bool all, QList<THidDevice*>& chosen) {
    const QList<THidDevice*> units = CheckOutUnits();
    if (!wanted.isEmpty()) {
        for (THidDevice* dev : units)
            if (dev->Info.path == wanted || (!dev->Info.serial.isEmpty() && dev->Info.serial == wanted))
                chosen << dev;
        if (chosen.isEmpty()) return Error(wanted, QStringLiteral("no such unit"));
        if (chosen.size() > 1)
            return Error(wanted, QStringLiteral("several units answer to it; give the path"));
    } else if (all || units.size() <= 1) {
        chosen = units;
    } else {
        // A unit is never guessed at: the wrong one would be written.
        QStringList names;
        for (THidDevice* dev : units)
            names << dev->Info.path + (dev->Info.serial.isEmpty()
                                           ? QString()
                                           : QStringLiteral(" (") + dev->Info.serial + QLatin1Char(')'));
        return Usage(QStringLiteral("%1 units are plugged in (%2); choose one with --unit or use "
                                    "--all").arg(units.size()).arg(names.join(QStringLiteral(", "))));
    }
    if (chosen.isEmpty()) return Error(QString(), QStringLiteral("no unit found"));
    return -1;
}

void UnitTool::StartLinks(const QList<THidDevice*>& chosen, bool verify, bool store) {
    for (THidDevice* dev : chosen) {
        auto* link = new UnitLink(dev);
        links_ << link;
        connect(link, &UnitLink::Finished, this, &UnitTool::LinkFinished);
    }
    for (UnitLink* link : links_) {
        if (!link->Device->IsOpen()) {
            link->Fail(QStringLiteral("cannot open: ") + OpenError(link->Device));
            continue;
        }
        switch (command_) {
        case Command::Push:
            link->StartPush(preset_, verify, store);
            break;
        case Command::Set:
            link->StartWrites(writes_);
            break;
        default:
            link->StartRead();
            break;
        }
    }
}

void UnitTool::LinkFinished() {
    if (done_) return;
    for (UnitLink* link : links_)
        if (link->CurrentStage != UnitLink::Stage::Done &&
            link->CurrentStage != UnitLink::Stage::Failed)
            return;
    Report();
}

void UnitTool::Report() {
    int code = 0;
    QJsonArray results;
    for (UnitLink* link : links_) {
        const bool ok = link->CurrentStage == UnitLink::Stage::Done;
        if (!ok) code = Error(link->Name(), link->Reason);
        if (command_ == Command::Push) {
            QStringList done{QStringLiteral("written")};
            if (link->Verified) done << QStringLiteral("verified");
            if (link->Stored) done << QStringLiteral("stored");
            if (json_) {
                results.append(QJsonObject{{QStringLiteral("unit"), link->Name()},
                                           {QStringLiteral("path"), link->Device->Info.path},
                                           {QStringLiteral("serial"), link->Device->Info.serial},
                                           {QStringLiteral("ok"), ok},
                                           {QStringLiteral("verified"), link->Verified},
                                           {QStringLiteral("stored"), link->Stored},
                                           {QStringLiteral("error"), ok ? QString() : link->Reason}});
            } else {
                Out += (link->Name() + (ok ? QStringLiteral(": ok (") + done.join(QStringLiteral(", ")) + QLatin1Char(')')
                                          : QStringLiteral(": failed (") + link->Reason + QLatin1Char(')')) +
                        QLatin1Char('\n'))
                           .toUtf8();
            }
            continue;
        }
        if (!ok) continue;
        const ParamModel& images = link->Images();
        if (command_ == Command::Pull) {
            const std::string bytes = BuildPresetFile(images.DeviceImage, link->VariantFlag());
            if (output_.isEmpty() || output_ == QLatin1String("-")) {
                Out += QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
                continue;
            }
            QSaveFile file(output_);
            bool written = file.open(QIODevice::WriteOnly) &&
                           file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                               static_cast<qint64>(bytes.size());
            written = written && file.commit();
            if (!written) code = Error(output_, file.errorString());
        } else if (command_ == Command::Get) {
            QJsonArray values;
            for (std::size_t k = 0; k < getAddresses_.size(); ++k) {
                const int address = getAddresses_[k].first;
                const int32_t raw = images.DeviceImage[address / 256][address % 256];
                const ParamEntry* entry = getAddresses_[k].second ? FindParam(address) : nullptr;
                const QString shown = entry ? QString::fromStdString(FormatParamValue(*entry, raw))
                                            : QString::number(raw);
                if (json_)
                    values.append(QJsonObject{{QStringLiteral("name"), getNames_[static_cast<qsizetype>(k)]},
                                              {QStringLiteral("address"), address},
                                              {QStringLiteral("raw"), raw},
                                              {QStringLiteral("value"), shown}});
                else
                    Out += (getNames_[static_cast<qsizetype>(k)] + QLatin1Char('=') + shown + QLatin1Char('\n')).toUtf8();
            }
            if (json_)
                Out += QJsonDocument(QJsonObject{{QStringLiteral("unit"), link->Name()},
                                                 {QStringLiteral("values"), values}})
                           .toJson(QJsonDocument::Indented);
        }
    }
    if (json_ && command_ == Command::Push) Out += QJsonDocument(results).toJson(QJsonDocument::Indented);
    End(code);
}

void UnitTool::End(int code) {
    if (done_) return;
    done_ = true;
    exitCode_ = code;
    for (UnitLink* link : links_)
        link->Session->Stop();
    for (THidDevice* dev : devices_)
        hid_->CheckIn(dev);
    devices_.clear();
    lock_.reset(); // unlocks
    emit Finished(code);
}
