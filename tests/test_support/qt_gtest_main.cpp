// The test main of every GoogleTest suite that touches Qt: Qt loads its SQL driver plugins
// only under a QCoreApplication.
#include <gtest/gtest.h>
#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
