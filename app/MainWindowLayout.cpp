// Layout of the main window: every control in its container with its texts,
// items, ranges, start values and the kind number in its Hint.
#include "app/LayoutParts.h"

using namespace layout;

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
            s->setValue(StartCurve[point]);
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

