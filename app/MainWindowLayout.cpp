// Layout of the main window: every control in its container with its texts,
// items, ranges, start values and the kind number in its Hint.
#include "app/MainWindow.h"

#include "app/Language.h"
#include "link/LinkApi.h"
#include "params/ControlProps.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace {

// Shared with the filter review, which names the same types.
const char* const kBandTypeNames[5] = {
    QT_TRANSLATE_NOOP("BandType", "参量均衡"), QT_TRANSLATE_NOOP("BandType", "低棚架"),
    QT_TRANSLATE_NOOP("BandType", "高棚架"), QT_TRANSLATE_NOOP("BandType", "VariQ高通"),
    QT_TRANSLATE_NOOP("BandType", "VariQ低通")};

QStringList BandTypes() {
    QStringList types;
    for (const char* name : kBandTypeNames)
        types << QCoreApplication::translate("BandType", name);
    return types;
}
const QStringList kPassTypes = {QStringLiteral("OFF"), QStringLiteral("12dB Bessel"),
                                QStringLiteral("12dB Butterworth"),
                                QStringLiteral("12dB Linkwitz-Riley")};
const QStringList kAuxPassTypes =
    kPassTypes + QStringList{QStringLiteral("24dB Bessel"), QStringLiteral("24dB Butterworth"),
                             QStringLiteral("24dB Linkwitz-Riley")};

const char* const kPanelStyle = "background: rgb(98, 102, 108); border: 1px solid rgb(77, 77, 77);"
                                " border-radius: 5px;";
const char* const kPaneStyle = "QLabel { background: rgb(36, 38, 40); color: rgb(120, 255, 255);"
                               " border: 1px solid rgb(77, 77, 77); }";

template <class T> T* Create(T*& member, const char* name, QWidget* parent) {
    member = new T(parent);
    member->setObjectName(QString::fromLatin1(name));
    return member;
}

#define NEW(Type, member, parent) Create<Type>(member, #member, parent)

// The window's content, inside the scroll area that is its central widget.
QWidget* Client(QMainWindow* window) {
    return static_cast<QScrollArea*>(window->centralWidget())->widget();
}

QWidget* Panel(QWidget*& member, const char* name, QWidget* parent, const QRect& r) {
    Create(member, name, parent);
    member->setAttribute(Qt::WA_StyledBackground, true);
    member->setStyleSheet(QStringLiteral("QWidget#%1 { %2 }")
                              .arg(QString::fromLatin1(name), QString::fromLatin1(kPanelStyle)));
    member->setGeometry(r);
    return member;
}

QGroupBox* Group(QGroupBox*& member, const char* name, QWidget* parent, const QString& title,
                 const QRect& r) {
    Create(member, name, parent);
    member->setTitle(title);
    member->setGeometry(r);
    return member;
}

QLabel* Text(QWidget* parent, const QString& text, const QRect& r,
             Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter, bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(r);
    l->setAlignment(align);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

void SetupEdit(ParamEdit* e, const QRect& r, int kind) {
    e->setGeometry(r);
    SetHint(e, QString::number(kind));
}

void SetupCombo(QComboBox* c, const QRect& r, const QStringList& items,
                const QString& hint = QStringLiteral("1")) {
    c->setGeometry(r);
    c->addItems(items);
    c->setCurrentIndex(0);
    SetHint(c, hint);
}

void SetupBar(QSlider* s, const QRect& r, int lo, int hi, int start,
              Qt::Orientation o = Qt::Horizontal) {
    s->setOrientation(o);
    s->setGeometry(r);
    s->setRange(lo, hi);
    s->setValue(start);
}

void SetupPane(QLabel* p, const QRect& r, int kind, const QString& text) {
    p->setGeometry(r);
    p->setAlignment(Qt::AlignCenter);
    p->setStyleSheet(QString::fromLatin1(kPaneStyle));
    p->setText(text);
    SetHint(p, QString::number(kind));
}

// Polarity buttons are the only 25-pixel-wide push buttons of the window.
void SetupPhase(QPushButton* b, const QRect& r) {
    b->setGeometry(r.x(), r.y(), 25, r.height());
    b->setText(QStringLiteral("+"));
    SetHint(b, QStringLiteral("0"));
}

void SetupPass(QPushButton* b, const QRect& r, const QString& caption) {
    b->setGeometry(r);
    b->setText(caption);
    b->setCheckable(true);
    b->setStyleSheet(QStringLiteral(
        "QPushButton { color: white; background: rgb(64, 66, 70); border: 1px solid rgb(40, 40, "
        "40);"
        " border-radius: 3px; } QPushButton:checked { background: rgb(214, 120, 24); }"
        " QPushButton:disabled { color: rgb(150, 150, 150); }"));
    SetHint(b, QStringLiteral("0"));
}

// One band row of an equaliser table: frequency, Q, gain, type and bypass,
// named prefix + number ("MusFreEdit3", ...).
struct BandRowNames {
    const char* fre;
    const char* q;
    const char* gain;
    const char* mode;
    const char* bypass;
};

struct BandRow {
    ParamEdit* fre;
    ParamEdit* q;
    ParamEdit* gain;
    QComboBox* mode;
    QCheckBox* bypass;
};

BandRow MakeBandRow(QWidget* p, int y, int number, const BandRowNames& names) {
    const QString n = QString::number(number);
    Text(p, n, QRect(2, y, 18, 21), Qt::AlignCenter);
    BandRow row{new ParamEdit(p), new ParamEdit(p), new ParamEdit(p), new QComboBox(p),
                new QCheckBox(p)};
    row.fre->setObjectName(QLatin1String(names.fre) + n);
    SetupEdit(row.fre, QRect(22, y, 72, 21), 2);
    row.q->setObjectName(QLatin1String(names.q) + n);
    SetupEdit(row.q, QRect(98, y, 52, 21), 4);
    row.gain->setObjectName(QLatin1String(names.gain) + n);
    SetupEdit(row.gain, QRect(154, y, 64, 21), 3);
    row.mode->setObjectName(QLatin1String(names.mode) + n);
    SetupCombo(row.mode, QRect(222, y, 106, 21), BandTypes());
    row.bypass->setObjectName(QLatin1String(names.bypass) + n);
    row.bypass->setGeometry(342, y, 22, 21);
    row.bypass->setToolTip(QCoreApplication::translate("TForm1", "直通：此频段不起作用"));
    row.fre->setToolTip(QCoreApplication::translate("TForm1", "中心频率（Hz），可写 2.2k"));
    row.q->setToolTip(QCoreApplication::translate("TForm1", "Q 值：越大频段越窄"));
    row.gain->setToolTip(QCoreApplication::translate("TForm1", "增益，-24 dB 至 +12 dB"));
    row.mode->setToolTip(QCoreApplication::translate("TForm1", "频段类型"));
    return row;
}

// The high-pass and low-pass rows under a band table.
void MakeCrossoverRows(QWidget* p, int y, ParamEdit*& hpFre, const char* hpFreName,
                       QComboBox*& hpBox, const char* hpBoxName, ParamEdit*& lpFre,
                       const char* lpFreName, QComboBox*& lpBox, const char* lpBoxName,
                       const QStringList& types) {
    QLabel* hp = Text(p, QStringLiteral("HP"), QRect(2, y, 18, 21), Qt::AlignCenter);
    SetupEdit(Create<ParamEdit>(hpFre, hpFreName, p), QRect(22, y, 72, 21), 2);
    SetupCombo(Create<QComboBox>(hpBox, hpBoxName, p), QRect(98, y, 170, 21), types);
    QLabel* lp = Text(p, QStringLiteral("LP"), QRect(2, y + 25, 18, 21), Qt::AlignCenter);
    SetupEdit(Create<ParamEdit>(lpFre, lpFreName, p), QRect(22, y + 25, 72, 21), 2);
    SetupCombo(Create<QComboBox>(lpBox, lpBoxName, p), QRect(98, y + 25, 170, 21), types);
    const QString hpTip = QCoreApplication::translate("TForm1", "高通分频：截止频率和滤波器类型");
    const QString lpTip = QCoreApplication::translate("TForm1", "低通分频：截止频率和滤波器类型");
    for (QWidget* w : {static_cast<QWidget*>(hp), static_cast<QWidget*>(hpFre),
                       static_cast<QWidget*>(hpBox)})
        w->setToolTip(hpTip);
    for (QWidget* w : {static_cast<QWidget*>(lp), static_cast<QWidget*>(lpFre),
                       static_cast<QWidget*>(lpBox)})
        w->setToolTip(lpTip);
}

} // namespace

