// "按测量拟合…" as a person takes it: the button, the file dialog, the options,
// the review, what the unit is sent; nddt fit agrees. (Undo: test_undo.)
#include "eq/FitDialogs.h"
#include "eq/FitMeasurement.h"
#include "eq/FitOverlay.h"
#include "params/ParamImage.h"
#include "tests/support/AppFixture.h"
#include "tests/support/RunProgram.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <sys/stat.h>

namespace {

// A speaker 6 dB hot around 1 kHz and 5 dB shy at 100 Hz, at 80 dB.
QByteArray Room() {
    QByteArray s = "* Freq(Hz) SPL(dB) Phase(degrees)\n";
    for (int i = 0; i < 300; ++i) {
        const double f = 20 * std::pow(1000.0, i / 299.0);
        const double x = std::log2(f / 1000), y = std::log2(f / 100);
        const double db = 80 + 6 * std::exp(-x * x * 2) - 5 * std::exp(-y * y * 3);
        s += QByteArray::number(f, 'f', 2) + ' ' + QByteArray::number(db, 'f', 3) + " 0\n";
    }
    return s;
}

class FitMeasurement : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        room = dir.filePath(QStringLiteral("room.txt"));
        QFile f(room);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Room());
        SetFitOptionsRunner([this](FitOptionsDialog& d) {
            ++optionsShown;
            d.show();
            QTest::mouseClick(d.OkButton, Qt::LeftButton);
            return d.result();
        });
    }
    void TearDown() override {
        SetFitOptionsRunner(nullptr);
        SetFitReviewRunner(nullptr);
        SetFitProgressHook(nullptr);
        DismissFitOverlay();
        AppFixture::TearDown();
    }
    void Review(bool apply) {
        SetFitReviewRunner([this, apply](FitReviewDialog& d) {
            d.show();
            rows = d.Table->rowCount();
            scores = d.ScoreLabel->text();
            QTest::mouseClick(apply ? d.OkButton : d.CancelButton, Qt::LeftButton);
            return d.result();
        });
    }
    void ClickFit() {
        QToolButton* b = form->FitMeasureBtn;
        const QPoint at = b->mapTo(form, b->rect().center());
        ASSERT_EQ(form->childAt(at), b);
        click(b);
    }
    std::vector<int> Bands() const {
        std::vector<int> v;
        for (int i = 20; i < 65; ++i)
            v.push_back(P(1, i));
        return v;
    }

    QTemporaryDir dir;
    QString room;
    int optionsShown = 0, rows = -1;
    QString scores;
};

QByteArray Nddt(const QStringList& args, int* code) {
    const ProgramRun r = RunProgram(QStringLiteral(NDDT_BINARY), args);
    *code = r.code;
    return r.out;
}

} // namespace

TEST_F(FitMeasurement, ApplySendsTheChangedSlotsAsNddtFitsThem) {
    const std::vector<int> before = Bands();
    ClearSent();
    dialogs->fileNames = {room};
    Review(true);
    ClickFit();
    EXPECT_EQ(optionsShown, 1);
    EXPECT_EQ(rows, 9);
    EXPECT_TRUE(scores.contains(QStringLiteral("均方根误差"))) << scores.toStdString();
    EXPECT_TRUE(scores.contains(QStringLiteral("+80."))) << scores.toStdString(); // the offset
    EXPECT_TRUE(FitOverlayShown());

    // Every slot that changed was sent once, in order, and nothing else.
    const std::vector<int> after = Bands();
    std::vector<SentWrite> expected;
    for (int i = 0; i < 45; ++i)
        if (after[static_cast<std::size_t>(i)] != before[static_cast<std::size_t>(i)])
            expected.push_back({0x100 + 20 + i, after[static_cast<std::size_t>(i)]});
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(Sent(), expected);

    // nddt fits the same bands from a fresh console's image.
    int code = -1;
    const QString out = dir.filePath(QStringLiteral("fit.Nddt"));
    Nddt({"fit", room, "-o", out}, &code);
    ASSERT_EQ(code, 0);
    const QList<QByteArray> listing = Nddt({"decode", out}, &code).split('\n');
    int checked = 0;
    for (const QByteArray& line : listing) {
        const QList<QByteArray> w = line.split(' ');
        if (w.size() == 3 && w[0] == "1" && w[1].toInt() >= 20 && w[1].toInt() < 65) {
            EXPECT_EQ(w[2].toInt(), P(1, w[1].toInt())) << line.constData();
            ++checked;
        }
    }
    EXPECT_EQ(checked, 45);

    // The measurement stays until dismissed.
    QToolButton* hide = form->FitOverlayCloseBtn;
    EXPECT_TRUE(hide->isVisible());
    click(hide);
    EXPECT_FALSE(FitOverlayShown());
    EXPECT_FALSE(hide->isVisible());
}

TEST_F(FitMeasurement, CancelInTheReviewOrDuringTheFitChangesNothing) {
    const std::vector<int> before = Bands();
    ClearSent();
    dialogs->fileNames = {room};
    Review(false);
    ClickFit();
    EXPECT_EQ(rows, 9);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(Bands(), before);

    rows = -1;
    dialogs->fileNames = {room};
    Review(true);
    SetFitProgressHook([](QProgressDialog& p) {
        ASSERT_TRUE(p.isVisible());
        QPushButton* cancel = p.findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    ClickFit();
    EXPECT_EQ(rows, -1); // no review
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(Bands(), before);
}

TEST_F(FitMeasurement, AFileThatIsNotAMeasurementIsRefusedNamingTheLine) {
    QFile bad(dir.filePath(QStringLiteral("bad.csv")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("frequency,spl\n20,80\n25,x\n");
    bad.close();
    dialogs->fileNames = {bad.fileName()};
    ClickFit();
    const QStringList told = dialogs->texts(DialogRecord::Notify);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QStringLiteral("第 3 行"))) << told[0].toStdString();
    EXPECT_EQ(optionsShown, 0);

    dialogs->fileNames = {dir.path()}; // a directory
    ClickFit();
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify).size(), 2);

    // A FIFO without a writer is refused at once, not waited on.
    const QString fifo = dir.filePath(QStringLiteral("fifo.txt"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    dialogs->fileNames = {fifo};
    ClickFit();
    ASSERT_EQ(dialogs->texts(DialogRecord::Notify).size(), 3);
    EXPECT_TRUE(dialogs->texts(DialogRecord::Notify)[2].endsWith(QStringLiteral("不是普通文件")));
    EXPECT_EQ(optionsShown, 0);
    EXPECT_TRUE(Calls().empty());
}
