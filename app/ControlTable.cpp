#include "app/ControlTable.h"

#include "app/LinkDisplay.h"
#include "app/MainWindow.h"
#include "app/WindowState.h"
#include "params/ControlBindings.h"
#include "params/Dispatcher.h"
#include "presets/DeviceMemory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <vector>

namespace {

// Every slot shown by one control (and its companion), by its catalogue key.
std::vector<SlotControl> SingleSlots(const TForm1& f) {
    return {
        {"input", f.InputBox, nullptr},
        {"port.level", f.SysIOLevelBox, nullptr},
        {"delay.left", f.OutLDelayBar, f.OutLDelayPane},
        {"volume", f.SysMusNormalVolBar, f.SysMusNormalVolPane},
        {"delay.right", f.OutRDelayBar, f.OutRDelayPane},
        {"phase.left", f.OutLPhaseBtn, nullptr},
        {"comp.on", f.RMSBox, nullptr},
        {"comp.attack", f.MusRmsAttackBar, f.MusRmsAttackPane},
        {"comp.release", f.MusRmsReleaseBar, f.MusRmsReleasePane},
        {"phase.right", f.OutRPhaseBtn, nullptr},
        {"hp.type", f.MusHighPassBox, nullptr},
        {"hp.freq", f.MusHighPassFre, nullptr},
        {"lp.type", f.MusLowPassBox, nullptr},
        {"lp.freq", f.MusLowPassFre, nullptr},
        {"eq.pass", f.MusEQAllpassBtn, nullptr},
        {"deq1.pass", f.DEQALLPASSBtn1, nullptr},
        {"deq1.type", f.DEQModeBox1, nullptr},
        {"deq1.freq", f.DEQFreEdit1, nullptr},
        {"deq1.gain", f.DEQGainEdit1, nullptr},
        {"deq1.q", f.DEQQEdit1, nullptr},
        {"deq1.trigger", f.DEQTypeBox1, nullptr},
        {"deq1.start", f.DEQRmsLevelBar1, f.DEQRmsLevelPane1},
        {"deq1.cutoff", f.DEQMaxLevelBar1, f.DEQMaxLevelPane1},
        {"deq2.pass", f.DEQALLPASSBtn2, nullptr},
        {"deq2.type", f.DEQModeBox2, nullptr},
        {"deq2.freq", f.DEQFreEdit2, nullptr},
        {"deq2.gain", f.DEQGainEdit2, nullptr},
        {"deq2.q", f.DEQQEdit2, nullptr},
        {"deq2.trigger", f.DEQTypeBox2, nullptr},
        {"deq2.start", f.DEQRmsLevelBar2, f.DEQRmsLevelPane2},
        {"deq2.cutoff", f.DEQMaxLevelBar2, f.DEQMaxLevelPane2},
        {"aux.gain", f.AuxOutGainBar, f.AuxOutGainPane},
        {"aux.mode", f.SubSteroBox, nullptr},
        {"aux.phase.left", f.SubLPhaseBtn, nullptr},
        {"aux.phase.right", f.SubRPhaseBtn, nullptr},
        {"aux.hp.type", f.AuxHighPassBox, nullptr},
        {"aux.hp.freq", f.AuxHighPassFre, nullptr},
        {"aux.lp.type", f.AuxLowPassBox, nullptr},
        {"aux.lp.freq", f.AuxLowPassFre, nullptr},
        {"default.hp.type", f.HintHighPassBox, nullptr},
        {"default.hp.freq", f.HintHighPassFre, nullptr},
        {"default.lp.type", f.HintLowPassBox, nullptr},
        {"default.lp.freq", f.HintLowPassFre, nullptr},
    };
}

// Every band in the five-slot layout, by the key of its row.
std::vector<BandControls> Bands(const TForm1& f) {
    return {
        {"band1", f.MusModeBox1, f.MusBypassCheck1, f.MusFreEdit1, f.MusGainEdit1, f.MusQEdit1},
        {"band2", f.MusModeBox2, f.MusBypassCheck2, f.MusFreEdit2, f.MusGainEdit2, f.MusQEdit2},
        {"band3", f.MusModeBox3, f.MusBypassCheck3, f.MusFreEdit3, f.MusGainEdit3, f.MusQEdit3},
        {"band4", f.MusModeBox4, f.MusBypassCheck4, f.MusFreEdit4, f.MusGainEdit4, f.MusQEdit4},
        {"band5", f.MusModeBox5, f.MusBypassCheck5, f.MusFreEdit5, f.MusGainEdit5, f.MusQEdit5},
        {"band6", f.MusModeBox6, f.MusBypassCheck6, f.MusFreEdit6, f.MusGainEdit6, f.MusQEdit6},
        {"band7", f.MusModeBox7, f.MusBypassCheck7, f.MusFreEdit7, f.MusGainEdit7, f.MusQEdit7},
        {"band8", f.MusModeBox8, f.MusBypassCheck8, f.MusFreEdit8, f.MusGainEdit8, f.MusQEdit8},
        {"band9", f.MusModeBox9, f.MusBypassCheck9, f.MusFreEdit9, f.MusGainEdit9, f.MusQEdit9},
        {"aux.band1", f.AUXModeBox1, f.AuxBypassCheck1, f.AUXFreEdit1, f.AUXGainEdit1, f.AUXQEdit1},
        {"aux.band2", f.AUXModeBox2, f.AuxBypassCheck2, f.AUXFreEdit2, f.AUXGainEdit2, f.AUXQEdit2},
        {"default.band1", f.HintModeBox1, f.HintBypassCheck1, f.HintFreEdit1, f.HintGainEdit1, f.HintQEdit1},
        {"default.band2", f.HintModeBox2, f.HintBypassCheck2, f.HintFreEdit2, f.HintGainEdit2, f.HintQEdit2},
        {"default.band3", f.HintModeBox3, f.HintBypassCheck3, f.HintFreEdit3, f.HintGainEdit3, f.HintQEdit3},
        {"default.band4", f.HintModeBox4, f.HintBypassCheck4, f.HintFreEdit4, f.HintGainEdit4, f.HintQEdit4},
    };
}

} // namespace

