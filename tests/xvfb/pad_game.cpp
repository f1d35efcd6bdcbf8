// The game as `vorbix --record FILE` plays it, with one addition for the tests and the
// benchmark: a virtual game controller, made with SDL in this process (the only place SDL
// lets a program's own controller be seen), that lines on standard input plug in, press and
// pull out:
//   plug | unplug | press BUTTON | release BUTTON | axis x|y VALUE
// BUTTON is one of a b start left right up down (the last four the D-pad's), VALUE from -1 to 1.
// The game program itself holds no such path: it only reads real controllers.
#include "form/form1.h"
#include "qt/fonts.h"
#include "qt/qt_front_end.h"
#include "qt/trace.h"
#include "script/recorder.h"
#include "script/recording_file.h"

#include <QApplication>
#include <QSocketNotifier>

#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>

namespace {

class VirtualPad {
public:
    VirtualPad()
    {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
            std::fprintf(stderr, "pad_game: no SDL: %s\n", SDL_GetError());
            std::exit(1);
        }
        QObject::connect(&input_, &QSocketNotifier::activated, [this] { take_input(); });
    }

private:
    void take_input()
    {
        char chunk[512];
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got <= 0) {
            input_.setEnabled(false);
            return;
        }
        pending_.append(chunk, static_cast<std::size_t>(got));
        for (std::size_t end = pending_.find('\n'); end != std::string::npos; end = pending_.find('\n')) {
            run(pending_.substr(0, end));
            pending_.erase(0, end + 1);
        }
    }

    void run(const std::string& line)
    {
        std::istringstream words(line);
        std::string command, name;
        words >> command >> name;
        if (command == "plug") return plug();
        if (command == "unplug") return unplug();
        if (joystick_ == nullptr) return complain(line, "no controller is plugged in");
        if (command == "press" || command == "release") {
            const auto button = buttons.find(name);
            if (button == buttons.end()) return complain(line, "no such button");
            if (command == "press") vorbix::qt::trace("pad-press");
            SDL_JoystickSetVirtualButton(joystick_, button->second, command == "press" ? SDL_PRESSED : SDL_RELEASED);
            return;
        }
        float value = 0;
        if (command == "axis" && (name == "x" || name == "y") && (words >> value)) {
            const auto axis = name == "x" ? SDL_CONTROLLER_AXIS_LEFTX : SDL_CONTROLLER_AXIS_LEFTY;
            SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value * 32767.0f));
            return;
        }
        complain(line, "not understood");
    }

    void plug()
    {
        if (joystick_ != nullptr) return;
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.name = "Virtual test controller";
        const int device = SDL_JoystickAttachVirtualEx(&desc);
        if (device < 0 || (joystick_ = SDL_JoystickOpen(device)) == nullptr) {
            std::fprintf(stderr, "pad_game: cannot plug in: %s\n", SDL_GetError());
            return;
        }
        instance_ = SDL_JoystickInstanceID(joystick_);
    }

    void unplug()
    {
        if (joystick_ == nullptr) return;
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int device = 0; device < SDL_NumJoysticks(); ++device) {
            if (SDL_JoystickGetDeviceInstanceID(device) == instance_) SDL_JoystickDetachVirtual(device);
        }
    }

    static void complain(const std::string& line, const char* why)
    {
        std::fprintf(stderr, "pad_game: %s: %s\n", line.c_str(), why);
    }

    inline static const std::map<std::string, int> buttons = {
        {"a", SDL_CONTROLLER_BUTTON_A},
        {"b", SDL_CONTROLLER_BUTTON_B},
        {"start", SDL_CONTROLLER_BUTTON_START},
        {"left", SDL_CONTROLLER_BUTTON_DPAD_LEFT},
        {"right", SDL_CONTROLLER_BUTTON_DPAD_RIGHT},
        {"up", SDL_CONTROLLER_BUTTON_DPAD_UP},
        {"down", SDL_CONTROLLER_BUTTON_DPAD_DOWN},
    };

    QSocketNotifier input_{STDIN_FILENO, QSocketNotifier::Read};
    std::string pending_;
    SDL_Joystick* joystick_ = nullptr;
    SDL_JoystickID instance_ = -1;
};

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: pad_game RECORDING < PAD-LINES\n", stderr);
        return 2;
    }
    QApplication application(argc, argv);
    vorbix::qt::substitute_design_fonts();
    vorbix::qt::QtFrontEnd front_end;
    auto opened = vorbix::RecordingFile::open(argv[1], vorbix::RecordingFile::Existing::overwrite);
    if (const auto* failure = std::get_if<std::string>(&opened)) {
        std::fprintf(stderr, "pad_game: %s\n", failure->c_str());
        return 2;
    }
    vorbix::RecordingFile file(std::move(std::get<vorbix::RecordingFile>(opened)));
    vorbix::Recorder recorder(front_end, file, vorbix::recording_header(""));
    vorbix::Form1 game(recorder);
    VirtualPad pad;
    recorder.start();
    return front_end.run();
}