void TForm1::BuildLayout() {
    // On a screen smaller than the window the content scrolls; the graph and
    // its handles keep their geometry, so dragging maps as on a large screen.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ClientScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    // Tab passes through it to the controls, and it scrolls to the one focused.
    scroll->setFocusPolicy(Qt::NoFocus);
    setCentralWidget(scroll);
    auto* client = new QWidget(scroll->viewport());

    client->setObjectName(QStringLiteral("client"));
    client->setAttribute(Qt::WA_StyledBackground, true);
    // Window colour 9868950 is a BGR value: 0x969696.
    client->setStyleSheet(QStringLiteral(
        "QWidget#client { background: rgb(150, 150, 150); }"
        "QLabel { color: white; background: transparent; }"
        "QRadioButton, QCheckBox { color: white; background: transparent; }"
        "QCheckBox::indicator, QRadioButton::indicator { width: 12px; height: 12px;"
        " background: white; border: 1px solid rgb(40, 40, 40); }"
        "QRadioButton::indicator { border-radius: 7px; }"
        "QCheckBox::indicator:checked, QRadioButton::indicator:checked {"
        " background: rgb(26, 110, 190); border: 3px solid white; width: 8px; height: 8px; }"
        // Held while the link moves a parameter set: visibly out of reach.
        "QRadioButton:disabled, QCheckBox:disabled { color: rgb(190, 190, 190); }"
        "QCheckBox::indicator:disabled, QRadioButton::indicator:disabled {"
        " background: rgb(170, 170, 170); }"
        "QCheckBox::indicator:checked:disabled, QRadioButton::indicator:checked:disabled {"
        " background: rgb(110, 130, 150); border-color: rgb(190, 190, 190); }"
        "QGroupBox { color: white; background: rgb(98, 102, 108); border: 1px solid rgb(77, 77, "
        "77);"
        " border-radius: 5px; margin-top: 9px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 3px; }"));
    client->setFixedSize(ClientSize);
    scroll->setWidget(client);

    // The page control lies under the top bar, which hides its tab strip.
    NEW(QStackedWidget, MainFuntionSheetPage, client);
    MainFuntionSheetPage->setGeometry(112, 41, 946, 325);
    NEW(QWidget, AdvTabSheet1, MainFuntionSheetPage);
    NEW(QWidget, AdvTabSheet2, MainFuntionSheetPage);
    MainFuntionSheetPage->addWidget(AdvTabSheet1);
    MainFuntionSheetPage->addWidget(AdvTabSheet2);
    MainFuntionSheetPage->setCurrentWidget(AdvTabSheet1);

    BuildTopBar();
    BuildSideColumns();
    BuildCompressorPanel(AdvTabSheet1);
    BuildBandTable(AdvTabSheet1);
    BuildOtherParams(AdvTabSheet1);
    BuildFactoryPage(AdvTabSheet2);
    BuildGraphPanel();

    auto* dyn = NEW(QWidget, DynRMSGrop, client);
    dyn->setGeometry(0, 0, 200, 60);
    NEW(QComboBox, RMSmatrixBox, dyn);
    QStringList cells;
    for (int row = 1; row <= 5; ++row)
        for (int col = 1; col <= 5; ++col)
            cells << QStringLiteral("M%1-%2").arg(row).arg(col);
    SetupCombo(RMSmatrixBox, QRect(0, 0, 90, 22), cells);
    NEW(QComboBox, LMH_BYPSSBox, dyn);
    SetupCombo(LMH_BYPSSBox, QRect(100, 0, 90, 22),
               {tr("关闭"), tr("打开")});
    dyn->hide();

}

