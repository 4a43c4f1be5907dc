// Runs the page printer's GoogleTest cases inside a QGuiApplication on the offscreen platform:
// the printer needs fonts and text layout, never widgets.

#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
