// Pictures of a replay: for each dump, the game window's client area as the Qt backend shows
// it, painted by the same code and saved as a PNG. The header names no Qt type, so the
// headless tool can hold one without knowing Qt.
#pragma once

#include <memory>
#include <string>

namespace vorbix {

struct WindowView;

class ReplayPictures {
public:
    // Pictures go to folder/dump-0001.png, dump-0002.png, ... in the order of the dumps.
    explicit ReplayPictures(std::string folder);
    ~ReplayPictures();
    ReplayPictures(const ReplayPictures&) = delete;
    ReplayPictures& operator=(const ReplayPictures&) = delete;

    // Makes the folder when it is missing; false when that fails.
    bool prepare();
    // Writes the next picture of a window. Gives the file's path, or throws
    // std::runtime_error when it cannot be written.
    std::string write(const WindowView& shown);

private:
    struct Painter;
    std::string folder_;
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
