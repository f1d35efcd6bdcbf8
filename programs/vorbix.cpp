// Vorbix: the game window on the Qt front end; with --record the game is written down as it
// is played, with --watch a recorded game is played back in the window.
#include "programs/command_line.h"
#include "programs/watch.h"
#include "form/form1.h"
#include "qt/fonts.h"
#include "qt/qt_front_end.h"
#include "script/recorder.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

constexpr int usage_error = 2;

bool display_available()
{
    // A platform chosen explicitly (offscreen, for one) needs no display server.
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
           std::getenv("QT_QPA_PLATFORM") != nullptr;
}

int play(const std::optional<std::string>& recording)
{
    vorbix::qt::QtFrontEnd front_end;
    std::optional<vorbix::Recorder> recorder;
    if (recording) {
        recorder.emplace(front_end, *recording);
        if (!recorder->failure().empty()) {
            std::fprintf(stderr, "vorbix: %s\n", recorder->failure().c_str());
            return usage_error;
        }
    }
    vorbix::Form1 game(recorder ? static_cast<vorbix::FrontEnd&>(*recorder) : front_end);
    // The game starts through the recorder, which writes the start down.
    vorbix::GamePort& port = recorder ? static_cast<vorbix::GamePort&>(*recorder) : game;
    port.start();
    return front_end.run();
}

int watch(const std::string& path)
{
    std::string problem;
    auto lines = vorbix::app::script_to_watch(path, problem);
    if (!lines) {
        std::fprintf(stderr, "%s%s\n", problem.rfind("line ", 0) == 0 ? "" : "vorbix: ", problem.c_str());
        return usage_error;
    }
    vorbix::app::Playback playback(std::move(*lines));
    playback.begin();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("vorbix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VORBIX_VERSION));
    const vorbix::app::CommandLine command_line = vorbix::app::parse_command_line(argc, argv);
    if (command_line.exit_status) return *command_line.exit_status;
    const vorbix::app::Options& options = command_line.options;
    if (!display_available()) {
        std::fputs("vorbix: no display found; set DISPLAY to run the game\n", stderr);
        return 1;
    }
    QApplication application(argc, argv);
    // Lets desktop shells match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName("io.github.vorbix.Vorbix");
    vorbix::qt::substitute_design_fonts();
    return options.watch ? watch(*options.watch) : play(options.record);
}
