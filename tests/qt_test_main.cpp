// The Qt tests run on Qt's offscreen platform: no display is needed, and the pictures are
// painted exactly as on a screen.
#include "qt/fonts.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The window's place goes to a settings folder of the tests' own, not the player's.
    QStandardPaths::setTestModeEnabled(true);
    vorbix::qt::substitute_design_fonts();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
