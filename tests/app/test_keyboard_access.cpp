// The console with the keyboard alone and through a screen reader's eyes:
// Tab in reading order, typing over what Tab selected, the wheel's target
// shown, a name for every control, and a window that fits a small screen.
#include "app/KeyboardAccess.h"
#include "app/Language.h"
#include "tests/support/AppFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

namespace {

// Object names of the controls Tab reaches from the first one, until it comes back.
QStringList TabWalk(QWidget* first) {
    QStringList names;
    first->setFocus(Qt::TabFocusReason);
    QWidget* start = QApplication::focusWidget();
    for (int k = 0; k < 400 && QApplication::focusWidget(); ++k) {
        names << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == start) break;
    }
    return names;
}

// "object (role)" of every visible control a person can operate that has no name.
QStringList Nameless(QAccessibleInterface* node) {
    static const QList<QAccessible::Role> operable = {
        QAccessible::PushButton, QAccessible::CheckBox,     QAccessible::RadioButton,
        QAccessible::ComboBox,   QAccessible::EditableText, QAccessible::SpinBox,
        QAccessible::Slider,     QAccessible::ButtonMenu,   QAccessible::PageTab};
    QStringList found;
    if (!node || node->state().invisible) return found;
    if (operable.contains(node->role()) && node->text(QAccessible::Name).trimmed().isEmpty())
        found << QStringLiteral("%1 (%2)").arg(node->object() ? node->object()->objectName()
                                                                : QString())
                     .arg(node->role());
    for (int i = 0; i < node->childCount(); ++i)
        found += Nameless(node->child(i));
    return found;
}

QString NameOf(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
}

} // namespace

class KeyboardTest : public AppFixture {};

TEST_F(KeyboardTest, TabGoesInReadingOrderAndReachesEveryControlOnce) {
    const QStringList walk = TabWalk(form->DeviceSaveBtn);
    const auto names = [](const char* list) { return QString::fromLatin1(list).split(' '); };
    // Top bar left to right (one stop for the input choice), compressor, band table row by row.
    const QStringList head = names("DeviceSaveBtn DeviceLoadBtn LoadFileBtn SaveFileBtn "
                                   "SysInputRadio1 SnapshotBtn CompareFileBtn LinkBtn RMSBox MusRmsAttackBar "
                                   "MusRmsReleaseBar "
                                   "RzSpinEdit2 RzSpinEdit3");
    EXPECT_EQ(walk.mid(0, head.size()), head);
    const QStringList rows = names("RzSpinEdit10 RmsResetBtn FormTabBtn1 FormTabBtn2 ResetBtn "
                                   "MusEQAllpassBtn MusFreEdit1 MusQEdit1 MusGainEdit1 "
                                   "MusModeBox1 MusBypassCheck1 MusFreEdit2");
    EXPECT_EQ(walk.mid(walk.indexOf("RzSpinEdit10"), rows.size()), rows);
    // Crossovers, other settings, right column, the graph, then round to the start.
    const QStringList tail = names("MusBypassCheck9 MusHighPassFre MusHighPassBox PeqImportBtn "
                                   "MusLowPassFre MusLowPassBox PeqExportBtn SubSteroBox "
                                   "SubLPhaseBtn SubRPhaseBtn OutLDelayBar OutRDelayBar "
                                   "OutLPhaseBtn OutRPhaseBtn BLUENameEdit BLUENameBtn "
                                   "BluePinEdit BLUEPinBtn AuxOutGainBar LanguageBox FitMeasureBtn");
    EXPECT_EQ(walk.mid(walk.size() - tail.size()), tail);
    QStringList once = walk;
    EXPECT_EQ(once.removeDuplicates(), 0);

    // The undo buttons come after the input choice once they have something to do.
    typeInto(form->MusGainEdit2, "3");
    const QStringList again = TabWalk(form->DeviceSaveBtn);
    EXPECT_EQ(again.mid(4, 3), QStringList({"SysInputRadio1", "UndoBtn", "SnapshotBtn"}));

    // The arrows choose among the input radios, as a click does.
    form->SysInputRadio1->setFocus(Qt::TabFocusReason);
    ClearSent();
    QTest::keyClick(form->SysInputRadio1, Qt::Key_Space);
    QTest::keyClick(form->SysInputRadio1, Qt::Key_Right);
    EXPECT_TRUE(form->SysInputRadio2->isChecked());
    EXPECT_EQ(Sent(), std::vector<SentWrite>({{0x00A, 0, false}, {0x00A, 1, false}}));
}

