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

// Every slot shown by one control (and its companion): module 0 system, 1 main
// channel, 2 auxiliary channel and the factory page.
std::vector<SlotControl> SingleSlots(const TForm1& f) {
    return {
        {0, 10, f.InputBox, nullptr},
        {0, 11, f.SysIOLevelBox, nullptr},
        {1, 0, f.OutLDelayBar, f.OutLDelayPane},
        {1, 1, f.SysMusNormalVolBar, f.SysMusNormalVolPane},
        {1, 2, f.OutRDelayBar, f.OutRDelayPane},
        {1, 3, f.OutLPhaseBtn, nullptr},
        {1, 4, f.RMSBox, nullptr},
        {1, 5, f.MusRmsAttackBar, f.MusRmsAttackPane},
        {1, 6, f.MusRmsReleaseBar, f.MusRmsReleasePane},
        {1, 7, f.OutRPhaseBtn, nullptr},
        {1, 13, f.MusHighPassBox, nullptr},
        {1, 15, f.MusHighPassFre, nullptr},
        {1, 16, f.MusLowPassBox, nullptr},
        {1, 18, f.MusLowPassFre, nullptr},
        {1, 19, f.MusEQAllpassBtn, nullptr},
        {2, 1, f.DEQALLPASSBtn1, nullptr},
        {2, 2, f.DEQModeBox1, nullptr},
        {2, 3, f.DEQFreEdit1, nullptr},
        {2, 4, f.DEQGainEdit1, nullptr},
        {2, 5, f.DEQQEdit1, nullptr},
        {2, 7, f.DEQTypeBox1, nullptr},
        {2, 8, f.DEQRmsLevelBar1, f.DEQRmsLevelPane1},
        {2, 9, f.DEQMaxLevelBar1, f.DEQMaxLevelPane1},
        {2, 13, f.DEQALLPASSBtn2, nullptr},
        {2, 14, f.DEQModeBox2, nullptr},
        {2, 15, f.DEQFreEdit2, nullptr},
        {2, 16, f.DEQGainEdit2, nullptr},
        {2, 17, f.DEQQEdit2, nullptr},
        {2, 19, f.DEQTypeBox2, nullptr},
        {2, 20, f.DEQRmsLevelBar2, f.DEQRmsLevelPane2},
        {2, 21, f.DEQMaxLevelBar2, f.DEQMaxLevelPane2},
        {2, 25, f.AuxOutGainBar, f.AuxOutGainPane},
        {2, 26, f.SubSteroBox, nullptr},
        {2, 27, f.SubLPhaseBtn, nullptr},
        {2, 28, f.SubRPhaseBtn, nullptr},
        {2, 29, f.AuxHighPassBox, nullptr},
        {2, 30, f.AuxHighPassFre, nullptr},
        {2, 31, f.AuxLowPassBox, nullptr},
        {2, 32, f.AuxLowPassFre, nullptr},
        {2, 63, f.HintHighPassBox, nullptr},
        {2, 64, f.HintHighPassFre, nullptr},
        {2, 65, f.HintLowPassBox, nullptr},
        {2, 66, f.HintLowPassFre, nullptr},
    };
}

// Every band in the five-slot layout.
std::vector<BandControls> Bands(const TForm1& f) {
    return {
        {1, 20, f.MusModeBox1, f.MusBypassCheck1, f.MusFreEdit1, f.MusGainEdit1, f.MusQEdit1},
        {1, 25, f.MusModeBox2, f.MusBypassCheck2, f.MusFreEdit2, f.MusGainEdit2, f.MusQEdit2},
        {1, 30, f.MusModeBox3, f.MusBypassCheck3, f.MusFreEdit3, f.MusGainEdit3, f.MusQEdit3},
        {1, 35, f.MusModeBox4, f.MusBypassCheck4, f.MusFreEdit4, f.MusGainEdit4, f.MusQEdit4},
        {1, 40, f.MusModeBox5, f.MusBypassCheck5, f.MusFreEdit5, f.MusGainEdit5, f.MusQEdit5},
        {1, 45, f.MusModeBox6, f.MusBypassCheck6, f.MusFreEdit6, f.MusGainEdit6, f.MusQEdit6},
        {1, 50, f.MusModeBox7, f.MusBypassCheck7, f.MusFreEdit7, f.MusGainEdit7, f.MusQEdit7},
        {1, 55, f.MusModeBox8, f.MusBypassCheck8, f.MusFreEdit8, f.MusGainEdit8, f.MusQEdit8},
        {1, 60, f.MusModeBox9, f.MusBypassCheck9, f.MusFreEdit9, f.MusGainEdit9, f.MusQEdit9},
        {2, 33, f.AUXModeBox1, f.AuxBypassCheck1, f.AUXFreEdit1, f.AUXGainEdit1, f.AUXQEdit1},
        {2, 38, f.AUXModeBox2, f.AuxBypassCheck2, f.AUXFreEdit2, f.AUXGainEdit2, f.AUXQEdit2},
        {2, 43, f.HintModeBox1, f.HintBypassCheck1, f.HintFreEdit1, f.HintGainEdit1, f.HintQEdit1},
        {2, 48, f.HintModeBox2, f.HintBypassCheck2, f.HintFreEdit2, f.HintGainEdit2, f.HintQEdit2},
        {2, 53, f.HintModeBox3, f.HintBypassCheck3, f.HintFreEdit3, f.HintGainEdit3, f.HintQEdit3},
        {2, 58, f.HintModeBox4, f.HintBypassCheck4, f.HintFreEdit4, f.HintGainEdit4, f.HintQEdit4},
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
