// Fifty games on the real Qt backend and game window, each played to "Game Over" and
// restarted with its button: a restart must leave behind no Qt object of the old window or
// of its question, so the objects alive after the last restart are as many as before. Under
// the sanitizer build LeakSanitizer then checks the memory at the end of the program.
#include "form/form1.h"
#include "qt/qt_front_end.h"
#include "qt/stage.h"
#include "support/qt_helpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPixmap>
#include <QPixmapCache>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <iterator>
#include <map>
#include <mutex>
#include <ostream>
#include <set>
#include <string>

// Qt's table of hooks for debugging tools: a tool that writes a function into the object
// slots is called for every QObject that is constructed or destroyed. Layout of Qt 6.
extern quintptr qtHookData[];

namespace vorbix::qt {
namespace {

constexpr int restarts = 50;
// Dropping every piece at one row a tick fills the well long before this many ticks.
constexpr int most_ticks_per_game = 5000;

// Keeps the set of QObjects alive in the whole program through the hooks, passing each event
// on to a hook that was there before. Objects are made on other threads too (a thread pool's
// threads and their event dispatchers), hence the lock.
class LiveObjects {
public:
    LiveObjects()
    {
        available_ = qtHookData[hook_data_size] > remove_object && qtHookData[qt_version] >> 16 == 6;
        if (!available_) return;
        previous_add_ = reinterpret_cast<Hook>(qtHookData[add_object]);
        previous_remove_ = reinterpret_cast<Hook>(qtHookData[remove_object]);
        qtHookData[add_object] = reinterpret_cast<quintptr>(&added);
        qtHookData[remove_object] = reinterpret_cast<quintptr>(&removed);
    }
    ~LiveObjects()
    {
        if (!available_) return;
        qtHookData[add_object] = reinterpret_cast<quintptr>(previous_add_);
        qtHookData[remove_object] = reinterpret_cast<quintptr>(previous_remove_);
        const std::lock_guard lock(mutex_);
        objects_.clear();
    }
    LiveObjects(const LiveObjects&) = delete;
    LiveObjects& operator=(const LiveObjects&) = delete;

    bool available() const { return available_; }

    // The objects made since the hooks were set that are still alive.
    std::set<QObject*> objects() const
    {
        const std::lock_guard lock(mutex_);
        return objects_;
    }

private:
    using Hook = void (*)(QObject*);
    // Slots of Qt's hook table.
    static constexpr int hook_data_size = 1, qt_version = 2, add_object = 3, remove_object = 4;

    static void added(QObject* object)
    {
        {
            const std::lock_guard lock(mutex_);
            objects_.insert(object);
        }
        if (previous_add_ != nullptr) previous_add_(object);
    }
    static void removed(QObject* object)
    {
        {
            const std::lock_guard lock(mutex_);
            objects_.erase(object);
        }
        if (previous_remove_ != nullptr) previous_remove_(object);
    }

    static inline std::mutex mutex_;
    static inline std::set<QObject*> objects_;
    static inline Hook previous_add_ = nullptr;
    static inline Hook previous_remove_ = nullptr;
    bool available_ = false;
};

// The classes of the objects in after that are not in before, with their numbers: "QTimer
// x49". The objects in after must still be alive.
std::string newcomers(const std::set<QObject*>& before, const std::set<QObject*>& after)
{
    std::map<std::string, int> classes;
    for (QObject* object : after) {
        if (!before.contains(object)) ++classes[object->metaObject()->className()];
    }
    std::string text;
    for (const auto& [name, count] : classes) text += name + " x" + std::to_string(count) + " ";
    return text;
}

// What the window system holds at one moment.
struct QtCensus {
    std::set<QObject*> live_objects;
    qsizetype widgets = 0;
    qsizetype top_level_widgets = 0;
    qsizetype window_descendants = 0;
    qsizetype application_children = 0;
};

std::ostream& operator<<(std::ostream& out, const QtCensus& census)
{
    return out << census.live_objects.size() << " live objects, " << census.widgets << " widgets, "
               << census.top_level_widgets << " top-level widgets, " << census.window_descendants
               << " objects in the game window, " << census.application_children << " children of the application";
}

// Lets queued events, deferred deletions and due timeouts run. Qt's painting hands work to
// the global thread pool, whose idle threads come and go with the load of the machine; they
// are ended here so that they do not count.
void settle()
{
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QThreadPool::globalInstance()->waitForDone();
}

QtCensus census_of(const LiveObjects& live, QWidget& window)
{
    settle();
    return {live.objects(), QApplication::allWidgets().size(), QApplication::topLevelWidgets().size(),
            window.findChildren<QObject*>().size(), qApp->children().size()};
}

class QtSoakTest : public ::testing::Test {
protected:
    QtSoakTest()
    {
        // Qt makes its pixmap cache when a button is first painted, which on a busy machine
        // can happen late in the soak; it lives as long as the program.
        QPixmap unused;
        QPixmapCache::find(QStringLiteral("vorbix-soak"), &unused);
    }