void TForm1::BuildTopBar() {
    QWidget* bar = Panel(AdvGroupBox19, "AdvGroupBox19", Client(this), QRect(0, 0, 1171, 41));
    bar->raise();

    const auto center = Qt::AlignCenter;
    Text(bar, tr("设备数据"), QRect(8, 1, 144, 15), center);
    NEW(QPushButton, DeviceSaveBtn, bar)->setText(tr("保存参数"));
    DeviceSaveBtn->setGeometry(8, 16, 70, 22);
    NEW(QPushButton, DeviceLoadBtn, bar)->setText(tr("恢复参数"));
    DeviceLoadBtn->setGeometry(82, 16, 70, 22);

    Text(bar, tr("电脑文件"), QRect(176, 1, 124, 15), center);
    NEW(QPushButton, LoadFileBtn, bar)->setText(tr("加载"));
    LoadFileBtn->setGeometry(176, 16, 60, 22);
    NEW(QPushButton, SaveFileBtn, bar)->setText(tr("保存"));
    SaveFileBtn->setGeometry(240, 16, 60, 22);
    DeviceSaveBtn->setToolTip(tr("把当前参数保存在设备中"));
    DeviceLoadBtn->setToolTip(tr("设备恢复到上次保存的参数"));
    // The keys press the buttons, so they take exactly the buttons' path.
    const QKeySequence loadKey(Qt::CTRL | Qt::Key_O);
    const QKeySequence saveKey(Qt::CTRL | Qt::Key_S);
    LoadFileBtn->setToolTip(
        tr("从电脑加载预设文件 (%1)").arg(loadKey.toString(QKeySequence::NativeText)));
    SaveFileBtn->setToolTip(
        tr("把预设保存到电脑文件 (%1)").arg(saveKey.toString(QKeySequence::NativeText)));
    connect(new QShortcut(loadKey, this), &QShortcut::activated, LoadFileBtn,
            &QPushButton::click);
    connect(new QShortcut(saveKey, this), &QShortcut::activated, SaveFileBtn,
            &QPushButton::click);

    Text(bar, tr("输入选择"), QRect(330, 1, 190, 15), center);
    NEW(QRadioButton, SysInputRadio1, bar)->setText(QStringLiteral("RCA"));
    SysInputRadio1->setGeometry(336, 17, 52, 20);
    NEW(QRadioButton, SysInputRadio2, bar)->setText(tr("蓝牙"));
    SysInputRadio2->setGeometry(390, 17, 82, 20); // room for "Bluetooth"
    NEW(QRadioButton, SysInputRadio3, bar)->setText(tr("自动"));
    SysInputRadio3->setGeometry(474, 17, 52, 20);
    SysInputRadio1->setToolTip(tr("输入选择：RCA 模拟输入"));
    SysInputRadio2->setToolTip(tr("输入选择：蓝牙"));
    SysInputRadio3->setToolTip(tr("输入选择：自动，有蓝牙信号时用蓝牙"));
    SetTag(SysInputRadio1, 0);
    SetTag(SysInputRadio2, 1);
    SetTag(SysInputRadio3, 2);

    // Every state the unit had, and a file against the unit.
    Text(bar, tr("历史"), QRect(780, 1, 196, 15), center);
    NEW(QPushButton, SnapshotBtn, bar)->setText(tr("快照…"));
    SnapshotBtn->setGeometry(780, 16, 76, 22);
    SnapshotBtn->setToolTip(tr("设备在每次读取和覆盖前的参数：差异与恢复"));
    NEW(QPushButton, CompareFileBtn, bar)->setText(tr("与文件比较…"));
    CompareFileBtn->setGeometry(860, 16, 116, 22);
    CompareFileBtn->setToolTip(tr("预设文件与设备（无设备时与屏幕）的差异"));

    // The link's state stands over its button, as each group's title does.
    NEW(QLabel, LinkLabel, bar)->setText(tr("设备未连接"));
    LinkLabel->setGeometry(980, 1, 182, 15);
    LinkLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Right of the link button while several units are listed (see LinkDisplay).
    NEW(QComboBox, UnitChoiceBox, bar)->setGeometry(1052, 16, 110, 22);
    UnitChoiceBox->setToolTip(tr("使用的设备"));
    UnitChoiceBox->setAccessibleName(tr("使用的设备"));
    UnitChoiceBox->hide();
    NEW(QPushButton, LinkBtn, bar)->setText(tr("     联机"));
    LinkBtn->setGeometry(980, 16, 96, 22);
    LinkBtn->setToolTip(tr("重新查找设备并联机"));

    NEW(QPushButton, RzBmpButton1, bar)->setText(tr("工厂隐藏"));
    RzBmpButton1->setGeometry(1086, 16, 76, 22);
    RzBmpButton1->hide();
    NEW(ParamEdit, Example, bar)->setGeometry(600, 8, 40, 22);
    Example->hide();
    NEW(QPushButton, ExampleBtn, bar)->setGeometry(650, 8, 40, 22);
    ExampleBtn->hide();
}

void TForm1::BuildSideColumns() {
    const auto center = Qt::AlignCenter;
    QWidget* left = Panel(CurvyPanel3, "CurvyPanel3", Client(this), QRect(2, 43, 108, 321));
    Text(left, tr("音量"), QRect(0, 4, 108, 18), center, true);
    Text(left, tr("电平指示"), QRect(0, 24, 108, 16), center);
    NEW(LevelMeter, LeftMeter, left)->setGeometry(32, 44, 18, 196);
    NEW(LevelMeter, RightMeter, left)->setGeometry(58, 44, 18, 196);
    LeftMeter->setRange(0, 48);
    RightMeter->setRange(0, 48);
    LeftMeter->setToolTip(tr("左声道电平"));
    RightMeter->setToolTip(tr("右声道电平"));
    Text(left, QStringLiteral("L/R"), QRect(0, 242, 108, 16), center);
    NEW(QLabel, SysMusNormalVolPane, left);
    SetupPane(SysMusNormalVolPane, QRect(14, 262, 80, 20), 12, QStringLiteral("0.0"));
    NEW(QSlider, SysMusNormalVolBar, left);
    SetupBar(SysMusNormalVolBar, QRect(14, 262, 80, 18), 0, 1000, 0);
    SysMusNormalVolBar->setEnabled(false);
    SysMusNormalVolBar->hide();
    NEW(QLabel, DeviceVersionLabel, left)->setText(tr("版本：v0.1.0"));
    DeviceVersionLabel->setGeometry(2, 292, 104, 22);
    DeviceVersionLabel->setAlignment(center);

    QWidget* right = Panel(CurvyPanel4, "CurvyPanel4", Client(this), QRect(1061, 43, 108, 321));
    Text(right, tr("辅助输出 "), QRect(0, 4, 108, 18), center, true);
    Text(right, tr(" 输出类型："), QRect(0, 26, 108, 18), center);
    NEW(QSlider, AuxOutGainBar, right);
    SetupBar(AuxOutGainBar, QRect(43, 50, 22, 196), 0, 6, 5, Qt::Vertical);
    AuxOutGainBar->setToolTip(tr("辅助输出增益，-9 dB 至 +9 dB"));
    AuxOutGainBar->setTickPosition(QSlider::TicksBothSides);
    NEW(QLabel, AuxOutGainPane, right);
    SetupPane(AuxOutGainPane, QRect(14, 256, 80, 20), 20, QStringLiteral("6dB"));

    // Languages by their own names; the choice shows at once and is remembered.
    NEW(QComboBox, LanguageBox, right)->setGeometry(14, 290, 80, 22);
    LanguageBox->addItems({QStringLiteral("中文"), QStringLiteral("English")});
    LanguageBox->setCurrentIndex(CurrentLanguage() == QStringLiteral("en") ? 1 : 0);
    LanguageBox->setToolTip(tr("界面语言（立即生效，下次启动时沿用）"));
    LanguageBox->setAccessibleName(tr("界面语言"));
    LanguageBox->setAccessibleDescription(LanguageBox->accessibleName());
    connect(LanguageBox, &QComboBox::activated, this, [this](int index) {
        ChooseLanguage(this, index == 1 ? QStringLiteral("en") : QStringLiteral("zh"));
    });
}

