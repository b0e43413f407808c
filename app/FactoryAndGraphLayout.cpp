// Layout of the main window's factory page (the dynamic EQ groups, the default
// EQ, the input level and the unit's data) and of the equaliser graph panel.
#include "app/LayoutParts.h"

using namespace layout;

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
