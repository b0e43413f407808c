// The console in English and in Chinese: every text a person sees, the
// message pairs, Qt's own texts, the choice of the language, and that the unit
// and the preset files never see the difference.
#include "app/Language.h"
#include "app/Startup.h"
#include "app/WindowState.h"
#include "params/UndoHistory.h"
#include "presets/StatusBox.h"
#include "tests/support/LinkFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// Han characters and CJK punctuation. Full-width forms are left out: the
// English twin of the status box's prefix is "Staus：" as the unit's tools write it.
bool HasChinese(const QString& s) {
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x303F) || (u >= 0x3400 && u <= 0x9FFF)) return true;
    }
    return false;
}

// "object: text" for every text of the window and its children that still has Chinese.
QStringList ChineseTexts(QWidget* window, const QWidget* exempt) {
    QStringList found;
    auto check = [&](const QObject* o, const QString& text) {
        if (HasChinese(text)) found << o->objectName() + QStringLiteral(": ") + text;
    };
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (w == exempt) continue; // languages by their own names
        check(w, w->windowTitle());
        check(w, w->toolTip());
        if (auto* l = qobject_cast<QLabel*>(w)) check(w, l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(w)) check(w, b->text());
        if (auto* e = qobject_cast<QLineEdit*>(w)) check(w, e->text());
        if (auto* g = qobject_cast<QGroupBox*>(w)) check(w, g->title());
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                check(w, c->itemText(i));
        if (auto* list = qobject_cast<QListWidget*>(w))
            for (int i = 0; i < list->count(); ++i)
                check(w, list->item(i)->text());
    }
    return found;
}

class LanguageTest : public LinkFixture {
protected:
    void SetUp() override {
        // The remembered choice goes to a scratch place, not the user's settings.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        QSettings(QStringLiteral("kalviren"), QStringLiteral("kalviren-console")).clear();
    }
    void TearDown() override {
        Stop();
        InstallLanguage(QStringLiteral("zh"));
    }
    void Start(const QString& language) {
        InstallLanguage(language);
        LinkFixture::SetUp();
        started = true;
    }
    void Stop() {
        if (started) LinkFixture::TearDown();
        started = false;
    }

    QTemporaryDir settingsDir;
    bool started = false;
};

TEST_F(LanguageTest, UnderEnglishNoWindowShowsChinese) {
    Start(QStringLiteral("en"));
    ConnectUnit();
    MarkAsDemo(*form1, *form9); // the demo's caption and graph mark as well
    ASSERT_EQ(form9->Session->LinkState, Online);
    form9->Session->ShowLinkStatus(2, form1->LinkLabel->text(), 40); // the status box as a transfer shows it

    EXPECT_EQ(form1->LinkLabel->text(), "The device is connected");
    EXPECT_TRUE(form1->windowTitle().startsWith("QZ Series")) << form1->windowTitle().toStdString();
    EXPECT_TRUE(form1->windowTitle().contains("[DEMO]")) << form1->windowTitle().toStdString();
    EXPECT_EQ(form4->LinkLabel->text(), "Staus：The device is connected");
    for (QWidget* window : {static_cast<QWidget*>(form1), static_cast<QWidget*>(form9),
                            static_cast<QWidget*>(form4)})
        EXPECT_EQ(ChineseTexts(window, form1->LanguageBox).join('\n').toStdString(), "")
            << window->objectName().toStdString();

    // The factory page and its switch, the auxiliary rows.
    form1->RzBmpButton1Click(form1->RzBmpButton1);
    EXPECT_EQ(form1->RzBmpButton1->text(), "Main page");
    EXPECT_EQ(ChineseTexts(form1, form1->LanguageBox).join('\n').toStdString(), "");
}

// Texts wider than their control, in "object: text" form.
QStringList ClippedTexts(QWidget* window) {
    QStringList clipped;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QFontMetrics fm(w->font());
        auto fits = [&](const QString& text, int room) {
            for (const QString& line : text.split(QLatin1Char('\n')))
                if (fm.horizontalAdvance(line) > room)
                    clipped << QStringLiteral("%1: %2 (%3 > %4)")
                                   .arg(w->objectName(), text)
                                   .arg(fm.horizontalAdvance(line))
                                   .arg(room);
        };
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->wordWrap())
            fits(l->text(), l->contentsRect().width());
        else if (auto* b = qobject_cast<QPushButton*>(w))
            fits(b->text(), b->width() - 4);
        else if (auto* r = qobject_cast<QAbstractButton*>(w))
            fits(r->text(), r->width() - 18); // the indicator
        else if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                fits(c->itemText(i), c->width() - 24); // the arrow
    }
    return clipped;
}

