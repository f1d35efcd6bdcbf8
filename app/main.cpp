// Vorbix: the game window on the Qt backend.
#include "platform/qt/fonts.h"
#include "platform/qt/qt_backend.h"
#include "window/form1.h"

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
    if (!display_available()) {
        std::fputs("vorbix: no display found; set DISPLAY to run the game\n", stderr);
        return 1;
    }
    QApplication application(argc, argv);
    // Lets desktop shells match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName("io.github.vorbix.Vorbix");
    vorbix::qt::substitute_design_fonts();

    vorbix::qt::QtBackend backend;
    vorbix::Form1 form(backend);
    backend.attach(form);
    form.Show();
    return backend.run();
}
