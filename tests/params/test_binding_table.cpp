// The typed binding table against what the layout wrote into Tag and Hint.
#include "params/Binding.h"
#include "params/ControlBindings.h"
#include "params/ControlProps.h"
#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "tests/support/AppFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include <set>

namespace {

class BindingTable : public AppFixture {};

// The kind as the layout spells it in the Hint.
int HintKind(const QObject* control) {
    bool ok = false;
    const int kind = Hint(control).toInt(&ok) % 256;
    return ok && kind >= 0 && kind <= 36 ? kind : 0;
}

TEST_F(BindingTable, AgreesWithTagAndHintOfEveryBoundControl) {
    std::set<const QWidget*> bound;
    for (int m = 0; m <= LastModule; ++m)
        for (int i = 0; i < ModuleParamCount[m]; ++i) {
            if (QWidget* c = Bindings.ControlMap[m][i]; c != form->Example) bound.insert(c);
            if (QWidget* k = Bindings.CompanionMap[m][i]) bound.insert(k);
        }
    ASSERT_GT(bound.size(), 120u);
    for (const QWidget* c : bound) {
        const std::string name = c->objectName().toStdString();
        const ControlBinding* b = BindingOf(c);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->Control, c) << name;
        EXPECT_EQ(b->Address, Tag(c)) << name;
        EXPECT_EQ(b->Companion,
                  b->Control == Bindings.ControlMap[b->Address / 256][b->Address % 256]
                      ? Bindings.CompanionMap[b->Address / 256][b->Address % 256]
                      : nullptr)
            << name;
        if (b->Roles & TwoStateButton) {
            EXPECT_FALSE(b->HasKind) << name;
            EXPECT_EQ(KindOf(c), 0) << name;
        } else {
            EXPECT_EQ(KindOf(c), HintKind(c)) << name;
            EXPECT_EQ(b->HasKind, !Hint(c).isEmpty()) << name;
        }
        if (qobject_cast<const QLineEdit*>(c)) {
            EXPECT_TRUE(b->HasKind) << name;
        }
    }
    // The roles are those of the named buttons, and the layout's looks agree.
    const std::set<const QWidget*> polarity = {form->OutLPhaseBtn, form->OutRPhaseBtn,
                                               form->SubLPhaseBtn, form->SubRPhaseBtn};
    const std::set<const QWidget*> pass = {form->DEQALLPASSBtn1, form->DEQALLPASSBtn2};
    for (QPushButton* p : form->findChildren<QPushButton*>()) {
        const ControlBinding* b = BindingOf(p);
        const int roles = b ? b->Roles : 0;
        const std::string name = p->objectName().toStdString();
        EXPECT_EQ((roles & PolarityButton) != 0, polarity.count(p) == 1) << name;
        EXPECT_EQ((roles & PassButton) != 0, pass.count(p) == 1) << name;
        EXPECT_EQ((roles & PolarityButton) != 0, p->width() == 25) << name;
        EXPECT_EQ((roles & PassButton) != 0, p->text() == QLatin1String("Pass")) << name;
        EXPECT_EQ((roles & EqPassButton) != 0, p == form->MusEQAllpassBtn) << name;
    }
}

TEST_F(BindingTable, TheFillerAndUnboundControlsHaveNoKind) {
    EXPECT_EQ(BindingOf(form->Example), nullptr);
    EXPECT_EQ(KindOf(form->Example), 0);
    EXPECT_EQ(KindOf(nullptr), 0);
    // A kind in the Hint is not enough: the matrix box is not bound.
    ASSERT_FALSE(Hint(form->RMSmatrixBox).isEmpty());
    EXPECT_EQ(KindOf(form->RMSmatrixBox), 0);
    // An unbound control's address is its own index.
    EXPECT_EQ(BindingOf(form->SysInputRadio3), nullptr);
    EXPECT_EQ(AddressOf(form->SysInputRadio3), 2);
    EXPECT_EQ(AddressOf(form->MusQEdit1), 0x118);
}

TEST_F(BindingTable, GoesWithItsWindowAndComesWithTheNext) {
    const QObject* old = form->MusFreEdit1;
    delete form;
    form = nullptr;
    EXPECT_EQ(BindingOf(old), nullptr);

    form = new TForm1;
    EXPECT_EQ(BindingOf(form->MusFreEdit1), nullptr); // mapped when first shown
    form->show();
    form->Timer1->stop();
    QApplication::setActiveWindow(form);
    EXPECT_EQ(KindOf(form->MusFreEdit1), 2);
    ClearSent();
    typeInto(form->MusGainEdit1, "3");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x116, 135, false}}));
}

// The binding needs no main window: any window's table of its controls will do.
TEST(ControlTableBinding, BindsTheControlsOfAnyWindowsTable) {
    QWidget window;
    auto* filler = new QLineEdit(&window);
    auto* bar = new QSlider(&window);
    auto* pane = new QLabel(&window);
    auto* type = new QComboBox(&window);
    auto* bypass = new QCheckBox(&window);
    auto* freq = new QLineEdit(&window);
    auto* gain = new QLineEdit(&window);
    auto* q = new QLineEdit(&window);
    auto* phase = new QPushButton(&window);
    SetHint(type, QStringLiteral("1"));
    SetHint(freq, QStringLiteral("2"));
    SetHint(gain, QStringLiteral("3"));
    SetHint(q, QStringLiteral("4"));
    SetHint(phase, QStringLiteral("0"));
    const SlotControl singles[] = {
        {"delay.left", bar, pane}, {"phase.left", phase, nullptr}, {"no.such.key", freq, nullptr}};
    const BandControls bands[] = {{"band1", type, bypass, freq, gain, q}};
    const TwoStateControl twoState[] = {{phase, PolarityButton}};
    ControlTable table;
    table.Filler = filler;
    table.Singles = singles;
    table.Bands = bands;
    table.TwoState = twoState;
    table.FirstEdit = freq;
    BuildControlMap(table);

    EXPECT_EQ(Bindings.ControlMap[1][0], bar);
    EXPECT_EQ(Bindings.CompanionMap[1][0], pane);
    EXPECT_EQ(Bindings.ControlMap[1][23], q);
    EXPECT_EQ(Bindings.ControlMap[1][24], q);
    EXPECT_EQ(Bindings.ControlMap[1][5], filler);  // a module's slot without a control
    EXPECT_EQ(Bindings.ControlMap[4][0], nullptr); // beyond the modules
    EXPECT_EQ(Tag(pane), 0x100);
    EXPECT_EQ(Tag(bypass), 0x114);
    EXPECT_EQ(Tag(q), 0x118); // the last of its two slots
    EXPECT_EQ(Tag(freq), 0x115); // a key the catalogue does not know bound nothing
    EXPECT_EQ(BindingOf(type)->Companion, bypass);
    EXPECT_EQ(KindOf(q), 4);
    EXPECT_EQ(KindOf(phase), 0);
    EXPECT_TRUE(IsPhaseButton(phase));
    EXPECT_EQ(BindingOf(filler), nullptr);
    EXPECT_EQ(Dispatch.CurrentEdit, freq);
    EXPECT_EQ(Params.DeviceImage[1][5], 2);
    EXPECT_EQ(Params.DeviceImage[1][18], 361);

    ResetControlBindings();
    ClearControlBindings();
    ResetDispatchState();
    ResetParamModel();
}

} // namespace
