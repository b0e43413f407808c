// The main window headless: start-up state, tabs, factory page, tick,
// and the binding of every control.
#include "app/WindowState.h"
#include "params/ControlBindings.h"
#include "params/ControlProps.h"
#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "params/ParamImage.h"
#include "tests/support/AppFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>

#include <map>
#include <set>

namespace {

class MainWindow : public AppFixture {};

const char* const kCaption = "QZ系列 DSP控制软件 v3.4.2 Beta";

TEST(MainWindowCreation, WindowIsBuiltButNotStartedBeforeItsFirstShowing) {
    TForm1 form;
    EXPECT_EQ(Form1, &form);
    EXPECT_EQ(form.windowTitle(), kCaption);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 10);
    EXPECT_EQ(form.Timer1->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(form.size(), QSize(1171, 678));
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(form.RzBmpButton1->isHidden());
    EXPECT_TRUE(form.EQPassLabel->isHidden());
    EXPECT_TRUE(form.Memo1->isHidden());
    EXPECT_TRUE(form.EP10->isHidden());
    EXPECT_EQ(form.EQAdvPanel->geometry(), QRect(1, 366, 1166, 308));
    EXPECT_EQ(form.Image1->size(), QSize(1104, 270));
    // Handles in graph order, each carrying its position.
    const QWidget* order[17] = {form.EP1,  form.EP2,  form.EP3,  form.EP4,  form.EP5, form.EP6,
                                form.EP7,  form.EP8,  form.EP9,  form.HPF,  form.LPF, form.EP12,
                                form.EP13, form.EP14, form.EP15, form.EP10, form.EP11};
    for (int pos = 0; pos < 17; ++pos) {
        EXPECT_EQ(Window.EqHandles[pos], order[pos]) << pos;
        EXPECT_EQ(Tag(order[pos]), pos);
    }
}

TEST(MainWindowCreation, FormShowRunsOnceAndStartsTheTick) {
    TForm1 form;
    form.FormShow();
    EXPECT_TRUE(form.Timer1->isActive());
    form.Timer1->stop();
    Params.DeviceImage[1][21] = 100;
    form.FormShow(); // a second showing does not reset the bands
    EXPECT_EQ(Params.DeviceImage[1][21], 100);
}

TEST_F(MainWindow, StartShowsDefaultsAndNoConnection) {
    EXPECT_EQ(form->windowTitle(), kCaption);
    EXPECT_EQ(form->LinkLabel->text(), "设备未连接");
    EXPECT_EQ(form->LinkBtn->text(), "     联机");
    EXPECT_EQ(form->DeviceVersionLabel->text(), "版本：v0.1.0");
    EXPECT_TRUE(form->AuxGrop->isHidden());
    EXPECT_FALSE(form->MusEQAllpassBtn->isHidden());
    EXPECT_EQ(Window.CurrentModule, 1);
    EXPECT_EQ(form->MainFuntionSheetPage->currentWidget(), form->AdvTabSheet1);
    EXPECT_TRUE(form->FormTabBtn1->isChecked());
    EXPECT_FALSE(form->FormTabBtn2->isChecked());
    // The refresh's track bar moves leave no edit in use.
    EXPECT_EQ(Dispatch.CurrentEdit, form->Example);
    EXPECT_EQ(form->BLUENameEdit->text(), "KALVIREN BLUE");
    EXPECT_EQ(form->BLUENameEdit->maxLength(), 18); // what one packet can carry after "NA+"
    EXPECT_EQ(form->BluePinEdit->text().size(), 4);
    EXPECT_EQ(form->BluePinEdit->maxLength(), 4);

    EXPECT_EQ(P(1, 18), 361);
    EXPECT_EQ(P(1, 13), 0);
    EXPECT_EQ(P(1, 0), 2);
    EXPECT_EQ(P(1, 21), 5);
    EXPECT_EQ(P(2, 32), 361);
    EXPECT_EQ(P(2, 38 + 1), 185);

    const QLineEdit* freq[9] = {form->MusFreEdit1, form->MusFreEdit2, form->MusFreEdit3,
                                form->MusFreEdit4, form->MusFreEdit5, form->MusFreEdit6,
                                form->MusFreEdit7, form->MusFreEdit8, form->MusFreEdit9};
    const char* texts[9] = {"21.7",   "46.8",   "101.0",  "218.0",  "472.0",
                            "1020.0", "2200.0", "4760.0", "10300.0"};
    for (int b = 0; b < 9; ++b)
        EXPECT_EQ(freq[b]->text(), texts[b]) << b;
    EXPECT_EQ(form->MusGainEdit1->text(), "0.0dB");
    EXPECT_EQ(form->MusQEdit1->text(), "1.00");
    EXPECT_EQ(form->MusModeBox1->currentText(), "参量均衡");
    EXPECT_EQ(form->MusLowPassFre->text(), "20600.0");
    EXPECT_EQ(form->MusHighPassBox->currentText(), "OFF");
    EXPECT_EQ(form->AUXFreEdit2->text(), "694.0");
    EXPECT_EQ(form->OutLDelayPane->text(), "0.2ms");
}

TEST_F(MainWindow, BothImagesAgreeOnEveryBoundSlotAfterStart) {
    for (int m = 0; m <= LastModule; ++m)
        for (int i = 0; i < ModuleParamCount[m]; ++i)
            EXPECT_EQ(P(m, i), D(m, i)) << m << "," << i;
}

TEST_F(MainWindow, TabsSwitchTheModuleAndTheAuxiliaryRows) {
    click(form->FormTabBtn2);
    EXPECT_EQ(Window.CurrentModule, 2);
    EXPECT_FALSE(form->AuxGrop->isHidden());
    EXPECT_TRUE(form->MusEQAllpassBtn->isHidden());
    EXPECT_TRUE(form->FormTabBtn2->isChecked());
    EXPECT_FALSE(form->FormTabBtn1->isChecked());
    EXPECT_TRUE(form->FormTabBtn2->font().bold());
    EXPECT_FALSE(form->FormTabBtn1->font().bold());
    EXPECT_EQ(form->EQFormLabel->text(), "辅助");

    click(form->FormTabBtn1);
    EXPECT_EQ(Window.CurrentModule, 1);
    EXPECT_TRUE(form->AuxGrop->isHidden());
    EXPECT_FALSE(form->MusEQAllpassBtn->isHidden());
    EXPECT_EQ(form->EQFormLabel->text(), "主声道");
    EXPECT_TRUE(Sent().empty());
}

TEST_F(MainWindow, ClickingTheSelectedTabRefreshesAndChangesNothingElse) {
    Params.DeviceImage[1][21] = 45; // e.g. after a bulk read
    click(form->FormTabBtn1);
    EXPECT_EQ(form->MusFreEdit1->text(), "46.8");
    EXPECT_EQ(Window.CurrentModule, 1);
    EXPECT_TRUE(form->FormTabBtn1->isChecked());
    EXPECT_TRUE(Sent().empty());
}

TEST_F(MainWindow, FactoryButtonSwitchesPagesAndModules) {
    form->RzBmpButton1Click(form->RzBmpButton1);
    EXPECT_EQ(form->MainFuntionSheetPage->currentWidget(), form->AdvTabSheet2);
    EXPECT_EQ(form->RzBmpButton1->text(), "主页");
    EXPECT_EQ(Window.CurrentModule, 2);
    EXPECT_TRUE(form->RzBmpButton1->isHidden());

    form->RzBmpButton1Click(form->RzBmpButton1);
    EXPECT_EQ(form->MainFuntionSheetPage->currentWidget(), form->AdvTabSheet1);
    EXPECT_EQ(form->RzBmpButton1->text(), "工厂隐藏");
    EXPECT_EQ(Window.CurrentModule, 1);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(MainWindow, FactoryPageEditsItsRowsWithModuleTwoShown) {
    form->RzBmpButton1Click(form->RzBmpButton1);
    selectCombo(form->HintModeBox1, 1);
    typeInto(form->HintQEdit1, "2");
    // Module 2 is on the graph: the shelf band's Q goes to its second slot.
    EXPECT_EQ(form->HintQEdit1->text(), "1.40");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x22B, 1, false}, {0x22F, 31, false}}));
}