void TForm1::BuildCompressorPanel(QWidget* page) {
    QWidget* p = Panel(CurvyPanel2, "CurvyPanel2", page, QRect(0, 0, 330, 323));
    Text(p, tr("主声道参数管理"), QRect(0, 3, 330, 18), Qt::AlignCenter, true);

    QLabel* rmsLabel = Text(p, tr("动态压缩使能："), QRect(8, 24, 100, 22));
    NEW(QComboBox, RMSBox, p);
    SetupCombo(RMSBox, QRect(110, 24, 84, 22), {tr("关闭"), tr("打开")});
    rmsLabel->setBuddy(RMSBox);
    RMSBox->setToolTip(tr("动态压缩：打开后按下方曲线压缩主声道"));

    QLabel* attackLabel = Text(p, tr("压缩启动时间"), QRect(8, 50, 90, 20));
    NEW(QSlider, MusRmsAttackBar, p);
    attackLabel->setBuddy(MusRmsAttackBar);
    MusRmsAttackBar->setToolTip(tr("压缩启动时间，1 至 100 ms"));
    SetupBar(MusRmsAttackBar, QRect(100, 50, 150, 20), 1, 100, 10);
    NEW(QLabel, MusRmsAttackPane, p);
    SetupPane(MusRmsAttackPane, QRect(256, 50, 66, 20), 17, QStringLiteral("10.0ms"));

    QLabel* releaseLabel = Text(p, tr("压缩释放时间"), QRect(8, 74, 90, 20));
    NEW(QSlider, MusRmsReleaseBar, p);
    releaseLabel->setBuddy(MusRmsReleaseBar);
    SetupBar(MusRmsReleaseBar, QRect(100, 74, 150, 20), 0, 7, 1);
    NEW(QLabel, MusRmsReleasePane, p);
    SetupPane(MusRmsReleasePane, QRect(256, 74, 66, 20), 16, QString());
    const QString releaseTip = tr("压缩释放时间，为启动时间的倍数（Atk x 8：启动时间的 8 倍）");
    MusRmsReleaseBar->setToolTip(releaseTip);
    MusRmsReleasePane->setToolTip(releaseTip);

    Chart1 = new TChart(p);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setGeometry(4, 100, 204, 219);

    Group(RMSGropbox, "RMSGropbox", p, QString(), QRect(212, 96, 114, 223));
    Text(RMSGropbox, tr("点"), QRect(2, 12, 16, 18), Qt::AlignCenter);
    Text(RMSGropbox, tr("输入/dB"), QRect(18, 12, 46, 18), Qt::AlignCenter);
    Text(RMSGropbox, tr("输出/dB"), QRect(66, 12, 46, 18), Qt::AlignCenter);
    QSpinBox* TForm1::*const spins[10] = {
        &TForm1::RzSpinEdit1, &TForm1::RzSpinEdit2, &TForm1::RzSpinEdit3, &TForm1::RzSpinEdit4,
        &TForm1::RzSpinEdit5, &TForm1::RzSpinEdit6, &TForm1::RzSpinEdit7, &TForm1::RzSpinEdit8,
        &TForm1::RzSpinEdit9, &TForm1::RzSpinEdit10};
    const int defaults[5] = {-90, -70, -40, 0, 21};
    for (int point = 0; point < 5; ++point) {
        const int y = 32 + point * 26;
        Text(RMSGropbox, QString::number(point), QRect(2, y, 16, 22), Qt::AlignCenter);
        for (int side = 0; side < 2; ++side) {
            const int n = point * 2 + side;
            auto* s = new QSpinBox(RMSGropbox);
            this->*spins[n] = s;
            s->setObjectName(QStringLiteral("RzSpinEdit%1").arg(n + 1));
            s->setGeometry(side == 0 ? 18 : 66, y, 46, 22);
            // Any typed level is taken whole when committed; the curve rules hold it.
            s->setRange(-9999, 9999);
            s->setKeyboardTracking(false);
            s->setValue(defaults[point]);
            SetTag(s, 8 + point);
            s->setAccessibleName(side == 0 ? tr("压缩点 %1 输入").arg(point)
                                           : tr("压缩点 %1 输出").arg(point));
        }
    }
    RzSpinEdit1->setEnabled(false);
    RzSpinEdit9->setEnabled(false);
    NEW(QPushButton, RmsResetBtn, RMSGropbox)->setText(tr("复位"));
    RmsResetBtn->setGeometry(18, 166, 94, 24);
}

