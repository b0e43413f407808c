#pragma once
// kalviren-unit: the units from the command line (list, pull, push, get, set)
// over the console's HID component and link session. The HID backend and the
// place of the console's lock are handed in, so the tests run it against the
// emulated unit and the scripted hidapi.

#include "link/HidCtl.h"
#include "presets/PresetCodec.h"

#include <QByteArray>
#include <QList>
#include <QLockFile>
#include <QObject>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

class UnitLink;

// Where the console keeps its single-instance lock.
QString ConsoleLockPath();

class UnitTool : public QObject {
    Q_OBJECT
public:
    UnitTool(std::unique_ptr<HidBackend> backend, QString lockPath, QObject* parent = nullptr);
    ~UnitTool() override;

    // Runs the command line (without the program name). Finished() follows,
    // at once for what needs no unit.
    void Start(const QStringList& arguments);

    bool Done() const { return done_; }
    int ExitCode() const { return exitCode_; }
    // What the program prints, collected.
    QByteArray Out, Err;
    QList<UnitLink*> Links() const { return links_; }
    HidCtl* Hid() const { return hid_; }

signals:
    void Finished(int exitCode);

private:
    int Run(const QStringList& arguments);
    int List(bool json);
    // Each returns -1 when all is well, else the exit code (and has said why).
    int ReadPreset(const QString& file, bool force);
    int ParseGet(const QStringList& args);
    int ParseSet(const QStringList& args, bool force);
    int ChooseUnits(const QString& wanted, bool all, QList<THidDevice*>& chosen);
    void StartLinks(const QList<THidDevice*>& chosen, bool verify, bool store);
    bool TakeUnits();
    QList<THidDevice*> CheckOutUnits();
    int Usage(const QString& what);
    int Error(const QString& unit, const QString& reason);
    void LinkFinished();
    void Report();
    void End(int code);

    HidCtl* hid_ = nullptr;
    QString lockPath_;
    std::unique_ptr<QLockFile> lock_;
    QString holder_; // who holds the console's lock, when TakeUnits failed
    QList<UnitLink*> links_;
    QList<THidDevice*> devices_;
    enum class Command { None, Pull, Push, Get, Set } command_ = Command::None;
    bool json_ = false;
    QString output_;
    PresetContents preset_;
    std::vector<std::pair<int, int>> writes_;
    QStringList getNames_;
    std::vector<std::pair<int, int>> getAddresses_;
    bool done_ = false;
    int exitCode_ = 0;
};
