// The paint plan: every edge on a device pixel at any scale, the outline a logical pixel
// wide, the double strike of a face without bold, and the areas that a change of the
// controls paints again.
#include "form/form_controls.h"
#include "paint/plan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>

namespace vorbix::paint {
namespace {

bool whole(double value) { return value == std::floor(value); }

const Box& box_of(const PaintOp& op) { return op.box; }

TEST(PaintPlan, EveryEdgeLiesOnADevicePixelAndTheOutlineIsALogicalPixelWide)
{
    // Two cells side by side at half-twip places, which fall between device pixels.
    FormControls controls;
    controls.Shape2.create(1);
    controls.Shape2.create(2);
    controls.Shape2[1] =
        CellSprite{{1520.5f, 50.5f, 292, 292}, Rgb{255, 0, 0}, Rgb{0, 0, 255}, diagonal_cross, true, 1};
    controls.Shape2[2] = controls.Shape2[1];
    controls.Shape2[2].place.left += 292;
    // The ratio, and the outline's width in device pixels: a logical pixel, never less than one.
    for (const auto& [ratio, line] : {std::pair{1.0, 1.0}, {1.5, 2.0}, {2.0, 2.0}, {3.0, 3.0}}) {
        const PaintPlan plan = plan_of(controls.view(), Scale{15.0, ratio});
        EXPECT_EQ(plan.width, std::lround(390 * ratio)) << ratio;
        for (const PaintOp& op : plan.ops) {
            const Box& box = box_of(op);
            if (op.kind == PaintOp::Kind::text) continue;
            EXPECT_TRUE(whole(box.left) && whole(box.top) && whole(box.width) && whole(box.height)) << ratio;
        }
        const PaintItem* left = &plan.items[plan.items.size() - 2];
        const PaintItem* right = &plan.items.back();
        if (right->bounds.left < left->bounds.left) std::swap(left, right);
        const auto ops = plan.ops_of(*left);
        ASSERT_EQ(ops.size(), 3u) << "the outline's colour, then the fill and the hatch inside it";
        EXPECT_EQ(ops[0].colour, (Rgb{0, 0, 255}));
        EXPECT_EQ(ops[2].kind, PaintOp::Kind::hatch);
        EXPECT_EQ(box_of(ops[1]).left - box_of(ops[0]).left, line) << ratio;
        EXPECT_EQ(box_of(ops[0]).right() - box_of(ops[1]).right(), line) << ratio;
        EXPECT_EQ(left->bounds, box_of(ops[0])) << "a cell paints nothing outside its box";
        // Neighbours share their edge, with no gap and no overlap, whatever the rounding.
        EXPECT_EQ(left->bounds.right(), right->bounds.left) << ratio;
        EXPECT_NEAR(left->bounds.width, 292 / 15.0 * ratio, 1.0) << ratio;
    }
}

TEST(PaintPlan, BoldTextInAFaceWithoutBoldIsStruckTwiceALogicalPixelApart)
{
    FormControls controls;
    for (const Label* label : controls.view().labels) const_cast<Label*>(label)->visible = false;
    controls.npiece.visible = true;
    controls.npiece.text = "Next";
    for (const auto& [family, strikes] : {std::pair{"Lucida Handwriting", 2u}, std::pair{"Times New Roman", 1u}}) {
        controls.npiece.font.family = family;
        const PaintPlan plan = plan_of(controls.view(), Scale{15.0, 2.0});
        std::vector<Box> texts;
        for (const PaintOp& op : plan.ops) {
            if (op.kind == PaintOp::Kind::text) texts.push_back(op.box);
        }
        ASSERT_EQ(texts.size(), strikes) << family;
        if (strikes == 2) {
            EXPECT_EQ(texts[1].left - texts[0].left, 2.0);
        }
    }
}

// The lines of a text, as the plan breaks it: each line a run, the runs' texts and the tops
// of their first strikes below the label's top, in logical pixels.
struct Lines {
    std::vector<std::string> texts;
    std::vector<double> tops;
};

Lines lines_of(const PaintPlan& plan, const Box& label)
{
    Lines lines;
    for (const PaintOp& op : plan.ops) {
        if (op.kind != PaintOp::Kind::text) continue;
        const double top = (op.box.top - label.top) / plan.scale.ratio;
        if (!lines.tops.empty() && lines.tops.back() == top) continue;  // the second strike
        lines.texts.push_back(plan.runs[static_cast<std::size_t>(op.run)].text);
        lines.tops.push_back(top);
        EXPECT_EQ(plan.runs[static_cast<std::size_t>(op.run)].clip, label) << "every line shows only inside its label";
    }
    return lines;
}

TEST(PaintPlan, ALabelsTextBreaksAtItsBlanksIntoTheLinesThatFit)
{
    struct Row {
        const char* text;
        float width;  // twips
        std::vector<std::string> lines;
    };
    // "Next Piece:" in the preview's title, 105 logical pixels wide at 15 twips a pixel, and
    // in the same face across other widths; a word too wide stands alone and is not cut.
    const std::vector<Row> rows = {
        {"Next Piece:", 1575, {"Next", "Piece:"}},
        {"Next Piece:", 3000, {"Next Piece:"}},
        {"Next Piece: at last", 2200, {"Next Piece: at", "last"}},
        {"Nextpiecenextpiece is here", 600, {"Nextpiecenextpiece", "is", "here"}},
        {"", 1575, {""}},
    };
    for (const double ratio : {1.0, 2.0}) {
        for (const Row& row : rows) {
            FormControls controls;
            for (const Label* label : controls.view().labels) const_cast<Label*>(label)->visible = false;
            controls.npiece.visible = true;
            controls.npiece.text = row.text;
            controls.npiece.place.width = row.width;
            controls.npiece.place.height = 4000;
            const PaintPlan plan = plan_of(controls.view(), Scale{15.0, ratio});
            const Lines lines = lines_of(plan, plan.items.front().bounds);
            EXPECT_EQ(lines.texts, row.lines) << row.text << " in " << row.width;
            // The lines follow each other on whole logical pixels, 34 apart in this face at
            // 27 pixels, as the window has always stood "Next" above "Piece:".
            for (std::size_t n = 0; n < lines.tops.size(); ++n) EXPECT_EQ(lines.tops[n], 34.0 * n) << row.text;
        }
    }
}

TEST(PaintPlan, OnlyTheLinesThatStartInsideTheLabelArePainted)
{
    FormControls controls;
    for (const Label* label : controls.view().labels) const_cast<Label*>(label)->visible = false;
    controls.npiece.visible = true;
    controls.npiece.text = "one two three four five";
    controls.npiece.place.width = 300;
    controls.npiece.place.height = 1215;  // 81 pixels: lines start at 0, 34 and 68
    const PaintPlan plan = plan_of(controls.view(), Scale{});
    const Box label = plan.items.front().bounds;
    EXPECT_EQ(lines_of(plan, label).texts, (std::vector<std::string>{"one", "two", "three"}));
    for (const PaintOp& op : plan.ops_of(plan.items.front())) {
        EXPECT_LE(op.box.bottom(), label.bottom()) << "no operation reaches below the label";
    }
}

TEST(PaintFrame, AButtonsCaptionIsBrokenWithinTheButton)
{
    FormControls controls;
    const Frame frame = plan_of(controls.view(), Scale{}).frame;
    ASSERT_EQ(frame.buttons.size(), 2u);
    EXPECT_EQ(frame.buttons[0].lines, (std::vector<std::string>{"Pause"}));
    EXPECT_EQ(frame.buttons[1].lines, (std::vector<std::string>{"Game", "Over"})) << "Game Over stands on two lines";
    EXPECT_EQ(frame.buttons[1].line_advance, 56.0);
    // At twice the twips to a pixel the button is half as wide and the font half as large.
    const Frame half = plan_of(controls.view(), Scale{30.0, 1.0}).frame;
    EXPECT_EQ(half.buttons[1].lines, frame.buttons[1].lines);
    EXPECT_EQ(half.buttons[1].line_advance, 28.0);
}

// What a change of the controls paints again, at 15 twips and one device pixel a pixel.
class ChangedAreas : public ::testing::Test {
protected:
    ChangedAreas()
    {
        for (int k = 1; k <= 20; ++k) controls.Shape2.create(k);
        remember();
    }

