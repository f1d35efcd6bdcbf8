// The game window's Qt side: the key table, keys and clicks reaching the game, and the
// buttons, curtain halves and window size following the controls.
#include "platform/qt/game_window.h"
#include "platform/qt/key_map.h"
#include "support/headless_game.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace vorbix::qt {
namespace {

TEST(KeyMap, GivesTheGamesVirtualKeyCodes)
{
    const struct {
        int qt_key;
        int code;
    } table[] = {
        {Qt::Key_Left, 37}, {Qt::Key_Up, 38}, {Qt::Key_Right, 39}, {Qt::Key_Down, 40},
        {Qt::Key_A, 65},    {Qt::Key_S, 83},  {Qt::Key_P, 80},     {Qt::Key_Z, 90},
        {Qt::Key_0, 48},    {Qt::Key_9, 57},
    };
    for (const auto& entry : table) EXPECT_EQ(virtual_key(entry.qt_key), entry.code) << entry.qt_key;
}

TEST(KeyMap, OtherKeysActOnNothing)
{
    for (const int qt_key : {Qt::Key_F1, Qt::Key_Escape, Qt::Key_Space, Qt::Key_Return, Qt::Key_Shift,
                             Qt::Key_Adiaeresis, Qt::Key_Exclam}) {
        EXPECT_EQ(virtual_key(qt_key), inert_key) << qt_key;
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

    QAbstractButton& button(WidgetId id) { return *static_cast<QAbstractButton*>(window.widget_of(id)); }

    // The four window-system children from the bottom up.
    std::vector<QWidget*> stacking()
    {
        std::vector<QWidget*> order;
        for (QObject* child : window.children()) {
            for (const WidgetId id : {WidgetId::pause_button, WidgetId::game_over_button, WidgetId::curtain_top,
                                      WidgetId::curtain_bottom}) {
                if (child == window.widget_of(id)) order.push_back(window.widget_of(id));
            }
        }
        return order;
    }

    testing::HeadlessGame game;
    GameWindow window{game.form};
};

TEST_F(GameWindowTest, TakesTheWindowsSizeAndTitleFromTheControls)
{
    const TwipScale scale = window.scale();
    EXPECT_EQ(window.size(), QSize(qRound(scale.pixels(6304)), qRound(scale.pixels(6424))));
    if (window.logicalDpiX() == 96) {
        EXPECT_EQ(window.size(), QSize(420, 428));
    }
    EXPECT_EQ(window.windowTitle(), "Vorbix");
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";
}

TEST_F(GameWindowTest, CurtainHalvesFollowTheControls)
{
    const TwipScale scale = window.scale();
    QWidget& top = *window.widget_of(WidgetId::curtain_top);
    QWidget& bottom = *window.widget_of(WidgetId::curtain_bottom);
    EXPECT_EQ(top.geometry(), scale.whole_pixels(game.ui().covertop.place));
    EXPECT_EQ(bottom.geometry(), scale.whole_pixels(game.ui().coverbottom.place));
    EXPECT_FALSE(top.isHidden());
    ASSERT_EQ(top.children().size(), 1u) << "the black rectangle inside";
    EXPECT_EQ(static_cast<QWidget*>(top.children().front())->size(), top.size());

    game.backend.advance(200);
    window.refresh();
    EXPECT_EQ(top.geometry(), scale.whole_pixels(game.ui().covertop.place)) << "after one curtain tick";
    EXPECT_LT(top.y(), scale.whole_pixels(Rect{0, -game.ui().outer_height / 2, 1, 1}).y());
}

TEST_F(GameWindowTest, KeysReachTheGameWhateverWasClicked)
{
    EXPECT_EQ(button(WidgetId::pause_button).focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(button(WidgetId::game_over_button).focusPolicy(), Qt::NoFocus);

    press(Qt::Key_P, Qt::NoModifier, "p");
    EXPECT_TRUE(game.ui().Pause.visible);
    EXPECT_FALSE(game.ui().Timer1.enabled() || game.ui().Timer2.enabled() || game.ui().Timer3.enabled());
    EXPECT_FALSE(button(WidgetId::pause_button).isHidden());
    EXPECT_EQ(button(WidgetId::pause_button).text(), "Pause");
    EXPECT_EQ(stacking().back(), window.widget_of(WidgetId::pause_button)) << "above the curtain";

    button(WidgetId::pause_button).click();
    EXPECT_FALSE(game.ui().Pause.visible);
    EXPECT_TRUE(button(WidgetId::pause_button).isHidden());
    EXPECT_TRUE(game.ui().Timer3.enabled());

    // A capital letter is the same key.
    press(Qt::Key_P, Qt::ShiftModifier, "P");
    EXPECT_TRUE(game.ui().Pause.visible);
}

TEST_F(GameWindowTest, CurtainLiesAboveTheButtonsAfterStartUp)
{
    const std::vector<QWidget*> order = stacking();
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[2], window.widget_of(WidgetId::curtain_top));
    EXPECT_EQ(order[3], window.widget_of(WidgetId::curtain_bottom));
}

TEST_F(GameWindowTest, GameOverButtonRestartsOnlyWhenShown)
{
    QAbstractButton& game_over = button(WidgetId::game_over_button);
    game_over.click();
    EXPECT_EQ(game.backend.asked(), 1) << "a hidden button does nothing";

    game.form.gameover();
    window.refresh();
    EXPECT_FALSE(game_over.isHidden());
    EXPECT_EQ(game_over.text(), "Game Over");
    EXPECT_EQ(game_over.geometry(), window.scale().whole_pixels(game.ui().Command1.place));
    EXPECT_NEAR(game_over.geometry().center().x(), window.width() / 2, 1) << "centred";

    game.backend.queue_answer(answer_yes);
    game_over.click();
    EXPECT_EQ(game.backend.asked(), 2) << "the question comes again";
    EXPECT_FALSE(game.ui().Command1.visible);
    EXPECT_TRUE(game_over.isHidden()) << "the new window's button is hidden";
    EXPECT_TRUE(game.ui().Level.visible);
    EXPECT_EQ(game.ui().Timer2.interval(), 1);
}

}  // namespace
}  // namespace vorbix::qt
