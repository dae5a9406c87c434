#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// Widgets are real but never shown on a screen: the platform is chosen before the application
// exists, also when a binary is started by hand.
int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
