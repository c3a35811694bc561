// Test entry: a Qt application object (widgets for GUI test programs) around GoogleTest.
#include <gtest/gtest.h>

#include <cstdlib>

#ifdef QRX_TEST_GUI
#include <QApplication>
using TestApp = QApplication;
#else
#include <QCoreApplication>
using TestApp = QCoreApplication;
#endif

int main(int argc, char** argv)
{
    // Tests never need a real display; test discovery runs without the ctest environment.
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    // Every test stays on loopback.
    if (!std::getenv("QRX_ADAPTERS")) {
        setenv("QRX_ADAPTERS", "lo", 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    TestApp app(argc, argv);
    return RUN_ALL_TESTS();
}
