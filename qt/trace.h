// A measuring aid for bench/measure: when the environment variable VORBIX_TRACE names a file,
// one line per event is appended to it, "<monotonic microseconds> <event>". Without the
// variable nothing is opened or written, and each call costs one test of a flag.
#pragma once

class QWidget;

namespace vorbix::qt {

namespace trace_detail {
// The trace file's descriptor, or -1 when tracing is off; set once at program start.
extern int file;
long long now_in_microseconds();
void write_line(const char* event);
void write_line_at(long long microseconds, const char* event);
void write_numbered_line(const char* event, int number);
void watch_first_paint(QWidget& widget, const char* event);
}  // namespace trace_detail

inline bool tracing() { return trace_detail::file >= 0; }

// Appends one line for the event; the event is one word without spaces.
inline void trace(const char* event)
{
    if (tracing()) trace_detail::write_line(event);
}

// Appends one line for the event with a number, "<event>-<number>": a key with its code, say.
inline void trace(const char* event, int number)
{
    if (tracing()) trace_detail::write_numbered_line(event, number);
}

// The moment of an event whose line is written later, once it is known to have happened; 0
// when tracing is off.
inline long long trace_moment() { return tracing() ? trace_detail::now_in_microseconds() : 0; }

// Appends one line for an event that happened at the moment given.
inline void trace_at(long long moment, const char* event)
{
    if (tracing()) trace_detail::write_line_at(moment, event);
}

// Traces the event once, when the widget is next painted: the first picture after showing it.
inline void trace_first_paint(QWidget& widget, const char* event)
{
    if (tracing()) trace_detail::watch_first_paint(widget, event);
}

}  // namespace vorbix::qt
