// The game window's Qt side: the key table, keys and clicks reaching the game, and the
// buttons, curtain halves and window size following the controls.
#include "qt/game_window.h"
#include "qt/key_map.h"
#include "qt/stage.h"
#include "qt/window_place.h"
#include "support/headless_game.h"
#include "support/qt_helpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace vorbix::qt {
namespace {

using testing::TwipScale;

TEST(KeyMap, GivesTheGamesVirtualKeyCodes)
{
    const struct {
        int qt_key;
        int code;
    } table[] = {
        {Qt::Key_Left, 37}, {Qt::Key_Up, 38}, {Qt::Key_Right, 39}, {Qt::Key_Down, 40}, {Qt::Key_A, 65},
        {Qt::Key_S, 83},    {Qt::Key_P, 80},  {Qt::Key_Z, 90},     {Qt::Key_0, 48},    {Qt::Key_9, 57},
    };
    for (const auto& entry : table) EXPECT_EQ(virtual_key(entry.qt_key), entry.code) << entry.qt_key;
}

TEST(KeyMap, OtherKeysActOnNothing)
{
    for (const int qt_key : {Qt::Key_F1, Qt::Key_Escape, Qt::Key_Space, Qt::Key_Return, Qt::Key_Shift,
                             Qt::Key_Adiaeresis, Qt::Key_Exclam}) {
        EXPECT_EQ(virtual_key(qt_key), key::none) << qt_key;
    }
}

class GameWindowTest : public ::testing::Test {
protected:
    GameWindowTest()
    {
        game.start(answer_no);
        window.refresh();
    }

    void press(int qt_key, Qt::KeyboardModifiers modifiers, const QString& text)
    {
        QKeyEvent event(QEvent::KeyPress, qt_key, modifiers, text);
        QApplication::sendEvent(&window, &event);
    }

    QWidget& child(const char* name) { return *window.findChild<QWidget*>(QLatin1String(name)); }
    QAbstractButton& button(const char* name) { return static_cast<QAbstractButton&>(child(name)); }
    TwipScale scale() const { return TwipScale(window.logicalDpiX()); }

    // The names of the four window-system children from the bottom up.
    QStringList stacking() const
    {
        QStringList order;
        for (QObject* child : window.children()) {
            if (child->isWidgetType()) order.append(child->objectName());
        }
        return order;
    }