void TForm1::BuildBandTable(QWidget* page) {
    QWidget* p = Panel(CurvyPanel5, "CurvyPanel5", page, QRect(334, 0, 372, 323));
    QWidget* bar = Panel(CurvyPanel1, "CurvyPanel1", p, QRect(0, 0, 372, 28));
    Text(bar, tr("选择："), QRect(6, 4, 42, 20));
    const QString tabStyle = QStringLiteral(
        "QPushButton { color: white; background: rgb(64, 66, 70); border: 1px solid rgb(40, 40, "
        "40);"
        " border-radius: 3px; } QPushButton:checked { background: rgb(26, 110, 190); }");
    NEW(QPushButton, FormTabBtn1, bar)->setText(tr("主声道"));
    FormTabBtn1->setGeometry(48, 3, 64, 22);
    NEW(QPushButton, FormTabBtn2, bar)->setText(tr("辅助"));
    FormTabBtn2->setGeometry(116, 3, 64, 22);
    for (QPushButton* b : {FormTabBtn1, FormTabBtn2}) {
        b->setCheckable(true);
        b->setStyleSheet(tabStyle);
    }
    SetTag(FormTabBtn1, 0);
    SetTag(FormTabBtn2, 1);
    NEW(QPushButton, ResetBtn, bar)->setText(tr("EQ重置"));
    ResetBtn->setGeometry(204, 3, 74, 22);
    NEW(QPushButton, MusEQAllpassBtn, bar);
    SetupPass(MusEQAllpassBtn, QRect(284, 3, 80, 22), tr("EQ直通"));
    MusEQAllpassBtn->setToolTip(tr("EQ直通：整个均衡器不起作用"));

    const auto center = Qt::AlignCenter;
    Text(p, tr("频率(Hz)"), QRect(22, 30, 72, 18), center);
    Text(p, tr("Q值"), QRect(98, 30, 52, 18), center);
    Text(p, tr("增益(dB)"), QRect(154, 30, 64, 18), center);
    Text(p, tr("EQ类型"), QRect(222, 30, 106, 18), center);
    Text(p, tr("直通"), QRect(327, 30, 44, 18), center);

    ParamEdit* TForm1::*const fre[9] = {
        &TForm1::MusFreEdit1, &TForm1::MusFreEdit2, &TForm1::MusFreEdit3,
        &TForm1::MusFreEdit4, &TForm1::MusFreEdit5, &TForm1::MusFreEdit6,
        &TForm1::MusFreEdit7, &TForm1::MusFreEdit8, &TForm1::MusFreEdit9};
    ParamEdit* TForm1::*const q[9] = {&TForm1::MusQEdit1, &TForm1::MusQEdit2, &TForm1::MusQEdit3,
                                      &TForm1::MusQEdit4, &TForm1::MusQEdit5, &TForm1::MusQEdit6,
                                      &TForm1::MusQEdit7, &TForm1::MusQEdit8, &TForm1::MusQEdit9};
    ParamEdit* TForm1::*const gain[9] = {
        &TForm1::MusGainEdit1, &TForm1::MusGainEdit2, &TForm1::MusGainEdit3,
        &TForm1::MusGainEdit4, &TForm1::MusGainEdit5, &TForm1::MusGainEdit6,
        &TForm1::MusGainEdit7, &TForm1::MusGainEdit8, &TForm1::MusGainEdit9};
    QComboBox* TForm1::*const mode[9] = {
        &TForm1::MusModeBox1, &TForm1::MusModeBox2, &TForm1::MusModeBox3,
        &TForm1::MusModeBox4, &TForm1::MusModeBox5, &TForm1::MusModeBox6,
        &TForm1::MusModeBox7, &TForm1::MusModeBox8, &TForm1::MusModeBox9};
    QCheckBox* TForm1::*const bypass[9] = {
        &TForm1::MusBypassCheck1, &TForm1::MusBypassCheck2, &TForm1::MusBypassCheck3,
        &TForm1::MusBypassCheck4, &TForm1::MusBypassCheck5, &TForm1::MusBypassCheck6,
        &TForm1::MusBypassCheck7, &TForm1::MusBypassCheck8, &TForm1::MusBypassCheck9};
    const BandRowNames names{"MusFreEdit", "MusQEdit", "MusGainEdit", "MusModeBox",
                             "MusBypassCheck"};
    for (int r = 0; r < 9; ++r) {
        const BandRow row = MakeBandRow(p, 50 + r * 23, r + 1, names);
        this->*fre[r] = row.fre;
        this->*q[r] = row.q;
        this->*gain[r] = row.gain;
        this->*mode[r] = row.mode;
        this->*bypass[r] = row.bypass;
    }
    MakeCrossoverRows(p, 261, MusHighPassFre, "MusHighPassFre", MusHighPassBox, "MusHighPassBox",
                      MusLowPassFre, "MusLowPassFre", MusLowPassBox, "MusLowPassBox", kPassTypes);

    // The auxiliary rows cover the nine main rows and the main crossover.
    QWidget* aux = Panel(AuxGrop, "AuxGrop", p, QRect(0, 48, 372, 275));
    ParamEdit* TForm1::*const afre[2] = {&TForm1::AUXFreEdit1, &TForm1::AUXFreEdit2};
    ParamEdit* TForm1::*const aq[2] = {&TForm1::AUXQEdit1, &TForm1::AUXQEdit2};
    ParamEdit* TForm1::*const again[2] = {&TForm1::AUXGainEdit1, &TForm1::AUXGainEdit2};
    QComboBox* TForm1::*const amode[2] = {&TForm1::AUXModeBox1, &TForm1::AUXModeBox2};
    QCheckBox* TForm1::*const abypass[2] = {&TForm1::AuxBypassCheck1, &TForm1::AuxBypassCheck2};
    const BandRowNames auxNames{"AUXFreEdit", "AUXQEdit", "AUXGainEdit", "AUXModeBox",
                                "AuxBypassCheck"};
    for (int r = 0; r < 2; ++r) {
        const BandRow row = MakeBandRow(aux, 2 + r * 23, r + 1, auxNames);
        this->*afre[r] = row.fre;
        this->*aq[r] = row.q;
        this->*again[r] = row.gain;
        this->*amode[r] = row.mode;
        this->*abypass[r] = row.bypass;
    }
    MakeCrossoverRows(aux, 213, AuxHighPassFre, "AuxHighPassFre", AuxHighPassBox, "AuxHighPassBox",
                      AuxLowPassFre, "AuxLowPassFre", AuxLowPassBox, "AuxLowPassBox",
                      kAuxPassTypes);
    aux->hide();

    // Filter text of the module on the graph; above the auxiliary rows too.
    NEW(QPushButton, PeqImportBtn, p)->setText(tr("导入滤波器…"));
    PeqImportBtn->setGeometry(274, 261, 94, 21);
    NEW(QPushButton, PeqExportBtn, p)->setText(tr("导出滤波器…"));
    PeqExportBtn->setGeometry(274, 286, 94, 21);
    PeqImportBtn->setToolTip(tr("从测量软件的参量均衡文本读入频段，应用前先核对"));
    PeqExportBtn->setToolTip(tr("把当前图上的频段写成参量均衡文本"));
}

