// A person's mouse on the graph and the chart, the closing of the main window,
// preset saving and the message boxes, driven as a person drives them: mouse
// events go to the main window and Qt hands them to the widget under the
// pointer (or to the one holding the implicit grab); keys go to the focus.

#include "app/Dialogs.h"
#include "eq/CompressorMath.h"
#include "eq/EqGraph.h"
#include "params/Dispatcher.h"
#include "params/ParamImage.h"
#include "presets/StatusBox.h"
#include "tests/support/LinkFixture.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cmath>
#include <cstring>
#include <ostream>

inline std::ostream& operator<<(std::ostream& os, const SentWrite& w) {
    return os << "(0x" << std::hex << w.address << std::dec << ", " << w.value << ")";
}

namespace {

// Band b (0-based) field f of the music module.
constexpr int Band(int b, int f) {
    return 0x100 + 20 + 5 * b + f;
}

} // namespace

// Mouse events go to the main window's own window; Qt picks the receiver.
class PersonPointer : public AppFixture {
protected:
    void Tick() { form->Timer1Timer(form->Timer1); }
    QPoint Centre(QWidget* w) const { return w->mapTo(form, w->rect().center()); }
    void Press(QPoint p, Qt::MouseButton b) { QTest::mousePress(form->windowHandle(), b, {}, p); }
    void Release(QPoint p, Qt::MouseButton b) {
        QTest::mouseRelease(form->windowHandle(), b, {}, p);
    }
    void Move(QPoint p) { QTest::mouseMove(form->windowHandle(), p); }
    // Grabs the handle at its centre, moves it, lets the tick commit; the
    // addresses whose values changed (a left edit re-sends what it holds).
    std::vector<int> Drag(TImage* h, QPoint by) {
        int32_t before[ModuleCount][ImageSlots];
        std::memcpy(before, Params.ParamImage, sizeof before);
        ClearSent();
        Press(Centre(h), Qt::LeftButton);
        if (!by.isNull()) Move(Centre(h) + by);
        Tick();
        Release(Centre(h), Qt::LeftButton);
        Tick();
        std::vector<int> changed;
        for (const SentWrite& w : Sent())
            if (before[w.address / 256][w.address % 256] != w.value) changed.push_back(w.address);
        return changed;
    }
};

// ---- The banner and the readout over the handles ----

TEST_F(PersonPointer, HandlesUnderTheBannerAndTheReadoutCanBeGrabbed) {
    ASSERT_TRUE(form->EQPassLabel->isVisible()); // shown at start, no unit
    for (TImage* h : {form->EP4, form->EP5}) {
        ASSERT_TRUE(form->EQPassLabel->geometry().contains(h->geometry().center()));
        EXPECT_EQ(form->childAt(Centre(h)), h);
        EXPECT_TRUE(Drag(h, {}).empty()); // a press and release alone change nothing
    }
    EXPECT_EQ(Drag(form->EP4, {30, 20}), (std::vector<int>{Band(3, 1), Band(3, 2)}));
    EXPECT_EQ(Drag(form->EP5, {-30, 20}), (std::vector<int>{Band(4, 1), Band(4, 2)}));

    // Band 2 at band 1's frequency, 3 dB down: right under band 1's readout.
    StoreParam(Band(1, 1), P(1, Band(0, 1) & 0xFF));
    StoreParam(Band(1, 2), 105);
    RefreshScreen();
    Drag(form->EP1, {0, -4}); // band 1 changed: its readout shows below it
    ASSERT_FALSE(form->EQlabel->text().isEmpty());
    ASSERT_TRUE(form->EQlabel->geometry().contains(form->EP2->geometry().center()));
    EXPECT_EQ(form->childAt(Centre(form->EP2)), form->EP2);
    EXPECT_EQ(Drag(form->EP2, {25, 15}), (std::vector<int>{Band(1, 1), Band(1, 2)}));
}

// ---- Q steps with the right button ----