    FormControls& ui() { return *form.controls; }
    Stage& window() { return static_cast<Stage&>(testing::game_window()); }
    QWidget& game_over_button() { return *window().findChild<QWidget*>(QStringLiteral("Command1")); }

    void tick(TimerId id)
    {
        form.tick(id);
        window().refresh();
    }

    // Runs the intro and the curtain to their ends, then plays with keys sent to the window
    // (moves, turns and Down, and keys that act on nothing) and gravity ticks until "Game
    // Over" shows. Gives the number of gravity ticks it took.
    int play_to_the_end(int game)
    {
        for (int i = 0; i < 1000 && (ui().Timer2.live() || ui().Timer3.live()); ++i) {
            if (ui().Timer2.live()) tick(TimerId::timer2);
            if (ui().Timer3.live()) tick(TimerId::timer3);
        }
        static const int keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_A, Qt::Key_S, Qt::Key_Up, Qt::Key_F5};
        int ticks = 0;
        while (!ui().Command1.visible && ticks < most_ticks_per_game) {
            testing::send_key(window(), keys[static_cast<std::size_t>(game + ticks) % std::size(keys)]);
            testing::send_key(window(), Qt::Key_Down);
            tick(TimerId::timer1);
            ++ticks;
            // Let the real timers and the painting have their turn now and then.
            if (ticks % 16 == 0) QApplication::processEvents();
        }
        return ticks;
    }

    // Clicks the real "Game Over" button; the restart asks the question again.
    void click_game_over()
    {
        auto& button = static_cast<QAbstractButton&>(game_over_button());
        ASSERT_TRUE(button.isVisible()) << "no \"Game Over\" button on the screen";
        button.click();
    }

    void expect_a_new_game(int difficulty)
    {
        ASSERT_TRUE(form.controls) << "the restart left no window";
        ASSERT_FALSE(ui().Command1.visible);
        ASSERT_FALSE(game_over_button().isVisible());
        ASSERT_TRUE(window().isVisible());
        ASSERT_EQ(window().windowTitle(), "Vorbix");
        ASSERT_EQ(ui().Timer2.interval(), 1);
        ASSERT_EQ(ui().scorelabel.text, "Score:000000");
        ASSERT_EQ(form.state.difficulty, difficulty) << "the new game did not take the answer";
    }

    // Plays and restarts the games; answer prepares the answer to the question of each
    // restart and gives it. Takes a census after the first restart and after the last.
    void soak(const LiveObjects& live, const std::function<int(int game)>& answer)
    {
        for (int game = 1; game <= restarts; ++game) {
            SCOPED_TRACE("game " + std::to_string(game));
            const int ticks = play_to_the_end(game);
            ASSERT_LT(ticks, most_ticks_per_game) << "the game never ended";
            const int difficulty = answer(game);
            click_game_over();
            expect_a_new_game(difficulty);
            if (HasFatalFailure()) return;
            if (game == 1) first = census_of(live, window());
            if (game == restarts) last = census_of(live, window());
        }
    }

    void expect_nothing_left_behind()
    {
        EXPECT_GT(first.window_descendants, 0);
        EXPECT_EQ(last.widgets, first.widgets) << "after the first restart: " << first << "; after the last: " << last;
        EXPECT_EQ(last.top_level_widgets, first.top_level_widgets);
        EXPECT_EQ(last.window_descendants, first.window_descendants);
        EXPECT_EQ(last.application_children, first.application_children);
        EXPECT_EQ(last.live_objects.size(), first.live_objects.size())
            << "made after the first restart and still alive: " << newcomers(first.live_objects, last.live_objects);
    }

    void close_the_game()
    {
        window().close();
        settle();
        EXPECT_FALSE(window().isVisible());
        for (const char* timer : {"Timer1", "Timer2", "Timer3"}) EXPECT_FALSE(testing::qt_timer(timer).isActive());
    }

    QtFrontEnd front_end;
    Form1 form{front_end};
    QtCensus first, last;
};

TEST_F(QtSoakTest, FiftyRestartsAnsweredInTheQuestionBoxLeaveNoQtObjectBehind)
{
    const LiveObjects live;
    ASSERT_TRUE(live.available()) << "Qt's object hooks are not there to count with";
    testing::answer_when_asked(Qt::Key_Escape);
    form.start();
    ASSERT_TRUE(window().isVisible());
    ASSERT_EQ(form.state.difficulty, answer_no);

    soak(live, [](int game) {
        testing::answer_when_asked(game % 2 == 0 ? Qt::Key_Escape : Qt::Key_Return);
        return game % 2 == 0 ? answer_no : answer_yes;
    });
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a question box stays open";
    expect_nothing_left_behind();
    close_the_game();
}

}  // namespace
}  // namespace vorbix::qt