void TForm1::BuildOtherParams(QWidget* page) {
    QGroupBox* g = Group(AdvGroupBox1, "AdvGroupBox1", page, tr("其它参数"),
                         QRect(710, 0, 236, 323));
    NEW(QComboBox, SubSteroBox, g);
    SetupCombo(SubSteroBox, QRect(116, 20, 110, 22),
               {tr("单声道"), tr("立体声")});
    Text(g, tr("辅助输出："), QRect(10, 20, 100, 22))->setBuddy(SubSteroBox);

    Text(g, tr("左右辅助相位："), QRect(10, 50, 104, 22));
    NEW(QPushButton, SubLPhaseBtn, g);
    SetupPhase(SubLPhaseBtn, QRect(116, 50, 25, 22));
    NEW(QPushButton, SubRPhaseBtn, g);
    SetupPhase(SubRPhaseBtn, QRect(148, 50, 25, 22));

    Text(g, QStringLiteral("L"), QRect(10, 80, 14, 20));
    NEW(QSlider, OutLDelayBar, g);
    SetupBar(OutLDelayBar, QRect(24, 80, 136, 20), 0, 150, 10);
    NEW(QLabel, OutLDelayPane, g);
    SetupPane(OutLDelayPane, QRect(164, 80, 62, 20), 18, QStringLiteral("1.0ms"));
    Text(g, QStringLiteral("R"), QRect(10, 106, 14, 20));
    NEW(QSlider, OutRDelayBar, g);
    SetupBar(OutRDelayBar, QRect(24, 106, 136, 20), 0, 150, 10);
    NEW(QLabel, OutRDelayPane, g);
    SetupPane(OutRDelayPane, QRect(164, 106, 62, 20), 18, QStringLiteral("1.0ms"));

    Text(g, tr("左右通道相位："), QRect(10, 134, 104, 22));
    NEW(QPushButton, OutLPhaseBtn, g);
    SetupPhase(OutLPhaseBtn, QRect(116, 134, 25, 22));
    NEW(QPushButton, OutRPhaseBtn, g);
    SetupPhase(OutRPhaseBtn, QRect(148, 134, 25, 22));
    const std::pair<QPushButton*, QString> phases[4] = {{SubLPhaseBtn, tr("左辅助输出")},
                                                        {SubRPhaseBtn, tr("右辅助输出")},
                                                        {OutLPhaseBtn, tr("左通道")},
                                                        {OutRPhaseBtn, tr("右通道")}};
    for (const auto& [button, side] : phases)
        button->setToolTip(tr("%1极性：+ 正相，- 反相；点击切换").arg(side));

    QLabel* nameLabel = Text(g, tr("蓝牙名称："), QRect(10, 166, 120, 20));
    NEW(QLineEdit, BLUENameEdit, g);
    nameLabel->setBuddy(BLUENameEdit);
    BLUENameEdit->setGeometry(10, 186, 160, 22);
    BLUENameEdit->setMaxLength(MaxBluetoothName); // what one packet can carry
    BLUENameEdit->setText(QStringLiteral("KALVIREN BLUE"));
    NEW(QPushButton, BLUENameBtn, g)->setText(tr("更改"));
    BLUENameBtn->setGeometry(176, 186, 50, 22);
    BLUENameEdit->setToolTip(tr("设备在蓝牙中显示的名称，最多 %1 个字符").arg(MaxBluetoothName));
    BLUENameBtn->setToolTip(tr("把蓝牙名称发送到设备"));
    BLUENameBtn->setAccessibleName(tr("更改蓝牙名称"));

    QLabel* pinLabel = Text(g, tr("蓝牙配对码："), QRect(10, 218, 120, 20));
    NEW(QLineEdit, BluePinEdit, g);
    pinLabel->setBuddy(BluePinEdit);
    BluePinEdit->setGeometry(10, 238, 160, 22);
    BluePinEdit->setMaxLength(4);
    BluePinEdit->setText(QStringLiteral("1234"));
    NEW(QPushButton, BLUEPinBtn, g)->setText(tr("更改"));
    BLUEPinBtn->setGeometry(176, 238, 50, 22);
    BluePinEdit->setToolTip(tr("蓝牙配对码，4 位数字"));
    BLUEPinBtn->setToolTip(tr("把配对码发送到设备"));
    BLUEPinBtn->setAccessibleName(tr("更改蓝牙配对码"));
}

