// The lines of a script, read from a file, standard input or memory, each no longer than any
// line needs to be: a line that grows past the limit is refused as soon as the limit is
// passed, and nothing of it is kept. A failure to read is told, never taken for the end.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace vorbix::script {

// The longest line a script may hold, its line end left out.
inline constexpr std::size_t longest_line = 4096;

class Lines {
public:
    // Reads up to size bytes into buffer: how many it read, 0 at the end, or -1 on a failure
    // that errno names.
    using Read = std::function<long(char* buffer, std::size_t size)>;

    // Lines from a reader; name names the input in messages ("game.txt", "standard input").
    Lines(Read read, std::string name);
    // Lines from a stream, or from a file descriptor.
    static Lines of(std::istream& stream, std::string name = "the script");
    static Lines of_file(int file, std::string name);

    // The next line, without its line end (a carriage return before it left in place);
    // nothing at the end of the input, after a failure, or for a line that is too long.
    std::optional<std::string_view> next();

    // From now on a last line without its line end, where the input was cut off, is a
    // failure ("line N: ... cut off there") instead of a line.
    void refuse_cut_line() { refuse_cut_ = true; }

    // The number of the line given last, from 1.
    long number() const { return number_; }
    // What stopped the lines before the end: "cannot read NAME: reason", or, for a line
    // too long or refused as cut off, "line N: ...".
    const std::optional<std::string>& failure() const { return failure_; }

private:
    bool fill();

    Read read_;
    std::string name_;
    std::string buffer_;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
    bool at_end_ = false;
    std::string line_;
    long number_ = 0;
    bool refuse_cut_ = false;
    std::optional<std::string> failure_;
};

}  // namespace vorbix::script