TEST_F(MainWindow, DynamicEqQAlwaysUsesTheLongTable) {
    typeInto(form->DEQQEdit1, "200");
    EXPECT_EQ(form->DEQQEdit1->text(), "128.00");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x205, 109, false}}));
}

TEST_F(MainWindow, TickWithoutDragSendsNothing) {
    typeInto(form->MusGainEdit2, "3");
    ClearSent();
    for (int i = 0; i < 5; ++i)
        form->Timer1Timer(form->Timer1);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(MainWindow, EveryBoundControlCarriesItsLastAddress) {
    std::map<const QWidget*, int> last;
    for (int m = 0; m <= LastModule; ++m)
        for (int i = 0; i < ModuleParamCount[m]; ++i) {
            if (QWidget* c = Bindings.ControlMap[m][i]; c && c != form->Example)
                last[c] = m * 256 + i;
            if (QWidget* k = Bindings.CompanionMap[m][i]) last[k] = m * 256 + i;
        }
    EXPECT_GT(last.size(), 120u);
    for (const auto& [control, address] : last)
        EXPECT_EQ(Tag(control), address) << control->objectName().toStdString();
    EXPECT_EQ(Tag(form->MusQEdit1), 0x118);
    EXPECT_EQ(Tag(form->MusBypassCheck9), 0x140 - 4);
    EXPECT_EQ(Tag(form->HintLowPassFre), 0x242);
    EXPECT_EQ(Tag(form->SysIOLevelBox), 0x00B);
    // Every control on screen with a kind is bound.
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (w == form->Example || Hint(w).isEmpty() || w == form->RMSmatrixBox ||
            w == form->LMH_BYPSSBox)
            continue;
        EXPECT_TRUE(last.count(w)) << w->objectName().toStdString();
    }
}

