// Starts a program under X and times its windows from outside, for bench/measure: when the
// "Difficulty" question is mapped, when Return (sent through the XTEST extension, as a
// keyboard would) answers it, and when the "Vorbix" window is mapped. Prints one line per
// event, "<event> <monotonic microseconds>", and exits once the window is mapped, leaving the
// program running; the first line gives its process id. Needs a server without a window
// manager, where the programs' windows are children of the root window.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <sys/select.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

long long now_microseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

void report(const char* event, long long when)
{
    std::printf("%s %lld\n", event, when);
    std::fflush(stdout);
}

// A window may be gone before its name is read; such errors are expected.
int ignore_error(Display*, XErrorEvent*) { return 0; }

std::string name_of(Display* display, Window window)
{
    char* name = nullptr;
    std::string result;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        result = name;
        XFree(name);
    }
    return result;
}

// Waits up to the given time for an X event; false when the time ran out.
bool next_event(Display* display, XEvent& event, long long deadline)
{
    while (XPending(display) == 0) {
        const long long left = deadline - now_microseconds();
        if (left <= 0) return false;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(ConnectionNumber(display), &readable);
        timeval wait{static_cast<time_t>(left / 1000000), static_cast<suseconds_t>(left % 1000000)};
        select(ConnectionNumber(display) + 1, &readable, nullptr, nullptr, &wait);
    }
    XNextEvent(display, &event);
    return true;
}

// Presses or releases Return. The two are sent apart, as from a keyboard, while the events
// in between are still read and timed.
void send_return(Display* display, bool press)
{
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Return), press ? True : False, CurrentTime);
    XFlush(display);
    if (press) report("return-sent", now_microseconds());
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fputs("usage: vorbix_launch_watch PROGRAM-OUTPUT-FILE PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("vorbix_launch_watch: cannot open the display\n", stderr);
        return 1;
    }
    int event_base = 0, error_base = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event_base, &error_base, &major, &minor)) {
        std::fputs("vorbix_launch_watch: the server has no XTEST extension\n", stderr);
        return 1;
    }
    XSetErrorHandler(ignore_error);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const long long launched = now_microseconds();
    const pid_t child = fork();
    if (child == 0) {
        const int output = open(argv[1], O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (output >= 0) {
            dup2(output, STDOUT_FILENO);
            dup2(output, STDERR_FILENO);
            close(output);
        }
        close(ConnectionNumber(display));
        execvp(argv[2], argv + 2);
        std::perror("exec");
        _exit(127);
    }
    std::printf("pid %d\n", static_cast<int>(child));
    report("launched", launched);

    const long long give_up = launched + 30 * 1000000LL;
    const long long never = give_up;
    Window question = 0;
    long long next_press = never;
    long long next_release = never;
    int presses = 0;
    XEvent event;
    for (;;) {
        const long long deadline = std::min(next_press, next_release);
        if (!next_event(display, event, deadline)) {
            const long long now = now_microseconds();
            if (now >= give_up) {
                std::fputs("vorbix_launch_watch: no game window within 30 s\n", stderr);
                return 1;
            }
            if (now >= next_release) {
                send_return(display, false);
                next_release = never;
            }
            // The question still stands: answer it (again, if a key was lost).
            if (now >= next_press && question != 0 && presses < 10) {
                send_return(display, true);
                ++presses;
                next_release = now + 30000;
                next_press = now + 500000;
            }
            continue;
        }
        if (event.type == MapNotify) {
            const long long when = now_microseconds();
            const std::string name = name_of(display, event.xmap.window);
            if (name == "Difficulty" && question == 0) {
                question = event.xmap.window;
                report("question-mapped", when);
                // Let the box take the focus before the key comes.
                next_press = when + 200000;
            } else if (name == "Vorbix") {
                report("window-mapped", when);
                if (next_release != never) send_return(display, false);
                XCloseDisplay(display);
                return 0;
            }
        } else if (event.type == UnmapNotify && question != 0 && event.xunmap.window == question) {
            report("question-unmapped", now_microseconds());
            question = 0;
            next_press = never;
        }
    }
}
