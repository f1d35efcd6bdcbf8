// The trace file of the measuring aid: opened once at program start when VORBIX_TRACE is set.
#include "qt/trace.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace vorbix::qt::trace_detail {
namespace {

int open_trace_file()
{
    const char* path = std::getenv("VORBIX_TRACE");
    if (path == nullptr || *path == '\0') return -1;
    // Each line goes out in one write to a file opened for appending, so lines stay whole and
    // are on disk even when the program is killed.
    return ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

// Deletes itself after the first paint event of the widget it watches.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget& widget, const char* event) : QObject(&widget), event_(event)
    {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            write_line(event_);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    const char* event_;
};

}  // namespace

// Off until the file is open, also for any code that runs before this file's initialisation.
constinit int file = -1;
namespace {
[[maybe_unused]] const bool opened = (file = open_trace_file(), true);
}  // namespace

long long now_in_microseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

namespace {

void write_whole(const char* line, int length, std::size_t room)
{
    if (length > 0 && static_cast<std::size_t>(length) < room) {
        [[maybe_unused]] const ssize_t written = ::write(file, line, static_cast<std::size_t>(length));
    }
}

}  // namespace

void write_line(const char* event) { write_line_at(now_in_microseconds(), event); }

void write_line_at(long long microseconds, const char* event)
{
    char line[128];
    write_whole(line, std::snprintf(line, sizeof line, "%lld %s\n", microseconds, event), sizeof line);
}

void write_numbered_line(const char* event, int number)
{
    char line[128];
    write_whole(line, std::snprintf(line, sizeof line, "%lld %s-%d\n", now_in_microseconds(), event, number),
                sizeof line);
}

void watch_first_paint(QWidget& widget, const char* event) { new FirstPaintWatch(widget, event); }

}  // namespace vorbix::qt::trace_detail
