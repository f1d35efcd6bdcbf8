// Pictures of the game window's surface, painted from the controls of a game started on the
// headless backend.
#include "form/board.h"
#include "qt/game_window.h"
#include "support/headless_game.h"
#include "support/qt_helpers.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace vorbix::qt {
namespace {

using testing::TwipScale;

const QColor yellow(255, 255, 0);
const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);
const QColor black(0, 0, 0);

class SurfacePicture : public ::testing::Test {
protected:
    SurfacePicture()
    {
        game.start(answer_no);
        window.refresh();
    }

    // The surface alone, without the buttons and the curtain halves that lie above it.
    QImage picture()
    {
        window.refresh();
        QImage image(window.size(), QImage::Format_RGB32);
        const int dots_per_metre = qRound(window.logicalDpiX() / 0.0254);
        image.setDotsPerMeterX(dots_per_metre);
        image.setDotsPerMeterY(dots_per_metre);
        window.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        return image;
    }

    QPoint pixel_of(float x, float y) const
    {
        const TwipScale scale = this->scale();
        return QPoint(static_cast<int>(scale.pixels(x)), static_cast<int>(scale.pixels(y)));
    }

    TwipScale scale() const { return TwipScale(window.logicalDpiX()); }

    QColor colour_at(const QImage& image, float x, float y) const { return image.pixelColor(pixel_of(x, y)); }

    // The pixels strictly inside a rectangle, clear of its outline.
    QRect inside_of(const Rect& place) const { return scale().pixels(place).toAlignedRect().adjusted(2, 2, -2, -2); }

    static std::set<QRgb> colours_in(const QImage& image, const QRect& area)
    {
        std::set<QRgb> colours;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) colours.insert(image.pixel(x, y) & 0xffffff);
        }
        return colours;
    }

    static bool contains(const std::set<QRgb>& colours, const QColor& colour)
    {
        return colours.contains(colour.rgb() & 0xffffff);
    }

    void hide_preview()
    {
        for (int k = 1; k < game.ui().Shape3.size(); ++k) game.ui().Shape3[k].visible = false;
    }

    testing::HeadlessGame game;
    GameWindow window{&game.form};
};

TEST_F(SurfacePicture, ShowsTheDesignedColours)
{
    hide_preview();
    const QImage image = picture();
    EXPECT_EQ(colour_at(image, 5820, 2500), yellow) << "background right of the preview box";

    const Rect label = game.ui().npiece.place;
    EXPECT_EQ(colour_at(image, label.left + label.width - 40, label.top + label.height - 40), red)
        << "\"Next Piece:\" is on red";

    const Rect box = game.ui().backdrop.place;
    const QPoint left_edge = pixel_of(box.left, box.top + box.height / 2);
    const bool outline_on_edge =
        image.pixelColor(left_edge) == blue || image.pixelColor(left_edge + QPoint(1, 0)) == blue;
    EXPECT_TRUE(outline_on_edge) << "the preview box is outlined in blue";
    EXPECT_EQ(colour_at(image, box.left + box.width / 2, box.top + box.height / 2), yellow)
        << "the preview box is transparent inside";
}

TEST_F(SurfacePicture, WallCellIsRedWithBlackHatchAndBlueOutline)
{
    const CellSprite& wall = game.grid(21, 0);
    const QImage image = picture();
    const auto inside = colours_in(image, inside_of(wall.place));
    EXPECT_TRUE(contains(inside, red));
    EXPECT_TRUE(contains(inside, black)) << "the diagonal cross hatch";
    EXPECT_FALSE(contains(inside, yellow));
    const QRectF place = scale().pixels(wall.place);
    const auto edge = colours_in(image, QRect(qCeil(place.left()), qRound(place.center().y()), 1, 1));
    EXPECT_TRUE(contains(edge, blue)) << "outline on the cell's left edge";
}

TEST_F(SurfacePicture, OnlyVisibleSpritesAreDrawn)
{
    CellSprite& cell = game.grid(1, 1);
    const QRect inside = inside_of(cell.place);
    ASSERT_FALSE(cell.visible);
    EXPECT_EQ(colours_in(picture(), inside), std::set<QRgb>{yellow.rgb() & 0xffffff}) << "hidden after start-up";

    cell.fill = Rgb{0, 200, 0};
    cell.pattern = plain_fill;
    cell.visible = true;
    EXPECT_EQ(colours_in(picture(), inside), std::set<QRgb>{QColor(0, 200, 0).rgb() & 0xffffff});

    cell.visible = false;
    EXPECT_EQ(colours_in(picture(), inside), std::set<QRgb>{yellow.rgb() & 0xffffff}) << "hidden again";
}

