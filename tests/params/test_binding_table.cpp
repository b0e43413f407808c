// The typed binding table against what the layout wrote into Tag and Hint.
#include "params/Binding.h"
#include "params/ControlProps.h"
#include "params/Dispatcher.h"
#include "tests/support/AppFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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
            if (QWidget* c = Params.ControlMap[m][i]; c != form->Example) bound.insert(c);
            if (QWidget* k = Params.CompanionMap[m][i]) bound.insert(k);
        }
    ASSERT_GT(bound.size(), 120u);
    for (const QWidget* c : bound) {
        const std::string name = c->objectName().toStdString();
        const ControlBinding* b = BindingOf(c);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->Control, c) << name;
        EXPECT_EQ(b->Address, Tag(c)) << name;
        EXPECT_EQ(b->Companion, b->Control == Params.ControlMap[b->Address / 256][b->Address % 256]
                                    ? Params.CompanionMap[b->Address / 256][b->Address % 256]
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

} // namespace
