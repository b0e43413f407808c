#include "tests/support/AppFixture.h"

#include "params/ParamImage.h"
#include "params/SendToUnit.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

void AppFixture::SetUp() {
    dialogs = std::make_unique<ScriptedDialogs>();
    calls.clear();
    SetSendTap([this](int address, int value, bool suppressed) {
        calls.push_back({address, value, suppressed});
    });
    form = new TForm1;
    form->show();         // the first showing runs FormShow
    form->Timer1->stop(); // tests step time themselves
    QApplication::setActiveWindow(form);
    calls.clear();
}

void AppFixture::TearDown() {
    delete form;
    form = nullptr;
    SetSendTap(nullptr);
    dialogs.reset();
}

std::vector<SentWrite> AppFixture::Sent() const {
    std::vector<SentWrite> out;
    for (const SentWrite& w : calls)
        if (!w.suppressed) out.push_back(w);
    return out;
}

void AppFixture::clickInto(QLineEdit* edit) {
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(4, edit->height() / 2));
}

void AppFixture::typeInto(QLineEdit* edit, const QString& text) {
    clickInto(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

void AppFixture::pressKey(QWidget* widget, Qt::Key key) {
    QTest::keyClick(widget, key);
}

void AppFixture::selectCombo(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void AppFixture::click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

int AppFixture::P(int module, int index) {
    return Params.ParamImage[module][index];
}
int AppFixture::D(int module, int index) {
    return Params.DeviceImage[module][index];
}
