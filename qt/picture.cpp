// Pictures of a replay, painted by the game window's own code on Qt's offscreen platform.
#include "qt/picture.h"

#include "platform/port.h"
#include "qt/fonts.h"
#include "qt/game_window.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <regex>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace vorbix {
namespace {

// The pictures are drawn at the usual screen density, 15 twips to a pixel, whatever the
// environment asks of the offscreen screen.
constexpr int picture_dpi = 96;

std::string picture_name(int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "dump-%04d.png", number);
    return name;
}

// The pictures of a run in a folder: dump-0001.png on.
std::vector<std::filesystem::path> pictures_in(const std::filesystem::path& folder)
{
    static const std::regex picture("dump-[0-9]{4,}\\.png");
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (std::regex_match(entry.path().filename().string(), picture)) found.push_back(entry.path());
    }
    return found;
}

// Writes a file whole or not at all: into a file of its own beside it, then renamed.
void write_whole(const std::string& path, const QByteArray& bytes)
{
    const std::string part = path + ".part";
    const int file = ::open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    bool written = file >= 0;
    for (qsizetype done = 0; written && done < bytes.size();) {
        const ssize_t count = ::write(file, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (count < 0 && errno == EINTR) continue;
        written = count > 0;
        if (written) done += count;
    }
    const int problem = written ? 0 : errno;
    if (file >= 0 && ::close(file) != 0 && written) written = false;
    if (written && ::rename(part.c_str(), path.c_str()) == 0) return;
    const std::string reason = std::strerror(problem != 0 ? problem : errno);
    ::unlink(part.c_str());
    throw std::runtime_error("cannot write " + path + ": " + reason);
}

}  // namespace

struct PicturePlatform::Application {
    Application(int& argc, char** argv) : application(argc, argv) {}
    QApplication application;
};

PicturePlatform::PicturePlatform(int& argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", QByteArray::number(picture_dpi));
    application_ = std::make_unique<Application>(argc, argv);
    qt::substitute_design_fonts();
}

PicturePlatform::~PicturePlatform() = default;

// The game window, shown still: it pictures whatever window it is given, and no event reaches
// a game.
struct ReplayPictures::Painter final : GamePort {
    Painter() : game_window(this) {}
    void start() override {}
    bool key_down(int) override { return false; }
    bool click(std::string_view) override { return false; }
    bool tick(TimerId) override { return false; }
    std::optional<ShownButton> shown_button() const override { return std::nullopt; }
    std::optional<WindowView> window() const override { return shown; }

    std::optional<WindowView> shown;
    qt::GameWindow game_window;
};

ReplayPictures::ReplayPictures(std::string folder, double zoom) : folder_(std::move(folder)), zoom_(zoom) {}

ReplayPictures::~ReplayPictures() = default;

std::optional<std::string> ReplayPictures::prepare(bool overwrite)
{
    std::error_code failure;
    std::filesystem::create_directories(folder_, failure);
    if (failure) return "cannot make the folder " + folder_ + ": " + failure.message();
    try {
        const auto earlier = pictures_in(folder_);
        if (earlier.empty()) return std::nullopt;
        if (!overwrite) {
            return folder_ + " holds pictures of an earlier run (" + earlier.front().filename().string() +
                   " and more): --overwrite replaces them";
        }
        for (const auto& picture : earlier) std::filesystem::remove(picture);
    } catch (const std::filesystem::filesystem_error& error) {
        return "cannot clear the folder " + folder_ + ": " + error.code().message();
    }
    return std::nullopt;
}

std::string ReplayPictures::write(const WindowView& shown)
{
    if (!painter_) {
        painter_ = std::make_unique<Painter>();
        painter_->game_window.set_zoom(zoom_);
    }
    painter_->shown = shown;
    qt::GameWindow& window = painter_->game_window;
    // Everything is painted afresh for every picture.
    window.forget_painted();
    window.refresh();
    QImage image(window.size(), QImage::Format_RGB32);
    const int dots_per_metre = qRound(picture_dpi / 0.0254);
    image.setDotsPerMeterX(dots_per_metre);
    image.setDotsPerMeterY(dots_per_metre);
    image.fill(Qt::white);
    window.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    std::string path = folder_ + "/" + picture_name(++written_);
    if (!image.save(&buffer, "PNG")) throw std::runtime_error("cannot make the picture " + path);
    write_whole(path, png);
    return path;
}

}  // namespace vorbix