void MapParamControls(TForm1& f) {
    const std::vector<SlotControl> singles = SingleSlots(f);
    const std::vector<BandControls> bands = Bands(f);
    const TwoStateControl twoState[] = {
        {f.OutLPhaseBtn, PolarityButton},  {f.OutRPhaseBtn, PolarityButton},
        {f.SubLPhaseBtn, PolarityButton},  {f.SubRPhaseBtn, PolarityButton},
        {f.DEQALLPASSBtn1, PassButton},    {f.DEQALLPASSBtn2, PassButton},
        {f.MusEQAllpassBtn, EqPassButton},
    };
    ControlTable table;
    table.Filler = f.Example;
    table.Singles = singles;
    table.Bands = bands;
    table.TwoState = twoState;
    table.InputRadios[0] = f.SysInputRadio1;
    table.InputRadios[1] = f.SysInputRadio2;
    table.InputRadios[2] = f.SysInputRadio3;
    table.Meters[0] = f.LeftMeter;
    table.Meters[1] = f.RightMeter;
    table.TabButtons[0] = f.FormTabBtn1;
    table.TabButtons[1] = f.FormTabBtn2;
    table.FirstEdit = f.MusFreEdit1;
    BuildControlMap(table);
}

void HandDownControls(TForm1& f) {
    MainControls = ScreenControls{
        .Example = f.Example,
        .FormTabBtn1 = f.FormTabBtn1,
        .FormTabBtn2 = f.FormTabBtn2,
        .SysMusNormalVolPane = f.SysMusNormalVolPane,
        .EQPassLabel = f.EQPassLabel,
        .InputBox = f.InputBox,
        .DeviceVersionLabel = f.DeviceVersionLabel,
        .MusEQAllpassBtn = f.MusEQAllpassBtn,
        .MainWindow = &f,
    };
    QLabel* linkLabel = f.LinkLabel;
    SetDeviceMemoryControls({
        .DeviceLoadBtn = f.DeviceLoadBtn,
        .DeviceSaveBtn = f.DeviceSaveBtn,
        .DeviceResetBtn = f.DeviceResetBtn,
        .ShowOnLinkLabel =
            [linkLabel](const QString& english, const QString& chinese) {
                SetLabelPair(linkLabel, Window.LanguageFlag, english, chinese);
            },
    });
}

void TakeBackControls() {
    MainControls = ScreenControls{};
    SetDeviceMemoryControls({});
}
