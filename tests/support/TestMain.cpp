// GoogleTest main for the console's tests: one QApplication, headless.
#include "presets/Snapshots.h"

#include <QApplication>
#include <QFont>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // The font the console's start-up gives the whole application.
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
    // Every connect takes a snapshot: never into the user's own data directory.
    QTemporaryDir snapshots;
    SetSnapshotRoot(snapshots.path());
    const int result = RUN_ALL_TESTS();
    FlushSnapshots();
    return result;
}