    void remember() { before = plan_of(controls.view(), scale); }
    std::vector<Box> changes() const { return changed_areas(&before, plan_of(controls.view(), scale)); }
    bool repainted(const Rect& place) const
    {
        const double x = static_cast<double>(place.left + place.width / 2) / 15.0;
        const double y = static_cast<double>(place.top + place.height / 2) / 15.0;
        const Box centre{x, y, 0.5, 0.5};
        const auto areas = changes();
        return std::any_of(areas.begin(), areas.end(), [&](const Box& area) { return area.meets(centre); });
    }

    FormControls controls;
    const Scale scale{15.0, 1.0};
    PaintPlan before;
};

TEST_F(ChangedAreas, NothingChangedRepaintsNothing) { EXPECT_TRUE(changes().empty()); }

TEST_F(ChangedAreas, HiddenSpritesChangeNothingOnScreen)
{
    controls.Shape2[3].fill = Rgb{1, 2, 3};
    controls.Shape2[3].place.left = 900;
    controls.Shape2.bring_to_front(4);
    EXPECT_TRUE(changes().empty());
}

TEST_F(ChangedAreas, AMovedSpriteRepaintsWhereItWasAndWhereItIs)
{
    controls.Shape2[5].visible = true;
    controls.Shape2[5].place = {600, 600, 300, 300};
    remember();
    const Rect was = controls.Shape2[5].place;
    controls.Shape2[5].place.top = 3000;

    EXPECT_TRUE(repainted(was));
    EXPECT_TRUE(repainted(controls.Shape2[5].place));
    EXPECT_FALSE(repainted(Rect{5000, 5000, 300, 300})) << "only the sprite's places";
}

TEST_F(ChangedAreas, ShowingRestylingOrRaisingASpriteRepaintsIt)
{
    const std::vector<std::pair<const char*, std::function<void(CellSprite&)>>> changes_of_a_shown_sprite = {
        {"colour",
         [](CellSprite& sprite) {
             sprite.fill = Rgb{0, 0, 0};
         }},
        {"pattern", [](CellSprite& sprite) { sprite.pattern = horizontal_lines; }},
        {"outline",
         [](CellSprite& sprite) {
             sprite.outline = Rgb{9, 9, 9};
         }},
        {"hidden", [](CellSprite& sprite) { sprite.visible = false; }},
    };
    controls.Shape2[7].place = {1200, 1200, 292, 292};
    controls.Shape2[7].visible = true;
    EXPECT_TRUE(repainted(controls.Shape2[7].place)) << "shown";
    for (const auto& [what, change] : changes_of_a_shown_sprite) {
        remember();
        const CellSprite kept = controls.Shape2[7];
        change(controls.Shape2[7]);
        EXPECT_TRUE(repainted(kept.place)) << what;
        controls.Shape2[7] = kept;
    }
    remember();
    controls.Shape2.bring_to_front(7);
    EXPECT_TRUE(repainted(controls.Shape2[7].place)) << "brought to the front";
}

TEST_F(ChangedAreas, ALabelsNewTextRepaintsTheLabel)
{
    controls.scorelabel.text = "Score:000010";
    EXPECT_TRUE(repainted(controls.scorelabel.place));
    EXPECT_FALSE(repainted(controls.rowslabel.place));
}

TEST_F(ChangedAreas, ANewBackgroundOrScaleRepaintsEverything)
{
    controls.background = Rgb{0, 0, 0};
    const PaintPlan next = plan_of(controls.view(), scale);
    EXPECT_EQ(changes(), (std::vector<Box>{{0, 0, static_cast<double>(next.width), static_cast<double>(next.height)}}));
    const PaintPlan doubled = plan_of(controls.view(), Scale{15.0, 2.0});
    EXPECT_EQ(changed_areas(&next, doubled).size(), 1u);
    EXPECT_EQ(changed_areas(nullptr, next).size(), 1u);
}

TEST(PaintOps, AnAreaIsPaintedWithItsBackgroundThenWhatReachesItInOrder)
{
    FormControls controls;
    controls.Shape2.create(1);
    controls.Shape2.create(2);
    controls.Shape2[1] = CellSprite{{150, 150, 300, 300}, Rgb{1, 1, 1}, Rgb{}, plain_fill, true, 0};
    controls.Shape2[2] = CellSprite{{3000, 3000, 300, 300}, Rgb{2, 2, 2}, Rgb{}, plain_fill, true, 0};
    const PaintPlan plan = plan_of(controls.view(), Scale{});
    const Box area{5, 5, 10, 10};
    const auto ops = ops_within(plan, {&area, 1});
    ASSERT_EQ(ops.size(), 3u) << "the background, then the first sprite's outline and fill";
    EXPECT_EQ(ops[0], (PaintOp{PaintOp::Kind::fill, area, controls.background}));
    EXPECT_EQ(ops[2].colour, (Rgb{1, 1, 1}));
}

}  // namespace
}  // namespace vorbix::paint