TEST_F(LanguageTest, NoTextIsWiderThanItsControlInEitherLanguage) {
    for (const QString& language : {QStringLiteral("zh"), QStringLiteral("en")}) {
        Start(language);
        ConnectUnit();
        form9->Session->ShowLinkStatus(2, form1->LinkLabel->text(), 40);
        for (QWidget* window : {static_cast<QWidget*>(form1), static_cast<QWidget*>(form4)})
            EXPECT_EQ(ClippedTexts(window).join('\n').toStdString(), "") << language.toStdString();
        Stop();
    }
}

TEST_F(LanguageTest, CrypticControlsExplainThemselvesInBothLanguages) {
    for (const QString& language : {QStringLiteral("zh"), QStringLiteral("en")}) {
        Start(language);
        for (QWidget* w : std::initializer_list<QWidget*>{
                 form->MusRmsReleasePane, form->MusHighPassBox, form->AuxLowPassFre,
                 form->OutLPhaseBtn, form->SubRPhaseBtn, form->MusBypassCheck4,
                 form->MusEQAllpassBtn, form->DEQALLPASSBtn1, form->LeftMeter, form->RightMeter})
            EXPECT_EQ(HasChinese(w->toolTip()), language == "zh")
                << w->objectName().toStdString() << ": " << w->toolTip().toStdString();
        EXPECT_TRUE(form->LoadFileBtn->toolTip().endsWith("(Ctrl+O)"));
        EXPECT_TRUE(form->SaveFileBtn->toolTip().endsWith("(Ctrl+S)"));
        Stop();
    }
}

TEST_F(LanguageTest, MessagePairsAndNoticesSpeakEnglish) {
    Start(QStringLiteral("en"));
    EXPECT_EQ(Window.LanguageFlag, 0);
    // The undo texts' parameter names follow the installed language.
    EXPECT_EQ(ParamName(0x120), "Gain 3");
    EXPECT_EQ(ParamName(0x221, true), "Aux Bypass 1");
    EXPECT_EQ(ParamName(0x1FF), "Parameter 1ff");
    dialogs->answers = {false, false};
    click(form->ResetBtn);
    click(form->RmsResetBtn);
    // Ctrl+O as the user presses it: the load dialog, then the pair for a missing file.
    dialogs->fileNames = {settingsDir.filePath("missing.Nddt")};
    QApplication::setActiveWindow(form);
    form->MusFreEdit1->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(dialogs->texts(DialogRecord::Ask),
              QStringList({"Reset all EQ parameters?", "Reset the compressor curve?"}));
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify), QStringList({"File not find!"}));
    EXPECT_EQ(dialogs->texts(DialogRecord::Open), QStringList({"Nddt (*.Nddt)"}));
    EXPECT_TRUE(Sent().empty());
}