// The two dynamic EQ groups; the second is built but not in use.
void TForm1::BuildDynamicEqGroups(QWidget* page) {
    const QStringList deqTypes = {QStringLiteral("PEQ"), QStringLiteral("LSEQ"),
                                  QStringLiteral("HSEQ")};
    const QStringList deqTriggers = {tr(" 低启动"), tr("高启动")};

    struct DeqSet {
        QGroupBox* TForm1::*group;
        const char* groupName;
        QSlider* TForm1::*rmsBar;
        QLabel* TForm1::*rmsPane;
        QSlider* TForm1::*maxBar;
        QLabel* TForm1::*maxPane;
        QPushButton* TForm1::*pass;
        ParamEdit* TForm1::*fre;
        ParamEdit* TForm1::*q;
        ParamEdit* TForm1::*gain;
        QComboBox* TForm1::*mode;
        QComboBox* TForm1::*type;
    };
    const DeqSet sets[2] = {
        {&TForm1::DEQ1Gropx, "DEQ1Gropx", &TForm1::DEQRmsLevelBar1, &TForm1::DEQRmsLevelPane1,
         &TForm1::DEQMaxLevelBar1, &TForm1::DEQMaxLevelPane1, &TForm1::DEQALLPASSBtn1,
         &TForm1::DEQFreEdit1, &TForm1::DEQQEdit1, &TForm1::DEQGainEdit1, &TForm1::DEQModeBox1,
         &TForm1::DEQTypeBox1},
        {&TForm1::DEQ2Gropx, "DEQ2Gropx", &TForm1::DEQRmsLevelBar2, &TForm1::DEQRmsLevelPane2,
         &TForm1::DEQMaxLevelBar2, &TForm1::DEQMaxLevelPane2, &TForm1::DEQALLPASSBtn2,
         &TForm1::DEQFreEdit2, &TForm1::DEQQEdit2, &TForm1::DEQGainEdit2, &TForm1::DEQModeBox2,
         &TForm1::DEQTypeBox2}};
    for (int k = 0; k < 2; ++k) {
        const DeqSet& d = sets[k];
        const QString n = QString::number(k + 1);
        QGroupBox* g = Group(this->*d.group, d.groupName, page, QStringLiteral("DEQ") + n,
                             QRect(0, k * 164, 330, 158));
        auto name = [&](QObject* o, const char* base) {
            o->setObjectName(QString::fromLatin1(base) + n);
        };
        const struct {
            QString Label;
            int Y;
            QSlider* TForm1::*Bar;
            const char* BarName;
            QLabel* TForm1::*Pane;
            const char* PaneName;
            int Kind;
            QString PaneText;
        } levels[2] = {{tr("启动电平"), 22, d.rmsBar, "DEQRmsLevelBar", d.rmsPane,
                        "DEQRmsLevelPane", 35, QStringLiteral("-36dBu")},
                       {tr("截止电平"), 48, d.maxBar, "DEQMaxLevelBar", d.maxPane,
                        "DEQMaxLevelPane", 36, QStringLiteral("-30dBu")}};
        for (const auto& l : levels) {
            Text(g, l.Label, QRect(8, l.Y, 64, 20));
            auto* bar = new QSlider(g);
            this->*l.Bar = bar;
            name(bar, l.BarName);
            SetupBar(bar, QRect(74, l.Y, 176, 20), 0, 48, 0);
            auto* pane = new QLabel(g);
            this->*l.Pane = pane;
            name(pane, l.PaneName);
            SetupPane(pane, QRect(256, l.Y, 66, 20), l.Kind, l.PaneText);
        }
        const std::pair<QString, QRect> heads[4] = {{tr("频率(Hz)"), QRect(8, 76, 72, 18)},
                                                    {tr("Q值"), QRect(84, 76, 52, 18)},
                                                    {tr("增益(dB)"), QRect(140, 76, 64, 18)},
                                                    {tr("EQ类型"), QRect(208, 76, 70, 18)}};
        for (const auto& [text, rect] : heads)
            Text(g, text, rect, Qt::AlignCenter);
        const struct {
            ParamEdit* TForm1::*Edit;
            const char* Name;
            QRect Rect;
            int Kind;
        } edits[3] = {{d.fre, "DEQFreEdit", QRect(8, 96, 72, 21), 2},
                      {d.q, "DEQQEdit", QRect(84, 96, 52, 21), 4},
                      {d.gain, "DEQGainEdit", QRect(140, 96, 64, 21), 3}};
        for (const auto& e : edits) {
            auto* edit = new ParamEdit(g);
            this->*e.Edit = edit;
            name(edit, e.Name);
            SetupEdit(edit, e.Rect, e.Kind);
        }
        auto* mo = new QComboBox(g);
        this->*d.mode = mo;
        name(mo, "DEQModeBox");
        SetupCombo(mo, QRect(208, 96, 70, 21), deqTypes);
        auto* pb = new QPushButton(g);
        this->*d.pass = pb;
        name(pb, "DEQALLPASSBtn");
        SetupPass(pb, QRect(282, 96, 42, 21), QStringLiteral("Pass"));
        pb->setToolTip(tr("动态EQ直通：不起作用"));
        auto* ty = new QComboBox(g);
        this->*d.type = ty;
        name(ty, "DEQTypeBox");
        SetupCombo(ty, QRect(208, 124, 70, 21), deqTriggers, QStringLiteral("3"));
        ty->hide();
    }
    DEQ2Gropx->setEnabled(false);
    for (QWidget* w : DEQ2Gropx->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        w->hide();
}

void TForm1::BuildFactoryPage(QWidget* page) {
    const auto center = Qt::AlignCenter;
    BuildDynamicEqGroups(page);

    QGroupBox* h =
        Group(DEQ4Grop, "DEQ4Grop", page, tr("主输出默认EQ"), QRect(334, 0, 372, 184));
    Text(h, tr("频率(Hz)"), QRect(22, 16, 72, 18), center);
    Text(h, tr("Q值"), QRect(98, 16, 52, 18), center);
    Text(h, tr("增益(dB)"), QRect(154, 16, 64, 18), center);
    Text(h, tr("EQ类型"), QRect(222, 16, 106, 18), center);
    Text(h, tr("直通"), QRect(327, 16, 44, 18), center);
    ParamEdit* TForm1::*const fre[4] = {&TForm1::HintFreEdit1, &TForm1::HintFreEdit2,
                                        &TForm1::HintFreEdit3, &TForm1::HintFreEdit4};
    ParamEdit* TForm1::*const q[4] = {&TForm1::HintQEdit1, &TForm1::HintQEdit2, &TForm1::HintQEdit3,
                                      &TForm1::HintQEdit4};
    ParamEdit* TForm1::*const gain[4] = {&TForm1::HintGainEdit1, &TForm1::HintGainEdit2,
                                         &TForm1::HintGainEdit3, &TForm1::HintGainEdit4};
    QComboBox* TForm1::*const mode[4] = {&TForm1::HintModeBox1, &TForm1::HintModeBox2,
                                         &TForm1::HintModeBox3, &TForm1::HintModeBox4};
    QCheckBox* TForm1::*const bypass[4] = {&TForm1::HintBypassCheck1, &TForm1::HintBypassCheck2,
                                           &TForm1::HintBypassCheck3, &TForm1::HintBypassCheck4};
    const BandRowNames names{"HintFreEdit", "HintQEdit", "HintGainEdit", "HintModeBox",
                             "HintBypassCheck"};
    for (int r = 0; r < 4; ++r) {
        const BandRow row = MakeBandRow(h, 34 + r * 23, r + 1, names);
        this->*fre[r] = row.fre;
        this->*q[r] = row.q;
        this->*gain[r] = row.gain;
        this->*mode[r] = row.mode;
        this->*bypass[r] = row.bypass;
    }
    MakeCrossoverRows(h, 130, HintHighPassFre, "HintHighPassFre", HintHighPassBox,
                      "HintHighPassBox", HintLowPassFre, "HintLowPassFre", HintLowPassBox,
                      "HintLowPassBox", kPassTypes);

    QLabel* levelLabel = Text(page, tr("端口电平："), QRect(340, 194, 80, 22));
    NEW(QComboBox, SysIOLevelBox, page);
    levelLabel->setBuddy(SysIOLevelBox);
    SetupCombo(SysIOLevelBox, QRect(424, 194, 84, 22),
               {QStringLiteral("0dB"), QStringLiteral("6dB")});
    NEW(QComboBox, InputBox, page);
    SetupCombo(InputBox, QRect(520, 194, 84, 22),
               {QStringLiteral("RCA "), tr("蓝牙"), tr("自动")});
    InputBox->hide();
    QLabel* codeLabel = Text(page, tr("发送测试码："), QRect(340, 226, 84, 22));
    NEW(QLineEdit, BlueStrEdit, page)->setGeometry(424, 226, 206, 22);
    codeLabel->setBuddy(BlueStrEdit);
    NEW(QPushButton, BleButton, page)->setText(tr("发送"));
    BleButton->setGeometry(636, 226, 64, 22);

    QGroupBox* dev = Group(AdvGroupBox2, "AdvGroupBox2", page, tr("设备数据"),
                           QRect(710, 0, 236, 323));
    const QString help[4] = {tr("1. 启动电平：信号高于此电平时动态EQ开始动作。"),
                             tr("2. 截止电平：信号达到此电平时增益达到设定值。"),
                             tr("3. 启动电平始终不高于截止电平。"),
                             tr("4. Pass：动态EQ直通，不起作用。")};
    for (int i = 0; i < 4; ++i) {
        QLabel* l =
            Text(dev, help[i], QRect(10, 22 + i * 54, 216, 50), Qt::AlignLeft | Qt::AlignTop);
        l->setWordWrap(true);
    }
    NEW(QPushButton, DeviceResetBtn, dev)->setText(tr("恢复出厂"));
    DeviceResetBtn->setGeometry(58, 280, 120, 28);
}

void TForm1::BuildGraphPanel() {
    QWidget* panel = NEW(QWidget, EQAdvPanel, Client(this));
    panel->setAttribute(Qt::WA_StyledBackground, true);
    // RGB(154, 148, 142) with a 1-pixel RGB(77, 77, 77) border.
    panel->setStyleSheet(QStringLiteral("QWidget#EQAdvPanel { background: rgb(154, 148, 142); "
                                        "border: 1px solid rgb(77, 77, 77); }"));
    panel->setGeometry(1, 366, 1166, 308);

    NEW(QWidget, AdvPanel2, panel)->setGeometry(48, 18, 1104, 270);
    // Above the graph, where its curves are drawn: no room in the band table.
    NEW(QToolButton, FitMeasureBtn, panel)->setText(tr("按测量拟合…"));
    FitMeasureBtn->setToolTip(tr("读取测量文件，在本机的频率、Q 和增益档位上拟合频段"));
    // As wide as the language's text, with room to spare.
    const auto roomFor = [](QToolButton* b) {
        return std::max(110, b->fontMetrics().horizontalAdvance(b->text()) + 24);
    };
    FitMeasureBtn->setGeometry(48, 1, roomFor(FitMeasureBtn), 16);
    NEW(QToolButton, FitOverlayCloseBtn, panel)->setText(tr("隐藏测量曲线"));
    FitOverlayCloseBtn->setToolTip(tr("不再显示测量、目标和预测曲线"));
    FitOverlayCloseBtn->setGeometry(FitMeasureBtn->geometry().right() + 7, 1,
                                    roomFor(FitOverlayCloseBtn), 16);
    FitOverlayCloseBtn->hide(); // shown with the curves
    NEW(TImage, Image1, AdvPanel2)->setGeometry(0, 0, 1104, 270);

    TImage* TForm1::*const bands[15] = {&TForm1::EP1,  &TForm1::EP2,  &TForm1::EP3,  &TForm1::EP4,
                                        &TForm1::EP5,  &TForm1::EP6,  &TForm1::EP7,  &TForm1::EP8,
                                        &TForm1::EP9,  &TForm1::EP10, &TForm1::EP11, &TForm1::EP12,
                                        &TForm1::EP13, &TForm1::EP14, &TForm1::EP15};
    for (int k = 0; k < 15; ++k) {
        auto* h = new TImage(AdvPanel2);
        this->*bands[k] = h;
        h->setObjectName(QStringLiteral("EP%1").arg(k + 1));
        h->setGeometry(20 + k * 60, 120, 18, 18);
        h->setAttribute(Qt::WA_TranslucentBackground, true);
        if (k >= 9) h->hide();
    }
    NEW(TImage, HPF, AdvPanel2)->setGeometry(4, 120, 24, 24);
    NEW(TImage, LPF, AdvPanel2)->setGeometry(1070, 120, 24, 24);
    // Their icons are drawn by the graph when it takes the controls.

    NEW(QLabel, EQlabel, AdvPanel2);
    QFont bold = EQlabel->font();
    bold.setBold(true);
    bold.setPointSize(8);
    EQlabel->setFont(bold);
    EQlabel->setAlignment(Qt::AlignCenter);
    EQlabel->setStyleSheet(QStringLiteral("color: rgb(199, 255, 255); background: transparent;"));
    EQlabel->setGeometry(500, 4, 120, 42);

    NEW(QLabel, Label2, AdvPanel2)->hide();

    NEW(QLabel, EQPassLabel, AdvPanel2)->setText(QStringLiteral("EQ PASS"));
    QFont big = EQPassLabel->font();
    big.setBold(true);
    big.setPixelSize(35);
    EQPassLabel->setFont(big);
    EQPassLabel->setAlignment(Qt::AlignCenter);
    EQPassLabel->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    EQPassLabel->setGeometry(400, 72, 150, 46);
    EQPassLabel->hide();

    NEW(QLabel, EQFormLabel, panel)->setGeometry(4, 4, 40, 14);
    EQFormLabel->hide();
    NEW(QPlainTextEdit, Memo1, panel)->setGeometry(4, 30, 40, 40);
    // The checksum log: a unit answering with bad sums adds lines for ever.
    Memo1->setMaximumBlockCount(ChecksumLogLines);
    Memo1->hide();
}
