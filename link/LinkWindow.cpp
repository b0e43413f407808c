#include "link/LinkWindow.h"

#include "link/LinkApi.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <vector>

TForm9* Form9 = nullptr;

TForm9::TForm9(ParamModel& images, std::unique_ptr<HidBackend> backend, QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(tr("系统"));

    DevListBox = new QListWidget(this);
    HistoryListBox = new QListWidget(this);
    ReportID = new QLineEdit(QStringLiteral("1"), this);
    LinkBtn = new QPushButton(tr("连接"), this);
    RzButton14 = new QPushButton(tr("断开"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DevListBox);
    layout->addWidget(HistoryListBox);
    layout->addWidget(ReportID);
    layout->addWidget(LinkBtn);
    layout->addWidget(RzButton14);

    RelistTimer = new QTimer(this);
    RelistTimer->setInterval(1000);
    connect(RelistTimer, &QTimer::timeout, this, [this] { RelistTimerTimer(RelistTimer); });
    connect(LinkBtn, &QPushButton::clicked, this, [this] { LinkBtnClick(LinkBtn); });
    connect(RzButton14, &QPushButton::clicked, this, [this] { RzButton14Click(RzButton14); });

    Session = new LinkSession(
        images, [this](const Report& r) { return WriteToDevice(r); }, &QTime::currentTime, this);
    connect(Session, &LinkSession::HistoryLine, this, &TForm9::AddToHistory);

    Form9 = this;

    Hid = new HidCtl(std::move(backend), this);
    connect(Hid, &HidCtl::DeviceChange, this, [this] { HidCtlDeviceChange(Hid); });
    connect(Hid, &HidCtl::DeviceData, this, [this](THidDevice* dev, quint8 id, QByteArray bytes) {
        HidCtlDeviceData(dev, id, bytes);
    });
    connect(Hid, &HidCtl::DeviceDataError, this, [this](THidDevice* dev, int error, QString text) {
        HidCtlDeviceDataError(dev, error, text);
    });
    connect(Hid, &HidCtl::Removal, this, [this](THidDevice* dev) { HidCtlRemoval(dev); });
    connect(Hid, &HidCtl::Arrival, this,
            [this](const HidDeviceInfo& info) { HidCtlArrival(info); });
}

TForm9::~TForm9() {
    Session->Stop();
    RelistTimer->stop();
    ReleaseDevices();
    if (Form9 == this) Form9 = nullptr;
}

void TForm9::closeEvent(QCloseEvent* event) {
    // The link window only ever hides; it lives as long as the program.
    event->ignore();
    hide();
}

void TForm9::ReleaseDevices() {
    for (THidDevice* dev : DevListDevices)
        if (dev) Hid->CheckIn(dev);
    DevListDevices.clear();
    DevListBox->clear();
    Ndata = 0;
    CurrentDevice = nullptr;
    RxDevice = nullptr;
}

void TForm9::StopLink() {
    stopped_ = true;
    Session->Stop();
    RelistTimer->stop();
    ReleaseDevices();
}

// ---- What the windows ask of the link ----

bool HaveLink() {
    return Form9 != nullptr;
}

int CurrentLinkState() {
    return Form9 ? Form9->Session->LinkState : NoDevice;
}

void UploadToUnit() {
    if (Form9) Form9->Session->DisCheckWindow(StepWrite);
}

void AwaitSave() {
    if (Form9) Form9->Session->AwaitSave();
}

void SendBluetoothText(const QString& text) {
    if (Form9) Form9->Session->SendBluetoothText(text);
}

void StopLink() {
    if (Form9) Form9->StopLink();
}

void MainLinkBtnClick() {
    if (Form9) Form9->LinkBtnClick(Form9->LinkBtn);
}

// ---- Transport ----

void TForm9::LinkBtnClick(QObject*) {
    // No unit in use: look again, it may have come back unnoticed.
    if (Session->LinkState == NoDevice) {
        Relist();
        return;
    }
    Session->StartLink();
}

void TForm9::HidCtlDeviceChange(QObject*) {
    if (stopped_) return;
    ReleaseDevices();
    Hid->Enumerate(
        [this](const HidDeviceInfo& info, int idx) { return HidCtlEnumerate(info, idx); });
    if (DevListBox->count() > 0) DevListBox->setCurrentRow(0);
    HIDDeviceStaus(Ndata == 0 ? 255 : Ndata - 1);
}

bool TForm9::HidCtlEnumerate(const HidDeviceInfo& HidDev, int Idx) {
    if (HidDev.vendorId != DeviceVendorId) return true;
    THidDevice* dev = Hid->CheckOut(Idx);
    if (dev == nullptr) return true; // not identified: not offered
    if (!dev->LengthsNote().isEmpty()) AddToHistory(dev->LengthsNote());
    DevListBox->addItem(DeviceName(dev->Info));
    DevListDevices.append(dev);
    Ndata = DevListBox->count();
    return true;
}

void TForm9::HIDDeviceStaus(int Nindex) {
    THidDevice* chosen = nullptr;
    THidDevice* refused = nullptr;
    if (Nindex != 255) {
        const int last = std::min(Nindex, static_cast<int>(DevListDevices.size()) - 1);
        for (int i = 0; i <= last; ++i) {
            THidDevice* dev = DevListDevices.at(i);
            if (dev && dev->Info.vendorId == DeviceVendorId &&
                dev->Info.productId == DeviceProductId) {
                // A unit that could not be opened takes no writes: the last
                // opened one is used, unless the user chose another.
                if (!dev->IsOpen())
                    refused = dev;
                else if (!(chosen && UnitKey(chosen->Info) == PreferredUnit))
                    chosen = dev;
            }
        }
    }
    QStringList names;
    QList<int> rows;
    int current = -1;
    for (int i = 0; i < DevListDevices.size(); ++i) {
        const THidDevice* dev = DevListDevices.at(i);
        if (!dev || dev->Info.productId != DeviceProductId || !dev->IsOpen()) continue;
        if (dev == chosen) current = static_cast<int>(rows.size());
        names << (dev->Info.serial.isEmpty() ? dev->Info.product : dev->Info.serial) +
                     QStringLiteral(" — ") + dev->Info.path;
        rows << i;
    }
    emit UnitsListed(names, rows, current);
    if (chosen) {
        RefusedOpenError = 0;
        RxDevice = chosen;
        CurrentDevice = chosen;
        Session->ShowLinkStatus(StatusOffline, tr("离线模式"), 0);
        LinkBtnClick(this);
    } else if (refused) {
        ShowOpenRefused(refused);
    } else {
        RefusedOpenError = 0;
        Session->ShowLinkStatus(StatusNoUnit, tr("设备未连接"), 0);
    }
}

QString TForm9::UnitKey(const HidDeviceInfo& info) {
    return info.serial.isEmpty() ? info.path : info.serial;
}

void TForm9::ChooseUnit(int row) {
    if (row < 0 || row >= DevListDevices.size() || DevListDevices.at(row) == nullptr) return;
    const HidDeviceInfo info = DevListDevices.at(row)->Info;
    PreferredUnit = UnitKey(info);
    emit UnitChosen(info.serial);
    if (DevListDevices.at(row) == CurrentDevice) return;
    // Nothing of the link with the other unit carries over: no transfer, no
    // write, no awaited memory command.
    Session->Stop();
    Session->PendingOp = 0;
    Relist();
}

void TForm9::ShowOpenRefused(THidDevice* dev) {
    const int code = dev->OpenErrorCode() != 0 ? dev->OpenErrorCode() : ENODEV;
    const bool denied = code == EACCES || code == EPERM;
    if (denied)
        Session->ShowLinkStatus(StatusNoUnit,
                                QStringLiteral("Cannot open the device: permission denied"),
                                QStringLiteral("无法打开设备：没有权限"));
    else
        Session->ShowLinkStatus(StatusNoUnit,
                                QStringLiteral("Cannot open the device: ") + dev->OpenErrorText(),
                                QStringLiteral("无法打开设备：") + dev->OpenErrorText());
    // Try again once a second: the rule may be installed, the node may settle.
    RelistTimer->start();
    if (code == RefusedOpenError) return; // said already
    RefusedOpenError = code;
    AddToHistory(QStringLiteral("OPEN ERROR: %1 (%2)")
                     .arg(dev->OpenErrorText(), QString::number(unsigned(code), 16)));
    if (denied)
        Session->Notify(
            NoticeCaption(),
            QStringLiteral("无法打开设备：没有权限\n"
                           "请安装 udev 规则 packaging/70-kalviren-dsp.rules，然后重新插入设备。"),
            NoticeCaption(),
            QStringLiteral("Cannot open the device: permission denied\n"
                           "Install the udev rule packaging/70-kalviren-dsp.rules, then plug "
                           "the unit in again."));
}

QString TForm9::DeviceName(const HidDeviceInfo& HidDev) {
    QString s = HidDev.product;
    s += QString::asprintf("Device VID=%.4x PID=%.4x", unsigned(HidDev.vendorId),
                           unsigned(HidDev.productId));
    if (!HidDev.serial.isEmpty()) s += tr(" (自定义HID描述符=%1)").arg(HidDev.serial);
    return s;
}

void TForm9::HidCtlDeviceData(THidDevice* HidDev, quint8 reportId, const QByteArray& Data) {
    if (HidDev == nullptr || HidDev != RxDevice) return;
    QByteArray frame;
    frame.reserve(Data.size() + 1);
    frame.append(static_cast<char>(reportId));
    frame.append(Data);
    Session->ParseReply(frame);
}

void TForm9::HidCtlDeviceDataError(THidDevice* HidDev, int Error, const QString& text) {
    AddToHistory(QStringLiteral("READ ERROR: %1 (%2)").arg(text, QString::number(Error, 16)));
    DeviceFailed(HidDev);
}

void TForm9::DeviceFailed(THidDevice* HidDev) {
    // A unit that reset comes back at the same path, which no list comparison
    // sees: the failure itself is the sign to open it afresh.
    if (HidDev == nullptr || (HidDev != CurrentDevice && HidDev != RxDevice)) return;
    if (RelistTimer->isActive() || RelistQueued) {
        RelistDue = true; // a device that keeps failing is tried once a second
        return;
    }
    RelistQueued = true;
    RelistTimer->start();
    // Not inside the write or read handler that failed: from the event queue.
    QMetaObject::invokeMethod(
        this,
        [this] {
            RelistQueued = false;
            Relist();
        },
        Qt::QueuedConnection);
}

void TForm9::Relist() {
    RelistDue = false;
    if (stopped_) return;
    // Reports the removal of a unit that is gone, then the device change.
    Hid->HandleDevicesChanged(true);
}

void TForm9::RelistTimerTimer(QObject*) {
    if (RelistDue || RefusedOpenError != 0)
        Relist();
    else
        RelistTimer->stop();
}

int TForm9::WriteToDevice(const Report& report) {
    if (CurrentDevice == nullptr) return 0;
    ReportID->setText(QString::asprintf("%.2x", unsigned(report[0])));
    const int length = CurrentDevice->OutputReportLength();
    if (length < FrameSize) {
        // A frame cut short would lose its checksum; the device cannot take it.
        AddToHistory(QStringLiteral("WRITE ERROR: output report length %1 is shorter than %2 (%3)")
                         .arg(length)
                         .arg(FrameSize)
                         .arg(QString::number(0, 16)));
        return 0;
    }
    std::vector<quint8> buffer(static_cast<std::size_t>(length), 0);
    std::copy(report.begin(), report.end(), buffer.begin());
    int code = 0;
    QString text;
    if (!CurrentDevice->WriteReport(buffer.data(), length, &code, &text)) {
        AddToHistory(
            QStringLiteral("WRITE ERROR: %1 (%2)").arg(text, QString::number(unsigned(code), 16)));
        DeviceFailed(CurrentDevice);
        return 0;
    }
    return length;
}

void TForm9::HidCtlRemoval(THidDevice* HidDev) {
    if (HidDev == nullptr) return;
    AddToHistory(QStringLiteral("Removal of ") + DeviceName(HidDev->Info));
}

void TForm9::HidCtlArrival(const HidDeviceInfo&) {}

void TForm9::AddToHistory(const QString& Str) {
    const int width = QFontMetrics(HistoryListBox->font()).horizontalAdvance(Str);
    if (HistoryScrollWidth < width + 16) HistoryScrollWidth = width + 16;
    HistoryListBox->addItem(Str);
    while (HistoryListBox->count() > HistoryMaxLines)
        delete HistoryListBox->takeItem(0);
    HistoryListBox->setCurrentRow(HistoryListBox->count() - 1);
}

void TForm9::RzButton14Click(QObject*) {
    Session->LinkState = Offline;
}
