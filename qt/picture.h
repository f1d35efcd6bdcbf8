// Pictures of a replay: for each dump, the game window's client area as the Qt front end
// shows it, painted by the same code and saved as a PNG. Folder and file names are kept as
// the bytes they were given, whatever their encoding.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace vorbix {

struct WindowView;

class ReplayPictures {
public:
    // Pictures go to folder/dump-0001.png, dump-0002.png, ... in the order of the dumps, the
    // window drawn at a zoom (1: its own size).
    explicit ReplayPictures(std::string folder, double zoom = 1.0);
    ~ReplayPictures();
    ReplayPictures(const ReplayPictures&) = delete;
    ReplayPictures& operator=(const ReplayPictures&) = delete;

    // Makes the folder when it is missing. A folder that holds pictures of an earlier run
    // (dump-NNNN.png) is refused, or with overwrite those pictures, and nothing else, are
    // removed. Gives what went wrong, or nothing.
    std::optional<std::string> prepare(bool overwrite);
    // Writes the next picture of a window, whole or not at all. Gives the file's path, or
    // throws std::runtime_error when it cannot be written.
    std::string write(const WindowView& shown);

private:
    struct Painter;
    std::string folder_;
    double zoom_;
    int written_ = 0;
    std::unique_ptr<Painter> painter_;
};

// What pictures need: Qt's application object, on the offscreen platform unless another one is
// chosen, and the design's fonts. One must live while pictures are written.
class PicturePlatform {
public:
    PicturePlatform(int& argc, char** argv);
    ~PicturePlatform();
    PicturePlatform(const PicturePlatform&) = delete;
    PicturePlatform& operator=(const PicturePlatform&) = delete;

private:
    struct Application;
    std::unique_ptr<Application> application_;
};

}  // namespace vorbix