TEST_F(LanguageTest, QtsOwnButtonsFollowTheLanguage) {
    InstallLanguage(QStringLiteral("zh"));
    const QString yes = QCoreApplication::translate("QPlatformTheme", "&Yes");
    EXPECT_TRUE(HasChinese(yes)) << yes.toStdString();
    InstallLanguage(QStringLiteral("en"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");
    EXPECT_EQ(QCoreApplication::translate("TForm1", "保存"), "Save");
}

TEST_F(LanguageTest, TheUnitAndThePresetFileSeeNoDifference) {
    std::vector<EmulatedDevice::Report> frames[2];
    QByteArray presets[2];
    const QString languages[2] = {QStringLiteral("zh"), QStringLiteral("en")};
    for (int k = 0; k < 2; ++k) {
        Start(languages[k]);
        ConnectUnit();
        ASSERT_EQ(form9->Session->LinkState, Online);
        ClearFrames();
        typeInto(form1->MusFreEdit2, "1000");
        selectCombo(form1->MusModeBox3, 2);
        selectCombo(form1->MusLowPassBox, 3);
        selectCombo(form1->SubSteroBox, 0);
        click(form1->OutLPhaseBtn);
        click(form1->MusBypassCheck5);
        click(form1->SysInputRadio2);
        Step(1000);
        for (const auto& r : Frames())
            frames[k].push_back(r.bytes);
        const QString file = settingsDir.filePath(QStringLiteral("tune-%1.Nddt").arg(k));
        dialogs->fileNames = {file};
        QApplication::setActiveWindow(form1);
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : form1, Qt::Key_S, Qt::ControlModifier);
        QFile saved(file);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        presets[k] = saved.readAll();
        Stop();
    }
    EXPECT_GE(frames[0].size(), 7u);
    EXPECT_EQ(frames[0], frames[1]);
    EXPECT_FALSE(presets[0].isEmpty());
    EXPECT_EQ(presets[0], presets[1]);
}

// A settings file that is a FIFO (or a device, or huge) is left alone: a
// plain open would wait for a writer for ever.
TEST_F(LanguageTest, ASettingsFileThatIsNoRegularFileIsLeftAlone) {
    ASSERT_TRUE(QDir(settingsDir.path()).mkpath(QStringLiteral("kalviren")));
    const QString file = settingsDir.filePath(QStringLiteral("kalviren/kalviren-console.conf"));
    QFile::remove(file);
    ASSERT_EQ(mkfifo(file.toLocal8Bit().constData(), 0600), 0);
    EXPECT_EQ(ChosenLanguage({QStringLiteral("kalviren-console"), "--language", "en"}), "en");
    EXPECT_EQ(RememberedLanguage(), "");
    EXPECT_FALSE(QFileInfo(file).isFile()); // still the FIFO, not replaced
}

TEST_F(LanguageTest, TheChoiceIsRememberedAndChineseIsTheDefault) {
    const QString prog = QStringLiteral("kalviren-console");
    EXPECT_EQ(ChosenLanguage({prog}), "zh");
    EXPECT_EQ(ChosenLanguage({prog, "--language", "en"}), "en");
    EXPECT_EQ(ChosenLanguage({prog}), "en");
    EXPECT_EQ(ChosenLanguage({prog, "--language=fr"}), "en"); // unknown: the remembered one
    EXPECT_EQ(ChosenLanguage({prog, "--language"}), "en");
    EXPECT_EQ(ChosenLanguage({prog, "--language=zh"}), "zh");

    // The selector remembers the choice and the windows show it at once, the
    // link label, the captions and the controls' names included; nothing goes to the unit.
    Start(QStringLiteral("zh"));
    ConnectUnit();
    MarkAsDemo(*form1, *form9);
    ClearFrames();
    ClearSent();
    EXPECT_EQ(form->LanguageBox->currentIndex(), 0);
    selectCombo(form->LanguageBox, 1);
    QCoreApplication::sendPostedEvents(); // Qt's language-change events
    EXPECT_EQ(RememberedLanguage(), "en");
    EXPECT_EQ(Window.LanguageFlag, 0);
    EXPECT_EQ(form->SaveFileBtn->text(), "Save");
    EXPECT_EQ(form->LinkLabel->text(), "The device is connected");
    EXPECT_EQ(form->OutLPhaseBtn->toolTip(), "Left channel polarity: + normal, - inverted; click to switch");
    EXPECT_EQ(form->MusGainEdit2->accessibleName(), "Band 2 gain");
    for (QWidget* window : {static_cast<QWidget*>(form1), static_cast<QWidget*>(form9),
                            static_cast<QWidget*>(form4)})
        EXPECT_EQ(ChineseTexts(window, form1->LanguageBox).join('\n').toStdString(), "")
            << window->objectName().toStdString();
    selectCombo(form->LanguageBox, 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(RememberedLanguage(), "zh");
    EXPECT_EQ(form->SaveFileBtn->text(), "保存");
    EXPECT_EQ(form->MusGainEdit2->accessibleName(), "频段 2 增益");
    EXPECT_TRUE(form1->windowTitle().startsWith("QZ系列")) << form1->windowTitle().toStdString();
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(Frames().empty());
}

} // namespace
