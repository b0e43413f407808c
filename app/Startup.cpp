#include "app/Startup.h"

#include "app/Language.h"
#include "app/Unit1.h"
#include "link/HidapiBackend.h"
#include "link/Unit9.h"
#include "presets/StatusBox.h"

#include <QApplication>
#include <QFont>

int RunConsole(int argc, char** argv, std::unique_ptr<HidBackend> backend) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KALVIREN Audio Controller"));
    // No display name: Qt would append it to the window caption.
    // The interface text is Chinese: use a font that has the glyphs.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(9);
    QApplication::setFont(font);
    InstallLanguage(ChosenLanguage(QCoreApplication::arguments()));

    TForm1 form;
    TForm9 link(std::move(backend));
    TForm4 status;
    form.show();
    return app.exec();
}

int RunConsole(int argc, char** argv) { return RunConsole(argc, argv, MakeHidapiBackend()); }
