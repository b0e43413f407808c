// GoogleTest main for the console's tests: one QApplication, headless.
#include <QApplication>
#include <QFont>
#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // The font the console's start-up gives the whole application.
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
    return RUN_ALL_TESTS();
}
