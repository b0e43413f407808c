// Filter text on the band table, as a person takes it: the button, the file
// dialog, the review and what the unit is sent.
#include "eq/PeqReviewDialog.h"
#include "params/ParamImage.h"
#include "presets/PresetFiles.h"
#include "tests/support/AppFixture.h"
#include "tests/support/RunProgram.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

class PeqImport : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override {
        SetPeqReviewRunner(nullptr);
        AppFixture::TearDown();
    }

    QString Write(const char* name, const QByteArray& text) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return path;
    }

    // The button as the mouse finds it on the window.
    void ClickButton(QPushButton* button) {
        const QPoint at = button->mapTo(form, button->rect().center());
        QWidget* under = form->childAt(at);
        ASSERT_EQ(under, button);
        click(under);
    }

    // Answers the review by clicking one of its buttons while it is shown.
    void Answer(bool ok, bool keepOthers = false) {
        SetPeqReviewRunner([this, ok, keepOthers](PeqReviewDialog& d) {
            ++reviews;
            d.show();
            review = d.Table->rowCount();
            deviation = d.DeviationLabel->text();
            notes = d.NotesLabel->text();
            if (keepOthers) // on its indicator: the button is wider than its text
                QTest::mouseClick(d.KeepRadio, Qt::LeftButton, {},
                                  QPoint(6, d.KeepRadio->height() / 2));
            QTest::mouseClick(ok ? d.OkButton : d.CancelButton, Qt::LeftButton);
            return d.result();
        });
    }

    QTemporaryDir dir;
    int reviews = 0;
    int review = -1;
    QString deviation, notes;
};

const QByteArray kTwoFilters = "Preamp: -3 dB\n"
                               "Filter 1: ON PK Fc 1000 Hz Gain 3 dB Q 2\n"
                               "Filter 2: ON LSC Fc 100 Hz Gain -6 dB Q 0.7071\n";

} // namespace

TEST_F(PeqImport, OkSendsTheChangedSlotsAndResetsTheOtherBands) {
    typeInto(form->MusGainEdit5, QStringLiteral("4")); // band 5 away from its default
    ClearSent();
    dialogs->fileNames = {Write("a.txt", kTwoFilters)};
    Answer(true);
    ClickButton(form->PeqImportBtn);

    EXPECT_EQ(reviews, 1);
    EXPECT_EQ(review, 2);
    EXPECT_TRUE(notes.contains(QStringLiteral("前级增益"))) << notes.toStdString();
    EXPECT_TRUE(deviation.contains(QStringLiteral("dB")));
    const std::vector<SentWrite> expected = {
        {0x115, 204}, {0x116, 135}, {0x117, 37},              // 1000 Hz, +3 dB, Q 2.00
        {0x119, 1},   {0x11A, 84},  {0x11B, 90}, {0x11D, 25}, // low shelf 99 Hz, -6 dB, slope 1.00
        {0x12A, 120},                                         // band 5 back to 0 dB
    };
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(form->MusFreEdit1->text(), QStringLiteral("1000.0"));
    EXPECT_EQ(form->MusGainEdit2->text(), QStringLiteral("-6.0dB"));
    EXPECT_EQ(form->MusModeBox2->currentIndex(), 1);
    EXPECT_EQ(form->MusQEdit2->text(), QStringLiteral("1.00"));
    EXPECT_EQ(D(1, 26), 84);
}

TEST_F(PeqImport, KeepLeavesTheOtherBandsAndCancelChangesNothing) {
    typeInto(form->MusGainEdit5, QStringLiteral("4"));
    ClearSent();
    dialogs->fileNames = {Write("a.txt", kTwoFilters)};
    Answer(true, true);
    ClickButton(form->PeqImportBtn);
    EXPECT_EQ(Sent().size(), 7u); // the two bands; the edit left unchanged sends nothing
    EXPECT_EQ(P(1, 42), 140);

    ClearSent();
    dialogs->fileNames = {Write("b.txt", "Filter 1: ON PK Fc 5000 Hz Gain -9 dB Q 4\n")};
    Answer(false);
    ClickButton(form->PeqImportBtn);
    EXPECT_EQ(reviews, 2);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(P(1, 21), 204);
    EXPECT_EQ(form->MusFreEdit1->text(), QStringLiteral("1000.0"));
}

