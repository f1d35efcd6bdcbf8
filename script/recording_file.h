// A recording written to a file: made anew, never through a symbolic link, and never over
// a file that is there unless the player asked for that.
#pragma once

#include "script/recorder.h"

#include <optional>
#include <string>
#include <variant>

namespace vorbix {

class RecordingFile final : public RecordingSink {
public:
    enum class Existing { refuse, overwrite };

    // Opens the file, or says why it cannot, naming it.
    static std::variant<RecordingFile, std::string> open(const std::string& path, Existing existing);

    RecordingFile(RecordingFile&& other) noexcept;
    RecordingFile& operator=(RecordingFile&&) = delete;
    ~RecordingFile();

    // A text that cannot be written whole is taken back: the file keeps every text before it.
    std::optional<std::string> write(std::string_view text) override;

private:
    RecordingFile(std::string path, int file) : path_(std::move(path)), file_(file) {}

    std::string path_;
    int file_ = -1;
    long long size_ = 0;
};

}  // namespace vorbix
