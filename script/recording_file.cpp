// Writing a recording to its file with the system's own calls, so that every text goes out
// at once, whole, and a program that is killed leaves whole lines behind.
#include "script/recording_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vorbix {

std::variant<RecordingFile, std::string> RecordingFile::open(const std::string& path, Existing existing)
{
    // The file gets the permissions the user's umask leaves of read and write for everyone,
    // as any new document does.
    int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC;
    flags |= existing == Existing::refuse ? O_EXCL : O_TRUNC;
    const int file = ::open(path.c_str(), flags, 0666);
    if (file >= 0) return RecordingFile(path, file);
    if (errno == EEXIST) {
        return "cannot record to " + path + ": the file exists (--overwrite replaces it)";
    }
    if (errno == ELOOP) return "cannot record to " + path + ": it is a symbolic link";
    return "cannot record to " + path + ": " + std::strerror(errno);
}

RecordingFile::RecordingFile(RecordingFile&& other) noexcept
    : path_(std::move(other.path_)), file_(other.file_), size_(other.size_)
{
    other.file_ = -1;
}

RecordingFile::~RecordingFile()
{
    if (file_ >= 0) ::close(file_);
}

std::optional<std::string> RecordingFile::write(std::string_view text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = ::write(file_, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            const std::string reason = written < 0 ? std::strerror(errno) : "nothing was written";
            // What went out of this text is taken back, so that the file ends with a whole line.
            if (done > 0 && ::ftruncate(file_, size_) == 0) ::lseek(file_, size_, SEEK_SET);
            return "cannot write " + path_ + ": " + reason;
        }
        done += static_cast<std::size_t>(written);
    }
    size_ += static_cast<long long>(text.size());
    return std::nullopt;
}

}  // namespace vorbix