TEST_F(PeqImport, BadFileIsRefusedNamingTheLineAndNothingChanges) {
    dialogs->fileNames = {Write("bad.txt", "Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\n"
                                           "Filter 2: ON PK Fc 100 Hz Gain 1 dB Q 0\n")};
    Answer(true);
    ClickButton(form->PeqImportBtn);
    EXPECT_EQ(reviews, 0);
    const QStringList told = dialogs->texts(DialogRecord::Notify);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("第 2 行"))) << told[0].toStdString();
    EXPECT_TRUE(Calls().empty());

    dialogs->fileNames = {dir.filePath(QStringLiteral("missing.txt"))};
    ClickButton(form->PeqImportBtn);
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify).size(), 2);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(PeqImport, AuxiliaryModuleTakesTwoBandsAndNamesTheDropped) {
    click(form->FormTabBtn2);
    ClearSent();
    dialogs->fileNames = {
        Write("a.txt", kTwoFilters + "Filter 3: ON PK Fc 4000 Hz Gain 1 dB Q 1\n")};
    Answer(true);
    ClickButton(form->PeqImportBtn); // on top of the auxiliary rows
    EXPECT_EQ(review, 2);
    EXPECT_TRUE(notes.contains(QStringLiteral("Filter 3"))) << notes.toStdString();
    for (const SentWrite& w : Sent())
        EXPECT_TRUE(w.address >= 0x221 && w.address <= 0x22A) << w.address;
    EXPECT_EQ(P(2, 34), 204);
    EXPECT_EQ(P(2, 38), 1);
    EXPECT_EQ(P(1, 21), 5); // the main channel is untouched
}

TEST_F(PeqImport, ExportThenImportSendsOnlyTheBypassedBandsShownQ) {
    typeInto(form->MusGainEdit3, QStringLiteral("-7.5"));
    click(form->MusBypassCheck4);
    selectCombo(form->MusModeBox6, 2);
    const QString path = dir.filePath(QStringLiteral("out")); // no extension: .txt added
    dialogs->fileNames = {path};
    ClickButton(form->PeqExportBtn);
    QFile written(path + QStringLiteral(".txt"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    EXPECT_TRUE(text.startsWith("Filter 1: ON PK Fc 21.7 Hz Gain 0.0 dB Q 1.00\r\n"))
        << text.constData();
    EXPECT_TRUE(text.contains("Filter 4: OFF PK")) << text.constData();
    EXPECT_TRUE(text.contains("Filter 6: ON HSC Fc 1020.0 Hz Gain 0.0 dB Q 0.5958"))
        << text.constData();

    // Exported again over it: asked first (as the preset save), No keeps it.
    written.close();
    typeInto(form->MusGainEdit3, QStringLiteral("2"));
    dialogs->records.clear();
    dialogs->fileNames = {path};
    ClickButton(form->PeqExportBtn);
    EXPECT_EQ(dialogs->texts(DialogRecord::Ask),
              QStringList{"文件已存在, 是否替换?\n" + written.fileName()});
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), text);
    typeInto(form->MusGainEdit3, QStringLiteral("-7.5"));

    ClearSent();
    dialogs->fileNames = {written.fileName()};
    Answer(true);
    ClickButton(form->PeqImportBtn);
    EXPECT_EQ(review, 9);
    EXPECT_TRUE(deviation.contains(QStringLiteral("0.00"))) << deviation.toStdString();
    // The bypassed band's field (its second Q slot, 0.71) takes the Q of its line (1.00).
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x127, 25, false}}));
}

namespace {
QByteArray Nddt(const QStringList& args, int* code) {
    const ProgramRun r = RunProgram(QStringLiteral(NDDT_BINARY), args);
    *code = r.code;
    return r.out;
}
} // namespace

TEST_F(PeqImport, NddtSnapsAsTheConsoleDoes) {
    const QString filters =
        Write("room.txt", kTwoFilters + "Filter 3: OFF HS 6dB Fc 7000 Hz Gain -13 dB\n");
    dialogs->fileNames = {dir.filePath(QStringLiteral("fresh.Nddt")), filters,
                          dir.filePath(QStringLiteral("console.Nddt"))};
    SavePreset();
    Answer(true);
    ClickButton(form->PeqImportBtn);
    SavePreset();
    QFile console(dir.filePath(QStringLiteral("console.Nddt")));
    ASSERT_TRUE(console.open(QIODevice::ReadOnly));
    const QByteArray expected = console.readAll();

    int code = -1;
    EXPECT_EQ(Nddt({"peq", "import", filters}, &code), expected); // from a fresh console's image
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Nddt({"peq", "import", filters, "--into", dir.filePath(QStringLiteral("fresh.Nddt"))},
                   &code),
              expected);
    const QByteArray text =
        Nddt({"peq", "export", dir.filePath(QStringLiteral("console.Nddt"))}, &code);
    EXPECT_TRUE(text.startsWith("Filter 1: ON PK Fc 1000.0 Hz Gain 3.0 dB Q 2.00\n"))
        << text.constData();
    EXPECT_TRUE(text.contains("Filter 3: OFF HSC Fc 6990.0 Hz Gain -13.0 dB Q 0.4669\n"))
        << text.constData();

    EXPECT_TRUE(Nddt({"peq", "import", dir.filePath(QStringLiteral("none.txt"))}, &code).isEmpty());
    EXPECT_EQ(code, 1);
}
