// Vorbix: the game window on the Qt front end; with --record the game is written down as it
// is played, with --watch a recorded game is played back in the window.
#include "form/form1.h"
#include "programs/command_line.h"
#include "qt/fonts.h"
#include "qt/qt_front_end.h"
#include "qt/watch.h"
#include "script/recorder.h"
#include "script/recording_file.h"

#include <QApplication>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>

namespace {

constexpr int no_display = 1;
constexpr int internal_failure = 1;
constexpr int usage_error = 2;

bool set(const char* variable) { return std::getenv(variable) != nullptr && *std::getenv(variable) != '\0'; }

// Whether a Wayland compositor can be reached: named, handed over, or at its usual socket.
bool wayland_display()
{
    if (set("WAYLAND_DISPLAY") || set("WAYLAND_SOCKET")) return true;
    struct stat socket = {};
    return set("XDG_RUNTIME_DIR") &&
           ::stat((std::string(std::getenv("XDG_RUNTIME_DIR")) + "/wayland-0").c_str(), &socket) == 0;
}

// Whether one of the platforms Qt is asked for can open the window; nothing asked for means
// the session's X or Wayland display. A platform of no display server (offscreen, for one)
// always can. Qt itself would abort on a display it cannot reach.
bool display_available()
{
    if (!set("QT_QPA_PLATFORM")) return set("DISPLAY") || wayland_display();
    const std::string_view platforms = std::getenv("QT_QPA_PLATFORM");
    for (std::size_t start = 0; start <= platforms.size();) {
        const std::size_t end = std::min(platforms.find(';', start), platforms.size());
        const std::string_view platform = platforms.substr(start, end - start);
        if (platform.starts_with("wayland") ? wayland_display() : platform.starts_with("xcb") ? set("DISPLAY") : true) {
            return true;
        }
        start = end + 1;
    }
    return false;
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
        recorder.emplace(front_end, *file, vorbix::recording_header(""));
        if (!recorder->failure().empty()) {
            std::fprintf(stderr, "vorbix: %s\n", recorder->failure().c_str());
            return usage_error;
        }
        // Once the game runs it plays on; the player learns once that the recording stopped.
        recorder->on_stop([](const std::string& failure) {
            std::fprintf(stderr, "vorbix: the recording stopped, the game plays on: %s\n", failure.c_str());
        });
    }
    vorbix::Form1 game(recorder ? static_cast<vorbix::FrontEnd&>(*recorder) : front_end);
    // The game starts through the recorder, which writes the start down.
    vorbix::GamePort& port = recorder ? static_cast<vorbix::GamePort&>(*recorder) : game;
    port.start();
    const int status = front_end.run();
    return recorder && !recorder->failure().empty() ? usage_error : status;
}

int watch(const std::string& path)
{
    // A recording is a file: anything else (a folder, a pipe nobody writes to, a device)
    // is refused before it is read, rather than waited for.
    const int file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status = {};
    if (file < 0 || ::fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        const std::string reason = file < 0 ? std::strerror(errno) : "it is not a file";
        std::fprintf(stderr, "vorbix: cannot watch %s: %s\n", path.c_str(), reason.c_str());
        if (file >= 0) ::close(file);
        return usage_error;
    }
    vorbix::script::Lines lines = vorbix::script::Lines::of_file(file, path);
    vorbix::ScriptToPlay script = vorbix::script_to_play(lines);
    ::close(file);
    if (const auto reason = script.unplayable()) {
        std::fprintf(stderr, "vorbix: cannot watch %s: %s\n", path.c_str(), reason->c_str());
        return usage_error;
    }
    if (script.stopped) {
        std::fprintf(stderr, "vorbix: %s is watched up to where it stops, %s\n", path.c_str(), script.stopped->c_str());
    }
    vorbix::qt::Watch shown(std::move(script.commands));
    shown.begin();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[])
try {
    QCoreApplication::setApplicationName(QStringLiteral("vorbix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VORBIX_VERSION));
    const vorbix::app::CommandLine command_line = vorbix::app::parse_command_line(argc, argv);
    if (command_line.exit_status) return *command_line.exit_status;
    const vorbix::app::Options& options = command_line.options;
    if (!display_available()) {
        std::fputs("vorbix: no display found; set DISPLAY (X) or WAYLAND_DISPLAY (Wayland) to run the game\n", stderr);
        return no_display;
    }
    QApplication application(argc, argv);
    // Lets desktop shells match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName("io.github.vorbix.Vorbix");
    vorbix::qt::substitute_design_fonts();
    return options.watch ? watch(*options.watch) : play(options);
} catch (const std::bad_alloc&) {
    std::fputs("vorbix: out of memory\n", stderr);
    return internal_failure;
}
