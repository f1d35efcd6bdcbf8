// The game window and its painted labels for assistive technology, through Qt's accessibility.
#include "qt/accessible_window.h"

#include "platform/window_view.h"
#include "qt/game_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>

#include <string>
#include <vector>

namespace vorbix::qt {
namespace {

// A label the window paints: a static text, read from the window's view whenever asked.
class AccessibleLabel final : public QAccessibleInterface {
public:
    AccessibleLabel(GameWindow& window, std::string name) : window_(&window), name_(std::move(name)) {}

    bool isValid() const override { return window_ != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return window_ != nullptr ? window_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(window_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name) return {};
        const std::optional<WindowView> view = shown();
        const Label* label = view ? label_named(*view, name_) : nullptr;
        return label != nullptr ? QString::fromStdString(label->text) : QString();
    }

    QRect rect() const override
    {
        const std::optional<WindowView> view = shown();
        const Label* label = view ? label_named(*view, name_) : nullptr;
        if (label == nullptr) return {};
        // Twips to the window's own pixels, then the zoom it is drawn at.
        const double pixels_per_twip = window_->zoom() / twips_per_pixel(window_->logicalDpiX());
        const auto pixels = [pixels_per_twip](float length) {
            return static_cast<int>(static_cast<double>(length) * pixels_per_twip);
        };
        const QRect place(pixels(label->place.left), pixels(label->place.top), pixels(label->place.width),
                          pixels(label->place.height));
        return place.translated(window_->mapToGlobal(QPoint(0, 0)));
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        const std::optional<WindowView> view = shown();
        const Label* label = view ? label_named(*view, name_) : nullptr;
        state.invisible = label == nullptr || !label->visible || !window_->isVisible();
        return state;
    }

    const std::string& name() const { return name_; }

private:
    std::optional<WindowView> shown() const { return window_ != nullptr ? window_->view() : std::nullopt; }

    QPointer<GameWindow> window_;
    std::string name_;
};

// The game window's client area: its real children first, then its painted labels in the
// window's order.
class AccessibleGameWindow final : public QAccessibleWidget {
public:
    explicit AccessibleGameWindow(GameWindow& window) : QAccessibleWidget(&window, QAccessible::Client), game_(window)
    {
    }
    ~AccessibleGameWindow() override
    {
        for (const Told& label : labels_) QAccessible::deleteAccessibleInterface(label.id);
    }

    int childCount() const override
    {
        know_labels();
        return QAccessibleWidget::childCount() + static_cast<int>(labels_.size());
    }

    QAccessibleInterface* child(int index) const override
    {
        know_labels();
        const int widgets = QAccessibleWidget::childCount();
        if (index < widgets) return QAccessibleWidget::child(index);
        const auto label = static_cast<std::size_t>(index - widgets);
        return label < labels_.size() ? QAccessible::accessibleInterface(labels_[label].id) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        know_labels();
        for (std::size_t i = 0; i < labels_.size(); ++i) {
            if (QAccessible::accessibleInterface(labels_[i].id) == child) {
                return QAccessibleWidget::childCount() + static_cast<int>(i);
            }
        }
        return QAccessibleWidget::indexOfChild(child);
    }

    void announce(const WindowView& view)
    {
        know_labels();
        for (Told& told : labels_) {
            const Label* label = label_named(view, told.name);
            if (label == nullptr || label->text == told.text) continue;
            told.text = label->text;
            QAccessibleEvent changed(QAccessible::accessibleInterface(told.id), QAccessible::NameChanged);
            QAccessible::updateAccessibility(&changed);
        }
    }

private:
    struct Told {
        std::string name;
        QAccessible::Id id;
        std::string text;
    };

    // The window's labels are fixed by its design: they are listed once, when first shown.
    void know_labels() const
    {
        if (!labels_.empty()) return;
        const std::optional<WindowView> view = game_.view();
        if (!view) return;
        for (const Label* label : view->labels) {
            const QAccessible::Id id =
                QAccessible::registerAccessibleInterface(new AccessibleLabel(game_, label->name));
            labels_.push_back({label->name, id, label->text});
        }
    }

    GameWindow& game_;
    mutable std::vector<Told> labels_;
};

QAccessibleInterface* describe(const QString&, QObject* object)
{
    auto* window = dynamic_cast<GameWindow*>(object);
    return window != nullptr ? new AccessibleGameWindow(*window) : nullptr;
}

}  // namespace

void install_accessible_window()
{
    static const bool installed = [] {
        QAccessible::installFactory(describe);
        return true;
    }();
    (void)installed;
}

void announce_label_changes(GameWindow& window, const WindowView& view)
{
    if (!QAccessible::isActive()) return;
    if (auto* described = dynamic_cast<AccessibleGameWindow*>(QAccessible::queryAccessibleInterface(&window))) {
        described->announce(view);
    }
}

}  // namespace vorbix::qt