    testing::HeadlessGame game;
    GameWindow window{&game.form};
};

TEST_F(GameWindowTest, TakesTheWindowsSizeAndTitleFromTheControls)
{
    const TwipScale twips = scale();
    EXPECT_EQ(window.size(), QSize(qRound(twips.pixels(6304)), qRound(twips.pixels(6424))));
    if (window.logicalDpiX() == 96) {
        EXPECT_EQ(window.size(), QSize(420, 428));
    }
    EXPECT_EQ(window.windowTitle(), "Vorbix");
}

TEST_F(GameWindowTest, CurtainHalvesFollowTheControls)
{
    const TwipScale twips = scale();
    QWidget& top = child("covertop");
    QWidget& bottom = child("coverbottom");
    EXPECT_EQ(top.geometry(), twips.whole_pixels(game.ui().covertop.place));
    EXPECT_EQ(bottom.geometry(), twips.whole_pixels(game.ui().coverbottom.place));
    EXPECT_FALSE(top.isHidden());
    ASSERT_EQ(top.children().size(), 1u) << "the black rectangle inside";
    EXPECT_EQ(static_cast<QWidget*>(top.children().front())->size(), top.size());

    game.front_end.advance(200);
    window.refresh();
    EXPECT_EQ(top.geometry(), twips.whole_pixels(game.ui().covertop.place)) << "after one curtain tick";
    EXPECT_LT(top.y(), twips.whole_pixels(Rect{0, -game.ui().outer_height / 2, 1, 1}).y());
}

TEST_F(GameWindowTest, KeysReachTheGameWhateverWasClicked)
{
    EXPECT_EQ(button("Pause").focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(button("Command1").focusPolicy(), Qt::NoFocus);

    press(Qt::Key_P, Qt::NoModifier, "p");
    EXPECT_TRUE(game.ui().Pause.visible);
    EXPECT_FALSE(game.ui().Timer1.enabled() || game.ui().Timer2.enabled() || game.ui().Timer3.enabled());
    EXPECT_FALSE(button("Pause").isHidden());
    EXPECT_EQ(button("Pause").text(), "Pause");
    EXPECT_EQ(stacking().back(), "Pause") << "above the curtain";

    button("Pause").click();
    EXPECT_FALSE(game.ui().Pause.visible);
    EXPECT_TRUE(button("Pause").isHidden());
    EXPECT_TRUE(game.ui().Timer3.enabled());

    // A capital letter is the same key.
    press(Qt::Key_P, Qt::ShiftModifier, "P");
    EXPECT_TRUE(game.ui().Pause.visible);
}

TEST_F(GameWindowTest, CurtainLiesAboveTheButtonsAfterStartUp)
{
    EXPECT_EQ(stacking(), QStringList({"Pause", "Command1", "covertop", "coverbottom"}));
}

TEST_F(GameWindowTest, GameOverButtonRestartsOnlyWhenShown)
{
    QAbstractButton& game_over = button("Command1");
    game_over.click();
    EXPECT_EQ(game.front_end.asked(), 1) << "a hidden button does nothing";

    game.form.gameover();
    window.refresh();
    EXPECT_FALSE(game_over.isHidden());
    EXPECT_EQ(game_over.text(), "Game Over");
    EXPECT_EQ(game_over.geometry(), scale().whole_pixels(game.ui().Command1.place));
    EXPECT_NEAR(game_over.geometry().center().x(), window.width() / 2.0, 1) << "centred";

    game.front_end.queue_answer(answer_yes);
    game_over.click();
    EXPECT_EQ(game.front_end.asked(), 2) << "the question comes again";
    EXPECT_FALSE(game.ui().Command1.visible);
    EXPECT_TRUE(game_over.isHidden()) << "the new window's button is hidden";
    EXPECT_TRUE(game.ui().Level.visible);
    EXPECT_EQ(game.ui().Timer2.interval(), 1);
}

TEST(WindowPlace, TheFirstZoomSuitsTheScreen)
{
    const QSize own(420, 428);
    const struct {
        QSize available;
        double zoom;
    } table[] = {
        {{1024, 738}, 1.0},  {{1920, 1050}, 1.5}, {{2560, 1400}, 2.0},
        {{3840, 2110}, 3.0}, {{800, 600}, 1.0},   {{1000, 2200}, 2.0},  // the width holds it back
        {{300, 300}, 1.0},                                              // never below the window's own size
    };
    for (const auto& entry : table) EXPECT_EQ(first_zoom(own, entry.available), entry.zoom) << entry.available.width();
}

TEST(WindowPlace, ThePlaceLeftIsKeptAndAPlaceOffEveryScreenIsNotUsed)
{
    save_place(WindowPlace{{630, 642}, QPoint(20, 30), false, false});
    auto place = saved_place();
    ASSERT_TRUE(place.has_value());
    EXPECT_EQ(place->size, QSize(630, 642));
    EXPECT_EQ(place->position, QPoint(20, 30));
    EXPECT_FALSE(place->maximised || place->full_screen);

    save_place(WindowPlace{{630, 642}, QPoint(-50000, -50000), false, false});
    place = saved_place();
    ASSERT_TRUE(place.has_value());
    EXPECT_EQ(place->size, QSize(630, 642));
    EXPECT_FALSE(place->position.has_value()) << "off every screen";
}

// The player's window around the game's: the game's window scaled as a whole to fit, centred.
class StageTest : public ::testing::Test {
protected:
    StageTest()
    {
        game.start(answer_no);
        stage.refresh();
        // A hidden window hears of its new size only when it shows.
        stage.show();
    }

    void press(int qt_key)
    {
        QKeyEvent event(QEvent::KeyPress, qt_key, Qt::NoModifier);
        QApplication::sendEvent(&stage, &event);
    }

    QWidget& child(const char* name) { return *stage.findChild<QWidget*>(QLatin1String(name)); }

    testing::HeadlessGame game;
    Stage stage{&game.form};
};

TEST_F(StageTest, TheGamesWindowIsScaledWholeToFitAndCentred)
{
    if (stage.logicalDpiX() != 96) GTEST_SKIP() << "sizes below are at 96 DPI";
    const GameWindow& drawn = stage.game_window();
    EXPECT_EQ(stage.minimumSize(), QSize(420, 428)) << "never smaller than the game's window";
    const struct {
        QSize real;
        double zoom;
        QRect game;
    } table[] = {
        {{420, 428}, 1.0, {0, 0, 420, 428}},
        {{1260, 1284}, 3.0, {0, 0, 1260, 1284}},
        {{1001, 517}, 517.0 / 428, {247, 0, 507, 517}},
        {{700, 1500}, 700.0 / 420, {0, 393, 700, 713}},
    };
    for (const auto& entry : table) {
        stage.resize(entry.real);
        EXPECT_DOUBLE_EQ(drawn.zoom(), entry.zoom) << entry.real.width();
        EXPECT_EQ(drawn.geometry(), entry.game) << entry.real.width();
    }
    // Everything of the window grows with it: the curtain halves and the buttons with their fonts.
    stage.resize(1260, 1284);
    const QRect own = TwipScale(96).whole_pixels(game.ui().covertop.place);
    EXPECT_EQ(child("covertop").geometry(), QRect(3 * own.x(), 3 * own.y(), 3 * own.width(), 3 * own.height()));
    press(Qt::Key_P);
    EXPECT_EQ(child("Pause").geometry(), QRect(312, 48, 603, 387));
    EXPECT_DOUBLE_EQ(child("Pause").font().pointSizeF(), 3 * 48.0);
    // The game never hears of it: its window is the one it set at start-up.
    EXPECT_EQ(game.ui().client_width(), 6304.0f);
    EXPECT_EQ(game.ui().client_height(), 6424.0f);
    EXPECT_EQ(game.state().cellsize, 292.0f);
}

TEST_F(StageTest, FullScreenKeysAreTheWindowsAndEveryOtherKeyTheGames)
{
    press(Qt::Key_F11);
    EXPECT_TRUE(stage.windowState() & Qt::WindowFullScreen);
    press(Qt::Key_P);
    EXPECT_TRUE(game.ui().Pause.visible) << "keys reach the game in full screen";
    press(Qt::Key_Escape);
    EXPECT_FALSE(stage.windowState() & Qt::WindowFullScreen);
    press(Qt::Key_F11);
    press(Qt::Key_F11);
    EXPECT_FALSE(stage.windowState() & Qt::WindowFullScreen) << "F11 leaves it too";
    // Out of full screen, Escape is a key of the game's, as every other key (it acts on nothing).
    const int left = game.state().col;
    press(Qt::Key_Escape);
    press(Qt::Key_Left);
    EXPECT_EQ(game.state().col, left - 1);
}

TEST_F(StageTest, FullScreenOverMaximisedGoesBackToMaximisedAndKeepsItsPlaceThoughTheWindowManagerForgetsBoth)
{
    const QRect normal(40, 30, 500, 450);
    stage.setGeometry(normal);
    stage.setWindowState(Qt::WindowMaximized);
    press(Qt::Key_F11);
    // What an X11 window manager reports of it: neither, with the window still filling the
    // screen, then full screen alone.
    stage.setWindowState(Qt::WindowNoState);
    stage.setGeometry(stage.screen()->availableGeometry());
    stage.setWindowState(Qt::WindowFullScreen);
    stage.close();
    const auto place = saved_place();
    ASSERT_TRUE(place.has_value());
    EXPECT_TRUE(place->maximised && place->full_screen) << "kept for the next start";
    EXPECT_EQ(place->size, normal.size()) << "the place it goes back to, not the screen";
    EXPECT_EQ(place->position, normal.topLeft());
    press(Qt::Key_Escape);
    EXPECT_EQ(stage.windowState(), Qt::WindowMaximized);
}

}  // namespace
}  // namespace vorbix::qt
