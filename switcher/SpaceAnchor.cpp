#include "switcher/SpaceAnchor.hpp"
#include "platform/core/MainThread.hpp"

#include "Logging/Logging.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/UUID.hpp"
#include "platform/system/SystemVersion.hpp"
#include "switcher/SpaceAnchorViewController.hpp"
#include "switcher/SpaceSwitcher.hpp"
#include "switcher/WindowTransparency.hpp"

namespace zelvana::switcher {

using logging::Logging;
using platform::Rect;

namespace {

constexpr Rect kRestoredContentRect = Rect{{0, 0}, {1, 1}};

// The anchor's view exists only where the system can show its label.
void attachViewController(SpaceAnchor& anchor) {
    if (!platform::SystemVersion::isAtLeast(13)) return;
    anchor.setContentViewController(std::make_shared<SpaceAnchorViewController>());
}

}  // namespace

SpaceAnchor::SpaceAnchor(Token, Rect contentRect)
    : Panel(contentRect, Style::nonactivatingPanel, BackingStore::buffered, false) {}

std::shared_ptr<SpaceAnchor> SpaceAnchor::makeAnchor(const platform::Screen& screen) {
    platform::assertMainThread();
    const Rect contentRect{screen.frame().origin, {1, 1}};
    auto anchor = std::make_shared<SpaceAnchor>(Token{}, contentRect);
    anchor->finishSetUp();
    anchor->setIdentifier(platform::UUID().uuidString());
    attachViewController(*anchor);
    return anchor;
}

std::shared_ptr<SpaceAnchor> SpaceAnchor::restoreAnchor(const std::string& identifier,
                                                        const platform::Coder& coder) {
    platform::assertMainThread();
    auto anchor = std::make_shared<SpaceAnchor>(Token{}, kRestoredContentRect);
    anchor->setIdentifier(identifier);
    anchor->restoreStateWithCoder(coder);
    anchor->finishSetUp();
    attachViewController(*anchor);
    return anchor;
}

void SpaceAnchor::finishSetUp() {
    setDelegate(this);
    setTransparent(*this, true);
    setCollectionBehavior(restingBehavior);
    setRestorable(true);
    setRestorationClass(SpaceSwitcher::restorationClassName);
}

void SpaceAnchor::setIsActive(bool active) {
    platform::assertMainThread();
    isActive_ = active;
    isActiveDidChange();
}

void SpaceAnchor::isActiveDidChange() {
    if (isActive_) lastActive_ = platform::Date::now();
    auto* controller = dynamic_cast<SpaceAnchorViewController*>(contentViewController().get());
    if (controller) controller->updateAppearance();
}

bool SpaceAnchor::isUsable() const {
    return !isClosed() && SpaceSwitcher::shared().isRegistered(*this);
}

void SpaceAnchor::activate() {
    platform::assertMainThread();
    if (!isUsable()) {
        Logging::error("Not activating anchor " + id() + ": it is closed or unknown");
        return;
    }
    platform::Application::shared().activate(true);
    setCollectionBehavior(activatingBehavior);
    platform::mainQueue().async([weak = weak_.ref()] {
        SpaceAnchor* anchor = weak.get();
        if (!anchor) return;
        // Closed while the ordering waited: showing it again would leave an
        // orphan panel on screen.
        if (anchor->isClosed()) {
            Logging::info("Anchor " + anchor->id() + " closed before it was ordered front");
            anchor->setCollectionBehavior(restingBehavior);
            return;
        }
        anchor->makeKeyAndOrderFront(nullptr);
        platform::mainQueue().asyncAfter(behaviorRestoreDelay, [weak] {
            if (SpaceAnchor* later = weak.get()) later->setCollectionBehavior(restingBehavior);
        });
    });
}

void SpaceAnchor::becomeKeyWindow() {
    platform::assertMainThread();
    Panel::becomeKeyWindow();
    resignKeyWindow();
}

void SpaceAnchor::becomeMainWindow() {
    platform::assertMainThread();
    Panel::becomeMainWindow();
    resignMainWindow();
}

void SpaceAnchor::close() {
    platform::assertMainThread();
    // The switcher may hold the last reference.
    const auto keepAlive = weak_from_this().lock();
    SpaceSwitcher::shared().removeAnchor(*this);
    Panel::close();
}

}  // namespace zelvana::switcher
