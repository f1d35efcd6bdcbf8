// Vorbix: the game window on the Qt front end; with --record the game is written down as it
// is played, with --watch a recorded game is played back in the window.
#include "form/form1.h"
#include "programs/command_line.h"
#include "programs/watch.h"
#include "qt/fonts.h"
#include "qt/qt_front_end.h"
#include "script/recorder.h"
#include "script/recording_file.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>

namespace {

constexpr int usage_error = 2;

bool display_available()
{
    // A platform chosen explicitly (offscreen, for one) needs no display server.
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
           std::getenv("QT_QPA_PLATFORM") != nullptr;
}

std::string recording_header()
{
    char when[64] = "";
    const std::time_t now = std::time(nullptr);
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    return std::string("A game of Vorbix, recorded ") + when +
           ". Replay it with vorbix-replay, or watch it with vorbix --watch.";
}

int play(const vorbix::app::Options& options)
{
    vorbix::qt::QtFrontEnd front_end;
    std::optional<vorbix::RecordingFile> file;
    std::optional<vorbix::Recorder> recorder;
    if (options.record) {
        const auto existing =
            options.overwrite ? vorbix::RecordingFile::Existing::overwrite : vorbix::RecordingFile::Existing::refuse;
        auto opened = vorbix::RecordingFile::open(*options.record, existing);
        if (const auto* failure = std::get_if<std::string>(&opened)) {
            std::fprintf(stderr, "vorbix: %s\n", failure->c_str());
            return usage_error;
        }
        file.emplace(std::move(std::get<vorbix::RecordingFile>(opened)));
        recorder.emplace(front_end, *file, recording_header());
        if (!recorder->failure().empty()) {
            std::fprintf(stderr, "vorbix: %s\n", recorder->failure().c_str());
            return usage_error;
        }
        // Once the game runs it plays on; the player learns once that the recording stopped.
        recorder->on_stop([](const std::string& failure) {
            std::fprintf(stderr, "vorbix: the recording stopped: %s\n", failure.c_str());
        });
    }
    vorbix::Form1 game(recorder ? static_cast<vorbix::FrontEnd&>(*recorder) : front_end);
    // The game starts through the recorder, which writes the start down.
    vorbix::GamePort& port = recorder ? static_cast<vorbix::GamePort&>(*recorder) : game;
    port.start();
    return front_end.run();
}

int watch(const std::string& path)
{
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "vorbix: cannot read %s\n", path.c_str());
        return usage_error;
    }
    auto commands = vorbix::commands_to_play(file);
    if (const auto* faulty = std::get_if<std::string>(&commands)) {
        std::fprintf(stderr, "%s\n", faulty->c_str());
        return usage_error;
    }
    vorbix::app::Watch watch(std::move(std::get<std::vector<vorbix::script::Command>>(commands)));
    watch.begin();
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
    return options.watch ? watch(*options.watch) : play(options);
}