TEST_F(SurfacePicture, TheSpriteBroughtToTheFrontLastIsOnTop)
{
    // The active-piece sprites were created before the well, so the wall covers them.
    CellSprite& piece_cell = game.ui().Shape1[1];
    piece_cell.place = game.grid(0, 3).place;
    piece_cell.visible = true;
    const QColor dark_blue(0, 0, 192);
    const QRect inside = inside_of(piece_cell.place);
    EXPECT_FALSE(contains(colours_in(picture(), inside), dark_blue)) << "behind the top wall";

    game.ui().Shape1.bring_to_front(1);
    EXPECT_EQ(colours_in(picture(), inside), std::set<QRgb>{dark_blue.rgb() & 0xffffff}) << "in front of the wall";
}

TEST_F(SurfacePicture, NextPieceStandsOnTwoLines)
{
    const QImage image = picture();
    const QRect label = scale().pixels(game.ui().npiece.place).toAlignedRect();
    auto has_text = [&](double from, double to) {
        for (int y = label.top() + qRound(label.height() * from); y < label.top() + qRound(label.height() * to); ++y) {
            for (int x = label.left() + 1; x < label.right(); ++x) {
                const QColor colour = image.pixelColor(x, y);
                if (colour.red() < 128 && colour.green() < 128) return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(has_text(0.0, 0.4)) << "first line";
    EXPECT_TRUE(has_text(0.45, 0.85)) << "second line: the text wraps at the blank";
}

// The black pixels of a large plain-grey cell drawn with one fill pattern.
class FillPatterns : public SurfacePicture {
protected:
    std::set<std::pair<int, int>> hatch_of(int pattern)
    {
        CellSprite& cell = game.grid(5, 3);
        cell.place.width = 1200;
        cell.place.height = 1200;
        cell.fill = Rgb{200, 200, 200};
        cell.pattern = pattern;
        cell.visible = true;
        game.ui().Shape2.bring_to_front(grid_element(5, 3));
        const QImage image = picture();
        std::set<std::pair<int, int>> black_pixels;
        const QRect inside = inside_of(cell.place);
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x) {
                if (image.pixelColor(x, y) == black) black_pixels.insert({x - inside.left(), y - inside.top()});
            }
        }
        side_ = inside.width();
        return black_pixels;
    }

    // Every black pixel away from the edge continues in the given direction.
    bool lines_run(const std::set<std::pair<int, int>>& hatch, int dx, int dy) const
    {
        int checked = 0;
        for (const auto& [x, y] : hatch) {
            if (x + dx < 0 || x + dx >= side_ || y + dy < 0 || y + dy >= side_) continue;
            if (!hatch.contains({x + dx, y + dy})) return false;
            ++checked;
        }
        return checked > 0;
    }

    int side_ = 0;
};

TEST_F(FillPatterns, EachPatternHasItsOwnLook)
{
    std::vector<std::set<std::pair<int, int>>> hatches;
    for (int pattern = plain_fill; pattern <= diagonal_cross; ++pattern) hatches.push_back(hatch_of(pattern));

    EXPECT_TRUE(hatches[0].empty()) << "pattern 1 is the plain fill colour";
    for (std::size_t a = 0; a < hatches.size(); ++a) {
        for (std::size_t b = a + 1; b < hatches.size(); ++b) {
            EXPECT_NE(hatches[a], hatches[b]) << "patterns " << a + 1 << " and " << b + 1 << " look alike";
        }
    }
    EXPECT_TRUE(lines_run(hatches[horizontal_lines - 1], 1, 0)) << "horizontal lines";
    EXPECT_TRUE(lines_run(hatches[vertical_lines - 1], 0, 1)) << "vertical lines";
    EXPECT_TRUE(lines_run(hatches[upward_diagonal - 1], 1, -1)) << "lines rising to the right";
    EXPECT_TRUE(lines_run(hatches[downward_diagonal - 1], 1, 1)) << "lines falling to the right";
    for (const auto& pixel : hatches[horizontal_lines - 1]) EXPECT_TRUE(hatches[cross_hatch - 1].count(pixel));
    for (const auto& pixel : hatches[vertical_lines - 1]) EXPECT_TRUE(hatches[cross_hatch - 1].count(pixel));
    for (const auto& pixel : hatches[upward_diagonal - 1]) EXPECT_TRUE(hatches[diagonal_cross - 1].count(pixel));
    for (const auto& pixel : hatches[downward_diagonal - 1]) EXPECT_TRUE(hatches[diagonal_cross - 1].count(pixel));
}

}  // namespace
}  // namespace vorbix::qt
