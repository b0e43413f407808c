#include "app/Startup.h"

#include "app/Unit1.h"

#include <QApplication>
#include <QFont>

int RunConsole(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KALVIREN Audio Controller"));
    // No display name: Qt would append it to the window caption.
    // The interface text is Chinese: use a font that has the glyphs.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(9);
    QApplication::setFont(font);

    TForm1 form;
    form.show();
    return app.exec();
}
