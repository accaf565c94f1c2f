#pragma once

#include <any>
#include <memory>
#include <optional>

#include "DropPane/DropPaneOptions.hpp"
#include "DropPane/DropPaneViewController.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::droppane {

// Shows and hides the drop pane's window, placed by the options' location on
// the screen under the pointer or beside it, and fades it out over 0.3 s.
// Made from the "Drop" storyboard. Main thread only.
class DropPaneWindowController : public platform::WindowController {
public:
    // How long the pane takes to fade out before it leaves the screen.
    static constexpr double fadeOutDelay = 0.3;

    DropPaneWindowController();

    // From the package's storyboard; null, and logged, when it cannot be made.
    static std::shared_ptr<DropPaneWindowController> load();
    static void registerStoryboardClasses();

    bool isOpen() const { return isOpen_; }
    const std::optional<DropPaneOptions>& options() const { return options_; }
    void setOptions(DropPaneOptions options) { options_ = std::move(options); }
    void applyOptions();
    DropPaneViewController* dropPaneViewController() const;

    // Opens the pane unless it is open, has no units or no location. A pane
    // still fading out stays on screen at full opacity.
    void show(const std::optional<platform::Event>& event);
    void hide();
    // Opens it on the next turn of the main queue; the hover is updated now.
    void showLater(const std::optional<platform::Event>& event);
    // Hides the pane and hands `value` to the mouse-up action of each unit
    // under the pointer.
    void mouseUp(const std::any& value);
    void positionWindow(const std::optional<platform::Event>& event);

private:
    void fitToUnits(DropPaneViewController& content);

    bool isOpen_ = false;
    std::optional<DropPaneOptions> options_;
    // Each show makes the order-out of an earlier hide stale.
    unsigned generation_ = 0;
    bool fadingOut_ = false;
    platform::WeakFactory<DropPaneWindowController> weak_{this};
};

// The first screen whose frame holds the pointer; none when none does.
std::optional<platform::Screen> screenUnderMouse();

}  // namespace zelvana::droppane
