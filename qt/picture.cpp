// Pictures of a replay, painted by the game window's own code on Qt's offscreen platform.
#include "qt/picture.h"

#include "platform/port.h"
#include "qt/fonts.h"
#include "qt/game_window.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>
#include <stdexcept>

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
    void key_down(int) override {}
    void click(std::string_view) override {}
    void tick(TimerId) override {}
    std::optional<WindowView> window() const override { return shown; }

    std::optional<WindowView> shown;
    qt::GameWindow game_window;
};

ReplayPictures::ReplayPictures(std::string folder) : folder_(std::move(folder)) {}

ReplayPictures::~ReplayPictures() = default;

bool ReplayPictures::prepare() { return QDir().mkpath(QString::fromStdString(folder_)); }

std::string ReplayPictures::write(const WindowView& shown)
{
    if (!painter_) painter_ = std::make_unique<Painter>();
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

    std::string path = folder_ + "/" + picture_name(++written_);
    if (!image.save(QString::fromStdString(path), "PNG")) throw std::runtime_error("cannot write " + path);
    return path;
}

}  // namespace vorbix
