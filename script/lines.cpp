// Reading a script's lines, a buffer at a time.
#include "script/lines.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vorbix::script {
namespace {

constexpr std::size_t buffer_size = std::size_t{64} * 1024;

}  // namespace

Lines::Lines(Read read, std::string name) : read_(std::move(read)), name_(std::move(name)), buffer_(buffer_size, '\0')
{
}

Lines Lines::of(std::istream& stream, std::string name)
{
    return Lines(
        [&stream](char* buffer, std::size_t size) -> long {
            stream.read(buffer, static_cast<std::streamsize>(size));
            if (stream.bad()) return -1;
            return static_cast<long>(stream.gcount());
        },
        std::move(name));
}

Lines Lines::of_file(int file, std::string name)
{
    return Lines(
        [file](char* buffer, std::size_t size) -> long {
            for (;;) {
                const ssize_t count = ::read(file, buffer, size);
                if (count >= 0 || errno != EINTR) return static_cast<long>(count);
            }
        },
        std::move(name));
}

bool Lines::fill()
{
    if (at_end_) return false;
    start_ = 0;
    errno = 0;
    const long count = read_(buffer_.data(), buffer_.size());
    if (count < 0) {
        failure_ = "cannot read " + name_ + ": " + (errno != 0 ? std::strerror(errno) : "a read failed");
        at_end_ = true;
        end_ = 0;
        return false;
    }
    end_ = static_cast<std::size_t>(count);
    at_end_ = count == 0;
    return count > 0;
}

std::optional<std::string_view> Lines::next()
{
    if (failure_) return std::nullopt;
    line_.clear();
    bool any = false;
    for (;;) {
        if (start_ == end_ && !fill()) break;
        any = true;
        const char* from = buffer_.data() + start_;
        const char* newline = static_cast<const char*>(std::memchr(from, '\n', end_ - start_));
        const std::size_t taken = newline != nullptr ? static_cast<std::size_t>(newline - from) : end_ - start_;
        if (line_.size() + taken > longest_line) {
            failure_ = "line " + std::to_string(number_ + 1) + ": longer than " + std::to_string(longest_line) +
                       " bytes, which no line of a script needs";
            return std::nullopt;
        }
        line_.append(from, taken);
        start_ += taken;
        if (newline != nullptr) {
            ++start_;
            ++number_;
            return line_;
        }
    }
    if (failure_ || !any) return std::nullopt;
    if (refuse_cut_) {
        failure_ = "line " + std::to_string(number_ + 1) + ": the line has no end: the script was cut off there";
        return std::nullopt;
    }
    ++number_;
    return line_;
}

}  // namespace vorbix::script
