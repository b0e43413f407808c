// GoogleTest main for the console's tests: one QApplication, headless.
#include "presets/Snapshots.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Every connect takes a snapshot: never into the user's own data directory.
    QTemporaryDir snapshots;
    SetSnapshotRoot(snapshots.path());
    const int result = RUN_ALL_TESTS();
    FlushSnapshots();
    return result;
}
