// The game window's Qt side: the key table, keys and clicks reaching the game, and the
// buttons, curtain halves and window size following the controls.
#include "qt/game_window.h"
#include "qt/key_map.h"
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

}  // namespace
}  // namespace vorbix::qt
