// The Bluetooth buttons: name, PIN and free text for the receiver module,
// checked before anything is sent.
#include "app/BluetoothButtons.h"

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/WindowState.h"
#include "link/LinkApi.h"

#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {
bool BeyondLatin1(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; });
}
} // namespace

void BleButtonClick(QObject* Sender) {
    if (Form1 == nullptr || !HaveLink() || Sender == nullptr) return;
    QString text;
    if (Sender == Form1->BLUENameBtn) {
        const QString name = Form1->BLUENameEdit->text();
        if (name.isEmpty()) {
            Dialogs().Ask(Form1, QStringLiteral("Confirm"), TForm1::tr("请输入正确的名称"));
            return;
        }
        text = QStringLiteral("NA+") + name;
    } else if (Sender == Form1->BLUEPinBtn) {
        const QString pin = Form1->BluePinEdit->text();
        if (pin.size() != 4) {
            Dialogs().Ask(Form1, QStringLiteral("Confirm"), TForm1::tr("长度必须4位"));
            return;
        }
        text = QStringLiteral("PIN+") + pin;
    } else if (Sender == Form1->BleButton) {
        text = Form1->BlueStrEdit->text();
    } else {
        return;
    }
    // One byte per character: anything beyond Latin-1 would reach the module
    // as some other character.
    if (BeyondLatin1(text)) {
        Dialogs().Notify(
            Form1, NoticeCaption(),
            Lang(QStringLiteral("文本含有无法发送的字符: 只能发送Latin-1字符(不能使用中文等)"),
                 QStringLiteral("Only Latin-1 characters can be sent: the text holds other "
                                "characters (such as Chinese)")));
        return;
    }
    // The packet carries 21 characters; a cut text would reach the module as a
    // different name or code, so it is refused whole.
    if (text.size() > MaxBluetoothText) {
        Dialogs().Notify(Form1, NoticeCaption(),
                         Lang(QStringLiteral("文本过长: 最多可发送21个字符(蓝牙名称最多18个字符)"),
                              QStringLiteral("Text too long: at most 21 characters can be sent "
                                             "(a Bluetooth name at most 18)")));
        return;
    }
    SendBluetoothText(text);
}
