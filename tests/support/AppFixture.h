#pragma once
// A fresh main window in the program-start state, shown once (FormShow has
// run), with scripted dialogs and a record of everything handed to the link.

#include "app/MainWindow.h"
#include "tests/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <vector>

struct SentWrite {
    int address = 0;
    int value = 0;
    bool suppressed = false;
    bool operator==(const SentWrite&) const = default;
};

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes handed over for sending (not held back by SendSuppressed).
    std::vector<SentWrite> Sent() const;
    // Every call of SendDatatoMCU, held back or not.
    const std::vector<SentWrite>& Calls() const { return calls; }
    void ClearSent() { calls.clear(); }

    // Click into the edit, replace its text by typing, press Enter.
    void typeInto(QLineEdit* edit, const QString& text);
    // Click into the edit (mouse), as a user starting an edit.
    void clickInto(QLineEdit* edit);
    void pressKey(QWidget* widget, Qt::Key key);
    // A user's choice of an item (QComboBox::activated).
    void selectCombo(QComboBox* box, int index);
    void click(QWidget* widget);

    // ParamImage / DeviceImage by module and index.
    static int P(int module, int index);
    static int D(int module, int index);

    std::unique_ptr<ScriptedDialogs> dialogs;
    TForm1* form = nullptr;
    std::vector<SentWrite> calls;
};