TEST_F(PersonPointer, SecondButtonDuringAQStepStepsOnlyWithMovement) {
    const QPoint p = Centre(form->EP1);
    Press(p, Qt::RightButton);
    ASSERT_TRUE(EqGraph.Drag.QStepping);
    ASSERT_EQ(P(1, 23), 25);
    ClearSent();
    Press(p, Qt::LeftButton); // both buttons held now
    Move(p + QPoint(1, 0));
    Move(p + QPoint(2, 3));
    Tick();
    EXPECT_EQ(P(1, 23), 25);
    EXPECT_TRUE(Sent().empty());
    Move(p + QPoint(3, 3)); // more than 2 px right of the second press
    EXPECT_EQ(P(1, 23), 26);
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band(0, 3), 26}}));
    Release(p + QPoint(3, 3), Qt::LeftButton);
    Release(p + QPoint(3, 3), Qt::RightButton);
    Tick();
    EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(PersonPointer, HoverWithNoButtonAfterALostReleaseStepsNothing) {
    const QPoint p = Centre(form->EP1);
    Press(p, Qt::RightButton);
    ASSERT_TRUE(EqGraph.Drag.QStepping);
    // The release went to another window; none reaches the graph.
    QWidget elsewhere;
    elsewhere.resize(50, 50);
    elsewhere.show();
    QTest::mouseRelease(&elsewhere, Qt::RightButton, {}, QPoint(5, 5));
    ClearSent();
    for (int dx : {4, 8, -8})
        Move(p + QPoint(dx, 0));
    Tick();
    EXPECT_EQ(P(1, 23), 25);
    EXPECT_TRUE(Sent().empty());
    EXPECT_FALSE(EqGraph.Drag.QStepping);
    // The next grab is a plain drag of the band grabbed.
    EXPECT_EQ(Drag(form->EP2, {20, 10}), (std::vector<int>{Band(1, 1), Band(1, 2)}));
}

// ---- The graph's readout follows the module shown ----

TEST_F(PersonPointer, ReadoutShowsOnlyTheShownModulesBand) {
    Drag(form->EP1, {10, 0});
    ASSERT_TRUE(form->EQlabel->text().endsWith("Hz"));
    ClearSent();
    QTest::mouseClick(form->FormTabBtn2, Qt::LeftButton);
    EXPECT_EQ(form->EQlabel->text(), QString());
    EXPECT_EQ(Drag(form->EP2, {10, 0}), (std::vector<int>{0x200 + 39})); // aux band 2
    EXPECT_TRUE(form->EQlabel->text().endsWith("Hz"));
    QTest::mouseClick(form->FormTabBtn1, Qt::LeftButton);
    EXPECT_EQ(form->EQlabel->text(), QString());
}

// ---- Compressor chart markers ----

TEST_F(PersonPointer, ChartMarkersStayInsideThePlot) {
    StoreParam(0x100 + 9, PackCurvePoint(-70, -113)); // point 1 far below the axis
    RefreshScreen();
    ASSERT_EQ(form->RzSpinEdit4->value(), -113);
    TChart* chart = form->Chart1;
    const QImage img = chart->grab().toImage();
    const QRect plot = chart->PlotRect();
    const QRgb marker = qRgb(62, 240, 240);
    int inside = 0, outside = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (marker & 0xFFFFFF))
                ++(plot.contains(x, y) ? inside : outside);
    EXPECT_EQ(outside, 0);
    EXPECT_GE(inside, 5 * 16); // five markers of 6 x 6, edges blended
}

// ---- The wild gain ----

class PersonLink : public LinkFixture {
protected:
    void Tick() { form->Timer1Timer(form->Timer1); }
};

TEST_F(PersonLink, WildGainFromTheUnitIsDrawnAtTheTablesTop) {
    unit->Live()[1][22] = 65535; // band 1 gain
    ConnectUnit();
    ASSERT_EQ(form9->Session->LinkState, Online);
    ASSERT_EQ(P(1, 22), 65535);
    for (float v : EqGraph.SlotResponse[0])
        ASSERT_TRUE(std::isfinite(v));
    const std::vector<int> wild(std::begin(EqGraph.CurveY), std::end(EqGraph.CurveY));
    const QPoint handle = form->EP1->pos();

    StoreParam(0x100 + 22, 180); // +12 dB, the table's top
    RefreshScreen();
    EXPECT_EQ(std::vector<int>(std::begin(EqGraph.CurveY), std::end(EqGraph.CurveY)), wild);
    EXPECT_EQ(form->EP1->pos(), handle);
    EXPECT_EQ(handle.y(), RoundEvenInt(DbToY(12) - 9));
}

// ---- The Bluetooth name ----

TEST_F(PersonLink, NameEditTakesNoMoreThanOnePacketCarries) {
    ConnectUnit();
    dialogs->records.clear();
    QTest::mouseClick(form->BLUENameEdit, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), form->BLUENameEdit);
    form->BLUENameEdit->selectAll();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    EXPECT_EQ(form->BLUENameEdit->text(), QStringLiteral("ABCDEFGHIJKLMNOPQR"));
    QTest::mouseClick(form->BLUENameBtn, Qt::LeftButton);
    Deliver();
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify), QStringList{QStringLiteral("更改成功!")});
    ASSERT_FALSE(unit->BluetoothTexts().empty());
    EXPECT_EQ(unit->BluetoothTexts().back(), "NA+ABCDEFGHIJKLMNOPQR");
}

// ---- Closing the main window ----

