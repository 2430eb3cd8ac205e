#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every test program runs with a QApplication on the platform the test
// environment names (offscreen by default). What the program keeps in the
// user's data folder (measurement journals, ...) goes to a temporary folder
// of the test program's own, never to the home of whoever runs the tests.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir userData;
    if (userData.isValid())
        qputenv("XDG_DATA_HOME", QFile::encodeName(userData.path()));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
