#include <QCoreApplication>
#include <gtest/gtest.h>

// The gauge tests need an application object but no windows.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
