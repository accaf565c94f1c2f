#include "DropPane/DropPaneWindowController.hpp"

#include "DropPane/DropPanePlacement.hpp"
#include "DropPane/DropPaneWindow.hpp"
#include "Logging/Logging.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/appkit/Storyboard.hpp"
#include "platform/appkit/VisualEffectView.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/input/Cursor.hpp"

namespace zelvana::droppane {

using platform::Storyboard;

namespace {

template <class T>
void registerOnce(const std::string& name) {
    if (!Storyboard::isClassRegistered(name)) {
        Storyboard::registerClass(name, [] { return std::make_unique<T>(); });
    }
}

// NSMouseInRect, not flipped: the bottom edge is outside, the top inside.
// Room around the units, inside the backdrop.
constexpr double kPaneMargin = 6;

bool holdsPointer(platform::Rect frame, platform::Point point) {
    return point.x >= frame.minX() && point.x < frame.maxX() && point.y > frame.minY() &&
           point.y <= frame.maxY();
}

}  // namespace

DropPaneWindowController::DropPaneWindowController() = default;

void DropPaneWindowController::registerStoryboardClasses() {
    registerOnce<DropPaneWindowController>("DropPaneWindowController");
    registerOnce<DropPaneWindow>("DropPaneWindow");
    registerOnce<DropPaneViewController>("DropPaneViewController");
    registerOnce<platform::VisualEffectView>("VisualEffectView");
    registerOnce<platform::StackView>("StackView");
}

std::shared_ptr<DropPaneWindowController> DropPaneWindowController::load() {
    platform::assertMainThread();
    registerStoryboardClasses();
    std::string error;
    const auto storyboard =
        Storyboard::load("Drop", platform::Bundle::packageResourceBundle("DropPane"), &error);
    auto controller = std::dynamic_pointer_cast<DropPaneWindowController>(
        storyboard ? storyboard->instantiateController("DropPaneWindowController", &error)
                   : nullptr);
    if (!controller || !controller->window()) {
        logging::Logging::error("unable to make the drop pane's window: " + error);
        return nullptr;
    }
    return controller;
}

DropPaneViewController* DropPaneWindowController::dropPaneViewController() const {
    return dynamic_cast<DropPaneViewController*>(contentViewController());
}

void DropPaneWindowController::applyOptions() {
    platform::assertMainThread();
    if (!options_) return;
    if (auto* pane = window()) pane->setFrame(platform::Rect{});
    if (auto* content = dropPaneViewController()) {
        content->setOptions(*options_);
        fitToUnits(*content);
    }
    if (auto* pane = window()) pane->setTitle(options_->windowTitle.value_or("Drop"));
}

// The window hugs its units, as the storyboard's constraints make it do.
void DropPaneWindowController::fitToUnits(DropPaneViewController& content) {
    const auto stack = content.stackView();
    auto* pane = window();
    if (!stack || !pane) return;
    const platform::Size units = stack->fittingSize();
    const platform::Size size{units.width + 2 * kPaneMargin, units.height + 2 * kPaneMargin};
    pane->setContentSize(size);
    content.view()->setFrame(platform::Rect{{}, size});
    stack->setFrame(platform::Rect{{kPaneMargin, kPaneMargin}, units});
    stack->layout();
}

void DropPaneWindowController::show(const std::optional<platform::Event>& event) {
    platform::assertMainThread();
    if (isOpen_ || !options_ || options_->dropUnits.empty() ||
        options_->location == DropPaneLocation::none) {
        return;
    }
    ++generation_;
    positionWindow(event);
    if (auto* pane = window()) {
        if (fadingOut_) pane->setAlphaValue(1);
        pane->orderFront(nullptr);
    }
    fadingOut_ = false;
    isOpen_ = true;
}

void DropPaneWindowController::hide() {
    platform::assertMainThread();
    if (!isOpen_) return;
    isOpen_ = false;
    fadingOut_ = true;
    if (auto* pane = window()) pane->setAlphaValue(0);
    platform::mainQueue().asyncAfter(fadeOutDelay, [weak = weak_.ref(), generation = generation_] {
        auto* self = weak.get();
        if (!self || self->generation_ != generation) return;
        self->fadingOut_ = false;
        if (auto* pane = self->window()) {
            pane->orderOut(nullptr);
            pane->setAlphaValue(1);
        }
    });
}

void DropPaneWindowController::showLater(const std::optional<platform::Event>& event) {
    platform::assertMainThread();
    platform::mainQueue().async([weak = weak_.ref(), event] {
        if (auto* self = weak.get()) self->show(event);
    });
    if (auto* content = dropPaneViewController()) content->updateHover();
}

void DropPaneWindowController::mouseUp(const std::any& value) {
    platform::assertMainThread();
    if (!isOpen_) return;
    hide();
    auto* content = dropPaneViewController();
    if (!content) return;
    for (const auto& view : content->unitViews()) {
        const auto& unit = view->dropUnit();
        if (unit && unit->mouseUp && view->containsPointer()) unit->mouseUp(value);
    }
}

void DropPaneWindowController::positionWindow(const std::optional<platform::Event>& event) {
    platform::assertMainThread();
    const auto screen = screenUnderMouse();
    auto* pane = window();
    if (!screen || !pane || !options_) return;
    const auto screens = platform::Screen::screens();
    const platform::Rect s = screen->frame();
    const platform::Size w = pane->frame().size;
    const auto pointer = event ? std::optional(event->location) : std::nullopt;
    const auto origin =
        paneOrigin(options_->location, s, w, pointer, screens.front().frame().height());
    if (!origin) return;
    pane->setFrameOrigin(clampToScreen(platform::Rect{*origin, w}, s));
}

std::optional<platform::Screen> screenUnderMouse() {
    const auto pointer = platform::mouseLocation();
    for (const auto& screen : platform::Screen::screens()) {
        if (holdsPointer(screen.frame(), pointer)) return screen;
    }
    return std::nullopt;
}

}  // namespace zelvana::droppane