TEST_F(MainWindow, KindsAndStartsFollowTheLayout) {
    EXPECT_EQ(Hint(form->MusFreEdit3), "2");
    EXPECT_EQ(Hint(form->MusGainEdit3), "3");
    EXPECT_EQ(Hint(form->AUXQEdit2), "4");
    EXPECT_EQ(Hint(form->MusRmsReleasePane), "16");
    EXPECT_EQ(Hint(form->MusRmsAttackPane), "17");
    EXPECT_EQ(Hint(form->OutRDelayPane), "18");
    EXPECT_EQ(Hint(form->AuxOutGainPane), "20");
    EXPECT_EQ(Hint(form->DEQRmsLevelPane2), "35");
    EXPECT_EQ(Hint(form->DEQMaxLevelPane1), "36");
    EXPECT_EQ(Hint(form->SysMusNormalVolPane), "12");
    EXPECT_EQ(Hint(form->DEQTypeBox1), "3");
    EXPECT_EQ(Hint(form->AuxLowPassBox), "1");
    EXPECT_EQ(form->AuxLowPassBox->count(), 7);
    EXPECT_EQ(form->MusLowPassBox->count(), 4);
    EXPECT_EQ(form->RMSmatrixBox->count(), 25);
    EXPECT_EQ(form->RMSmatrixBox->itemText(5), "M2-1");
    EXPECT_EQ(form->MusRmsAttackBar->minimum(), 1);
    EXPECT_EQ(form->MusRmsAttackBar->maximum(), 100);
    EXPECT_EQ(form->SysMusNormalVolBar->maximum(), 1000);
    EXPECT_FALSE(form->SysMusNormalVolBar->isEnabled());
    EXPECT_FALSE(form->RzSpinEdit1->isEnabled());
    EXPECT_FALSE(form->RzSpinEdit9->isEnabled());
    EXPECT_EQ(Tag(form->RzSpinEdit5), 10);
    EXPECT_EQ(form->InputBox->itemText(0), "RCA ");
    EXPECT_FALSE(form->DEQ2Gropx->isEnabled());
    EXPECT_TRUE(form->DEQQEdit2->isHidden());
    EXPECT_TRUE(form->DEQTypeBox1->isHidden());
    EXPECT_TRUE(form->DynRMSGrop->isHidden());
    EXPECT_EQ(Tag(form->SysInputRadio3), 2);
    EXPECT_EQ(Tag(form->FormTabBtn2), 1);
}

TEST_F(MainWindow, OnlyThePolarityButtonsAre25PixelsWide) {
    const std::set<QObject*> phase = {form->OutLPhaseBtn, form->OutRPhaseBtn, form->SubLPhaseBtn,
                                      form->SubRPhaseBtn};
    for (QPushButton* b : form->findChildren<QPushButton*>())
        EXPECT_EQ(IsPhaseButton(b), phase.count(b) == 1) << b->objectName().toStdString();
}

TEST_F(MainWindow, ObjectNamesAreTheMemberNames) {
#define KV_NAMED(member) EXPECT_EQ(form->member->objectName(), #member)
    KV_NAMED(AdvGroupBox19);
    KV_NAMED(DeviceSaveBtn);
    KV_NAMED(SysInputRadio2);
    KV_NAMED(LinkLabel);
    KV_NAMED(RzBmpButton1);
    KV_NAMED(Example);
    KV_NAMED(LeftMeter);
    KV_NAMED(SysMusNormalVolBar);
    KV_NAMED(AuxOutGainPane);
    KV_NAMED(MainFuntionSheetPage);
    KV_NAMED(AdvTabSheet2);
    KV_NAMED(Chart1);
    KV_NAMED(RzSpinEdit10);
    KV_NAMED(MusFreEdit9);
    KV_NAMED(MusModeBox4);
    KV_NAMED(MusBypassCheck7);
    KV_NAMED(MusQEdit2);
    KV_NAMED(MusGainEdit8);
    KV_NAMED(AuxGrop);
    KV_NAMED(AUXQEdit2);
    KV_NAMED(AuxBypassCheck1);
    KV_NAMED(OutRDelayPane);
    KV_NAMED(BluePinEdit);
    KV_NAMED(DEQRmsLevelBar2);
    KV_NAMED(DEQALLPASSBtn1);
    KV_NAMED(HintGainEdit4);
    KV_NAMED(HintBypassCheck3);
    KV_NAMED(HintLowPassBox);
    KV_NAMED(DeviceResetBtn);
    KV_NAMED(EQAdvPanel);
    KV_NAMED(AdvPanel2);
    KV_NAMED(Image1);
    KV_NAMED(EP15);
    KV_NAMED(HPF);
    KV_NAMED(EQPassLabel);
    KV_NAMED(Memo1);
    KV_NAMED(LMH_BYPSSBox);
    KV_NAMED(Timer1);
#undef KV_NAMED
}

} // namespace
