// Vorbix: the game window on the Qt front end.
#include "app/command_line.h"
#include "form/form1.h"
#include "qt/fonts.h"
#include "qt/qt_front_end.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {
bool display_available()
{
    // A platform chosen explicitly (offscreen, for one) needs no display server.
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
           std::getenv("QT_QPA_PLATFORM") != nullptr;
}
}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("vorbix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VORBIX_VERSION));
    const vorbix::app::CommandLine command_line = vorbix::app::parse_command_line(argc, argv);
    if (command_line.exit_status) return *command_line.exit_status;
    if (!display_available()) {
        std::fputs("vorbix: no display found; set DISPLAY to run the game\n", stderr);
        return 1;
    }
    QApplication application(argc, argv);
    // Lets desktop shells match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName("io.github.vorbix.Vorbix");
    vorbix::qt::substitute_design_fonts();

    vorbix::qt::QtFrontEnd front_end;
    vorbix::Form1 game(front_end);
    game.start();
    return front_end.run();
}