TEST_F(KeyboardTest, TypingAfterTabReplacesTheValue) {
    form->MusQEdit1->setFocus(Qt::MouseFocusReason);
    ClearSent();
    QTest::keyClick(form->MusQEdit1, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form->MusGainEdit1);
    EXPECT_EQ(form->MusGainEdit1->selectedText(), form->MusGainEdit1->text());
    QTest::keyClicks(form->MusGainEdit1, "3");
    QTest::keyClick(form->MusGainEdit1, Qt::Key_Return);
    // +3 dB is step 135 of 0.2 dB from -24 dB; band 1's gain is slot 22 of module 1.
    EXPECT_EQ(Sent(), std::vector<SentWrite>({{0x116, 135, false}}));
    EXPECT_EQ(form->MusGainEdit1->text(), "3.0dB");

    // Shift+Tab back into the Q edit selects it as well.
    QTest::keyClick(form->MusGainEdit1, Qt::Key_Backtab);
    EXPECT_EQ(form->MusQEdit1->selectedText(), form->MusQEdit1->text());
}

TEST_F(KeyboardTest, ScreenReaderFindsANameForEveryControl) {
    for (bool aux : {false, true}) {
        form->FormTabBtn3Click(aux ? form->FormTabBtn2 : form->FormTabBtn1);
        EXPECT_EQ(Nameless(QAccessible::queryAccessibleInterface(form)).join('\n').toStdString(),
                  "");
    }
    form->RzBmpButton1Click(form->RzBmpButton1);
    EXPECT_EQ(Nameless(QAccessible::queryAccessibleInterface(form)).join('\n').toStdString(), "");
    form->RzBmpButton1Click(form->RzBmpButton1);

    // Rows, sliders and the polarity buttons say what they change, not their "+".
    EXPECT_EQ(NameOf(form->MusFreEdit3), "频段 3 频率");
    EXPECT_EQ(NameOf(form->MusQEdit3), "频段 3 Q值");
    EXPECT_EQ(NameOf(form->MusBypassCheck3), "直通 3");
    EXPECT_EQ(NameOf(form->OutLDelayBar), "左声道延时");
    EXPECT_EQ(NameOf(form->OutRPhaseBtn), "右声道相位");
    EXPECT_EQ(NameOf(form->RzSpinEdit4), "压缩点 1 输出");
    // Labels lend their text to the control they stand for.
    EXPECT_EQ(NameOf(form->BLUENameEdit), "蓝牙名称：");
}

TEST_F(KeyboardTest, NamesSpeakTheConsolesLanguage) {
    TearDown();
    InstallLanguage(QStringLiteral("en"));
    SetUp();
    EXPECT_EQ(NameOf(form->AUXGainEdit2), "Aux band 2 gain");
    EXPECT_EQ(NameOf(form->OutLDelayBar), "Left output delay");
    EXPECT_EQ(NameOf(form->RzSpinEdit5), "Compressor point 2 input");
    // A combo box reads as its item; what it is comes with it.
    EXPECT_EQ(form->LanguageBox->accessibleDescription(), "Interface language");
    EXPECT_EQ(form->MusModeBox4->accessibleDescription(), "Band 4 type");
    InstallLanguage(QStringLiteral("zh"));
}

TEST_F(KeyboardTest, TheArmedWheelIsMarkedAndNamed) {
    auto* tip = form->findChild<QLabel*>(QStringLiteral("WheelTip"));
    ASSERT_NE(tip, nullptr);
    ShowWheelTarget(form);
    EXPECT_FALSE(tip->isVisible());

    clickInto(form->MusFreEdit7);
    ShowWheelTarget(form);
    EXPECT_TRUE(form->MusFreEdit7->wheelMark());
    EXPECT_TRUE(tip->isVisible());
    EXPECT_TRUE(tip->text().contains("频段 7 频率")) << tip->text().toStdString();

    // Another edit takes the mark; a slider releases the wheel and the mark goes.
    clickInto(form->MusGainEdit2);
    ShowWheelTarget(form);
    EXPECT_FALSE(form->MusFreEdit7->wheelMark());
    EXPECT_TRUE(form->MusGainEdit2->wheelMark());
    QTest::keyClick(form->OutLDelayBar, Qt::Key_Right);
    ShowWheelTarget(form);
    EXPECT_FALSE(form->MusGainEdit2->wheelMark());
    EXPECT_FALSE(tip->isVisible());
}

TEST_F(KeyboardTest, OnASmallScreenTheWindowFitsAndItsContentScrolls) {
    auto* scroll = form->findChild<QScrollArea*>(QStringLiteral("ClientScroll"));
    ASSERT_NE(scroll, nullptr);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(form->size(), TForm1::ClientSize);
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());

    // A netbook's 1024 x 600 under a 27-pixel panel.
    const QRect available(0, 27, 1024, 573);
    form->FitToScreen(available);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(available.contains(form->frameGeometry()));
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    EXPECT_GT(scroll->horizontalScrollBar()->maximum(), 0);
    // The graph keeps its size; Tab to a control below the view scrolls it into sight.
    EXPECT_EQ(form->Image1->size(), QSize(1104, 270));
    form->BLUEPinBtn->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form->BLUEPinBtn, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(form->LanguageBox));
    const QRect seen(scroll->viewport()->mapToGlobal(QPoint(0, 0)), scroll->viewport()->size());
    EXPECT_TRUE(seen.contains(QRect(form->LanguageBox->mapToGlobal(QPoint(0, 0)),
                                    form->LanguageBox->size())));
}