TEST_F(PersonLink, ClosingTheMainWindowEndsTheProgramWhateverElseShows) {
    StartConsole();
    Deliver(); // the unit is found and the connect starts
    for (int i = 0; i < 80 && !form4->isVisible(); ++i)
        Step(25);
    unit->Misbehave().silent = true; // the read goes on and on
    Step(100);
    ASSERT_NE(form9->Session->LinkState, Online);
    ASSERT_TRUE(form4->isVisible()); // "连接中..."
    form9->show();
    ASSERT_GT(backend->OpenConnections(), 0);

    // The close alone must end the loop (the box and the link window would
    // keep a last-window rule from doing it).
    QApplication::setQuitOnLastWindowClosed(false);
    QTimer guard; // fires only when the close does not end the loop
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(5000);
    QTimer::singleShot(0, form, [this] {
        ClearFrames();
        form->close();
    });
    EXPECT_EQ(QApplication::exec(), 0);
    guard.stop();
    QApplication::setQuitOnLastWindowClosed(true);

    EXPECT_FALSE(form4->isVisible());
    EXPECT_FALSE(form9->isVisible());
    for (QTimer* t : {form9->Session->Timer1, form9->Session->Timer2, form9->Session->HoldTimer})
        EXPECT_FALSE(t->isActive());
    EXPECT_EQ(backend->OpenConnections(), 0);
    EXPECT_EQ(form9->CurrentDevice, nullptr);
    Step(3000); // no poll, no start sign any more
    EXPECT_TRUE(Frames().empty());
    emit form9->Hid->DeviceChange(); // nor a new connect
    Deliver();
    EXPECT_EQ(backend->OpenConnections(), 0);
}

// ---- Message boxes ----

TEST(DialogOwner, HiddenOrMissingOwnerGoesToTheMainWindow) {
    QWidget main, hidden, other;
    auto* child = new QPushButton(&main);
    main.show();
    other.show();
    EXPECT_EQ(DialogOwner(&hidden, &main), &main);
    EXPECT_EQ(DialogOwner(nullptr, &main), &main);
    EXPECT_EQ(DialogOwner(child, &main), &main);
    EXPECT_EQ(DialogOwner(&other, &main), &other);
    EXPECT_EQ(DialogOwner(&hidden, nullptr), &hidden);
}

TEST_F(PersonLink, LinkNoticeOpensOverTheMainWindow) {
    StartConsole();
    ASSERT_FALSE(form9->isVisible());
    SetDialogs(nullptr); // Qt's boxes
    QWidget* parent = nullptr;
    QPoint centre;
    bool modal = false;
    QTimer::singleShot(0, form, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        parent = box->parentWidget();
        centre = box->frameGeometry().center();
        modal = box->isModal();
        box->close();
    });
    Dialogs().Notify(form9, QStringLiteral("提示"), QStringLiteral("保存成功!"));
    SetDialogs(dialogs.get());
    EXPECT_EQ(parent, form);
    EXPECT_TRUE(modal);
    const QPoint mainCentre = form->frameGeometry().center();
    EXPECT_LE((centre - mainCentre).manhattanLength(), 4);
}

// ---- Saving a preset over an existing file ----

TEST_F(PersonPointer, SaveAsksBeforeReplacingAnyExistingFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString x = dir.filePath("x.Nddt");
    auto read = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    {
        QFile old(x);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old tuning");
    }
    auto save = [&] {
        ASSERT_EQ(form->childAt(Centre(form->SaveFileBtn)), form->SaveFileBtn);
        QTest::mouseClick(form->SaveFileBtn, Qt::LeftButton);
    };

    dialogs->fileNames = {x, dir.filePath("x"), dir.filePath("x"), dir.filePath("new")};
    dialogs->answers = {false, false, true};
    save(); // picked: x.Nddt, answered No
    save(); // typed: x, the extension makes it x.Nddt; No
    EXPECT_EQ(read(x), "old tuning");
    EXPECT_TRUE(dialogs->texts(DialogRecord::Notify).isEmpty());
    save(); // Yes
    EXPECT_NE(read(x), "old tuning");
    save(); // a new file: no question
    EXPECT_TRUE(QFile::exists(dir.filePath("new.Nddt")));

    const QStringList asked = dialogs->texts(DialogRecord::Ask);
    ASSERT_EQ(asked.size(), 3);
    for (const QString& q : asked)
        EXPECT_TRUE(q.contains(x)) << q.toStdString();
    for (const DialogRecord& r : dialogs->records)
        EXPECT_TRUE(r.kind != DialogRecord::Ask || r.caption == QStringLiteral("Confirm"));
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify).size(), 2); // the two saves made
    EXPECT_TRUE(Calls().empty());
}
