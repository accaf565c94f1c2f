#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Coder.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/WindowRestoration.hpp"
#include "platform/core/Weak.hpp"
#include "platform/desktop/DisplayServices.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "switcher/SpaceAnchor.hpp"
#include "switcher/SpaceAnchorVisibility.hpp"
#include "switcher/SpaceChangeObserver.hpp"
#include "switcher/SpaceSwitcherDelegate.hpp"
#include "switcher/SpaceSwitcherOptions.hpp"

namespace zelvana::switcher {

// The application's picture of the desktop spaces: one anchor per space the
// user visited while the application ran and, for each display, exactly one
// anchor marked active on the space it shows. Follows active-space changes
// and display reconfiguration, makes an anchor for a shown space without one,
// takes back anchors restored at launch and trims the oldest beyond the cap.
// One shared instance for the process. Main thread only.
class SpaceSwitcher final : public SpaceChangeObserver {
    struct Token {
        explicit Token() = default;
    };

public:
    using AnchorList = std::vector<std::shared_ptr<SpaceAnchor>>;
    using AnchorMap = std::map<std::string, std::shared_ptr<SpaceAnchor>>;

    // The restoration class every anchor names.
    static constexpr const char* restorationClassName = "SpaceSwitcher";
    // Work follows the system's notifications after these delays.
    static constexpr platform::TimeInterval spaceChangeDelay = 0.05;
    static constexpr platform::TimeInterval displayChangeDelay = 1.0;

    // Made on first use (which also registers for space and display changes).
    static SpaceSwitcher& shared();
    // Drops the shared instance and its registrations, so the next use makes a
    // new one, as a new launch would.
    static void resetSharedForTesting();
    // Hands saved anchors to the switcher at launch. Done when the library is
    // loaded; again after a test cleared the registry.
    static void registerRestorationClass();
    // The restorer: rebuilds the anchor, registers it with the shared switcher
    // and reports it to a delegate. An identifier the switcher already holds
    // is refused: only the first anchor of an identifier is restored.
    static void restoreWindow(const std::string& identifier, const platform::Coder& state,
                              const platform::WindowRestoration::Completion& completion);

    const std::shared_ptr<SpaceSwitcherOptions>& options() const { return options_; }
    void setOptions(std::shared_ptr<SpaceSwitcherOptions> options);
    // Every registered anchor by id, and in order of registration.
    const AnchorMap& idAnchors() const { return idAnchors_; }
    const AnchorList& anchors() const { return anchors_; }
    // The active anchors on shown spaces, in list order.
    AnchorList activeAnchors() const;
    // The first active anchor on a shown space of the main screen.
    std::shared_ptr<SpaceAnchor> activeAnchor() const;
    // Whether this very anchor is registered under its id. Asked for every
    // space on every refresh, so the anchor carries the answer.
    bool isRegistered(const SpaceAnchor& anchor) const { return anchor.registrar_ == this; }

    // The switcher lives for the process, its delegate may not. Setting it
    // (also to none) refreshes the anchors at once.
    SpaceSwitcherDelegate* delegate() const { return delegate_.get(); }
    void setDelegate(platform::WeakRef<SpaceSwitcherDelegate> delegate);

    // Leaves exactly one active anchor among those on the screen's shown
    // space, when it has any, and returns it.
    std::shared_ptr<SpaceAnchor> reconcileActiveAnchor(const platform::Screen& screen);
    // Reconciles every screen, gives each screen without an active anchor on
    // its shown space a new one, and reports what was added.
    void refreshAnchors();
    // A new, visible anchor on the screen's shown space; trims first when the
    // list is over the cap (never below one anchor per display).
    std::shared_ptr<SpaceAnchor> addAnchor(const platform::Screen& screen);
    // Closes one anchor and reports it: an inactive one first, then the one
    // active longest ago; never the active anchor of a shown space.
    void trimAnchors();
    // Forgets the anchor and ends its screen observation; the anchor's close
    // calls it.
    void removeAnchor(const SpaceAnchor& anchor);
    void closeAllAnchors();

    void setVisibility(SpaceAnchorVisibility visibility);
    // Updates every anchor's view unless anchors are hidden.
    void refreshAnchorViews();
    // An anchor moved to another display: it is active unless another anchor
    // already shows there; the delegate hears of it.
    void handleAnchorScreenChange(const std::shared_ptr<SpaceAnchor>& anchor);
    // A display came a second ago: its first anchor on the shown space becomes
    // active, or it gets a new one.
    void handleDisplayAdded(std::uint32_t displayNumber);

    // SpaceChangeObserver
    void observeSpaceChanges() override;
    void spaceDidChange() override;

    explicit SpaceSwitcher(Token);
    ~SpaceSwitcher() override;
    SpaceSwitcher(const SpaceSwitcher&) = delete;
    SpaceSwitcher& operator=(const SpaceSwitcher&) = delete;

private:
    static void displayReconfigured(const platform::WeakRef<SpaceSwitcher>& weak,
                                    std::uint32_t display, platform::DisplayChangeFlags flags);
    void observeDisplays();
    void observeScreen(const std::shared_ptr<SpaceAnchor>& anchor);
    void registerAnchor(const std::shared_ptr<SpaceAnchor>& anchor);
    void reportAdded(const AnchorList& added);
    AnchorList anchorsOn(const platform::Screen& screen) const;
    std::shared_ptr<SpaceAnchor> trimCandidate() const;
    std::int64_t effectiveCap() const;
    void updateAnchorViews();

    std::shared_ptr<SpaceSwitcherOptions> options_ = std::make_shared<SpaceSwitcherOptions>();
    AnchorMap idAnchors_;
    AnchorList anchors_;
    platform::WeakRef<SpaceSwitcherDelegate> delegate_;
    std::map<std::string, platform::Subscription> observers_;
    platform::Subscription spaceObserver_;
    platform::Subscription displayObserver_;
    platform::WeakFactory<SpaceSwitcher> weak_{this};
};

}  // namespace zelvana::switcher
