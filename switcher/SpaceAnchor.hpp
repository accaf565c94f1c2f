#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/Coder.hpp"
#include "platform/appkit/Panel.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/appkit/WindowDelegate.hpp"
#include "platform/core/Weak.hpp"
#include "platform/foundation/Date.hpp"

namespace zelvana::switcher {

class SpaceSwitcher;

// A tiny invisible non-activating panel that lives on one space. Its
// identifier is the space's identifier everywhere in the application, and
// ordering it front (activate) is how the application switches to the space.
// Made by the switcher, or rebuilt by window restoration at launch. Main
// thread only.
class SpaceAnchor final : public platform::Panel, public platform::WindowDelegate {
    // Only the factories construct; the constructor is public for make_shared.
    struct Token {
        explicit Token() = default;
    };

public:
    // Stationary while resting, so that showing it never switches spaces.
    static constexpr platform::Window::CollectionBehaviors restingBehavior =
        platform::Window::CollectionBehavior::stationary |
        platform::Window::CollectionBehavior::ignoresCycle;
    // Only ignores-cycle, so ordering front may switch spaces.
    static constexpr platform::Window::CollectionBehaviors activatingBehavior =
        platform::Window::CollectionBehavior::ignoresCycle;
    // How long an activation keeps the anchor non-stationary after ordering it.
    static constexpr platform::TimeInterval behaviorRestoreDelay = 0.1;

    // A new anchor at the screen's bottom-left corner, with a new UUID
    // identifier; not yet visible.
    static std::shared_ptr<SpaceAnchor> makeAnchor(const platform::Screen& screen);
    // An anchor rebuilt from its saved identifier and state.
    static std::shared_ptr<SpaceAnchor> restoreAnchor(const std::string& identifier,
                                                      const platform::Coder& coder);

    // Whether the anchor represents its space; each assignment runs the
    // change hook (lastActive on true, then the view's appearance).
    bool isActive() const { return isActive_; }
    void setIsActive(bool active);
    // The last time isActive was set to true.
    std::optional<platform::Date> lastActive() const { return lastActive_; }
    void setLastActive(std::optional<platform::Date> date) { lastActive_ = date; }
    const std::string& id() const { return identifier(); }

    // Switches to the anchor's space: activates the application and orders
    // the anchor front on the next turn of the main queue. Nothing happens
    // for an anchor that is closed or not registered with the switcher.
    void activate();

    bool canBecomeKeyWindow() const override { return isActive_; }
    bool canBecomeMainWindow() const override { return isActive_; }
    // An anchor gives up key and main status at once.
    void becomeKeyWindow() override;
    void becomeMainWindow() override;
    // Leaves the switcher, then closes.
    void close() override;

    SpaceAnchor(Token, platform::Rect contentRect);

private:
    friend class SpaceSwitcher;

    void finishSetUp();
    void isActiveDidChange();
    bool isUsable() const;

    bool isActive_ = true;
    // The switcher that holds it under its id, kept by that switcher.
    const SpaceSwitcher* registrar_ = nullptr;
    std::optional<platform::Date> lastActive_ = platform::Date::now();
    platform::WeakFactory<SpaceAnchor> weak_{this};
};

}  // namespace zelvana::switcher
