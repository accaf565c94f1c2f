#include "switcher/SpaceSwitcher.hpp"

#include <algorithm>
#include <utility>

#include "Logging/Logging.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/desktop/DisplayServices.hpp"
#include "platform/dispatch/Queue.hpp"
#include "switcher/SpaceAnchorViewController.hpp"

namespace zelvana::switcher {

using logging::Logging;
using platform::Screen;

namespace {

// Never destroyed: anchors and observers must not outlive the services they
// report to at exit.
std::unique_ptr<SpaceSwitcher>& sharedInstance() {
    static auto* instance = new std::unique_ptr<SpaceSwitcher>();
    return *instance;
}

// Like a class that registers itself when its code is loaded.
[[maybe_unused]] const bool kRestorationClassRegistered =
    (SpaceSwitcher::registerRestorationClass(), true);

bool isOn(const SpaceAnchor& anchor, const Screen& screen) {
    return anchor.isOnActiveSpace() && anchor.screen() == screen;
}

SpaceAnchorViewController* viewControllerOf(const SpaceAnchor& anchor) {
    return dynamic_cast<SpaceAnchorViewController*>(anchor.contentViewController().get());
}

// Inactive anchors go before active ones; then the one active longest ago, an
// anchor without a date first; ties keep list order.
bool trimsBefore(const SpaceAnchor& anchor, const SpaceAnchor& pick) {
    if (anchor.isActive() != pick.isActive()) return !anchor.isActive();
    const auto date = anchor.lastActive();
    const auto pickDate = pick.lastActive();
    if (!date || !pickDate) return !date && pickDate.has_value();
    return *date < *pickDate;
}

}  // namespace

SpaceSwitcher::SpaceSwitcher(Token) {}

SpaceSwitcher::~SpaceSwitcher() {
    // An anchor may outlive its switcher; a later one must not seem to hold it.
    for (const auto& [id, anchor] : idAnchors_) anchor->registrar_ = nullptr;
}

SpaceSwitcher& SpaceSwitcher::shared() {
    platform::assertMainThread();
    auto& instance = sharedInstance();
    if (!instance) {
        instance = std::make_unique<SpaceSwitcher>(Token{});
        instance->observeSpaceChanges();
        instance->observeDisplays();
    }
    return *instance;
}

void SpaceSwitcher::resetSharedForTesting() {
    platform::assertMainThread();
    // Gone only after the slot is empty, so its anchors cannot reach it.
    const auto previous = std::exchange(sharedInstance(), nullptr);
}

void SpaceSwitcher::registerRestorationClass() {
    platform::assertMainThread();
    platform::WindowRestoration::registerClass(restorationClassName, &SpaceSwitcher::restoreWindow);
}

void SpaceSwitcher::restoreWindow(const std::string& identifier, const platform::Coder& state,
                                  const platform::WindowRestoration::Completion& completion) {
    platform::assertMainThread();
    auto& switcher = shared();
    // A second anchor of one identifier would share its space's identity, and
    // closing either would drop both from the switcher.
    if (switcher.idAnchors().contains(identifier)) {
        Logging::warning("Not restoring anchor " + identifier + " twice");
        completion(nullptr, "an anchor with this identifier exists");
        return;
    }
    auto anchor = SpaceAnchor::restoreAnchor(identifier, state);
    switcher.registerAnchor(anchor);
    Logging::info("Restored anchor " + identifier);
    completion(anchor.get(), std::nullopt);
    switcher.reportAdded({anchor});
}

void SpaceSwitcher::setOptions(std::shared_ptr<SpaceSwitcherOptions> options) {
    platform::assertMainThread();
    if (options) options_ = std::move(options);
}

SpaceSwitcher::AnchorList SpaceSwitcher::activeAnchors() const {
    AnchorList active;
    std::ranges::copy_if(anchors_, std::back_inserter(active), [](const auto& anchor) {
        return anchor->isActive() && anchor->isOnActiveSpace();
    });
    return active;
}

std::shared_ptr<SpaceAnchor> SpaceSwitcher::activeAnchor() const {
    const auto mainScreen = Screen::main();
    for (const auto& anchor : anchors_) {
        if (anchor->isActive() && anchor->isOnActiveSpace() && anchor->screen() == mainScreen) {
            return anchor;
        }
    }
    return nullptr;
}

void SpaceSwitcher::setDelegate(platform::WeakRef<SpaceSwitcherDelegate> delegate) {
    platform::assertMainThread();
    delegate_ = std::move(delegate);
    refreshAnchors();
}

// --- Reconciliation ---

SpaceSwitcher::AnchorList SpaceSwitcher::anchorsOn(const Screen& screen) const {
    AnchorList on;
    std::ranges::copy_if(anchors_, std::back_inserter(on),
                         [&](const auto& anchor) { return isOn(*anchor, screen); });
    return on;
}

std::shared_ptr<SpaceAnchor> SpaceSwitcher::reconcileActiveAnchor(const Screen& screen) {
    platform::assertMainThread();
    const AnchorList onScreen = anchorsOn(screen);
    AnchorList active;
    std::ranges::copy_if(onScreen, std::back_inserter(active),
                         [](const auto& anchor) { return anchor->isActive(); });
    if (active.empty()) {
        if (onScreen.empty()) return nullptr;
        onScreen.front()->setIsActive(true);
        return onScreen.front();
    }
    for (auto extra = std::next(active.begin()); extra != active.end(); ++extra) {
        (*extra)->setIsActive(false);
    }
    return active.front();
}

void SpaceSwitcher::refreshAnchors() {
    platform::assertMainThread();
    AnchorList added;
    for (const auto& screen : Screen::screens()) {
        if (reconcileActiveAnchor(screen)) continue;
        added.push_back(addAnchor(screen));
    }
    // An anchor trimmed on the way was reported removed: never add it after.
    std::erase_if(added, [this](const auto& anchor) { return !isRegistered(*anchor); });
    reportAdded(added);
}

void SpaceSwitcher::reportAdded(const AnchorList& added) {
    if (auto* delegate = delegate_.get()) delegate->anchorsAdded(added);
}

// --- Anchors coming and going ---

std::shared_ptr<SpaceAnchor> SpaceSwitcher::addAnchor(const Screen& screen) {
    platform::assertMainThread();
    auto anchor = SpaceAnchor::makeAnchor(screen);
    observeScreen(anchor);
    anchor->setIsVisible(true);
    if (static_cast<std::int64_t>(anchors_.size()) > effectiveCap()) trimAnchors();
    registerAnchor(anchor);
    platform::Application::shared().activate(true);
    Logging::info("Added anchor " + anchor->id() + " on display " +
                  std::to_string(screen.screenNumber()));
    return anchor;
}

void SpaceSwitcher::observeScreen(const std::shared_ptr<SpaceAnchor>& anchor) {
    std::weak_ptr<SpaceAnchor> weakAnchor = anchor;
    observers_[anchor->id()] =
        anchor->observeScreen([weak = weak_.ref(), weakAnchor](auto&, auto&) {
            SpaceSwitcher* self = weak.get();
            auto observed = weakAnchor.lock();
            if (self && observed) self->handleAnchorScreenChange(observed);
        });
}

void SpaceSwitcher::registerAnchor(const std::shared_ptr<SpaceAnchor>& anchor) {
    anchors_.push_back(anchor);
    auto& held = idAnchors_[anchor->id()];
    if (held) held->registrar_ = nullptr;
    held = anchor;
    anchor->registrar_ = this;
}

// The active anchor of a shown space is never a candidate: it is the only
// identity that display's space has.
std::shared_ptr<SpaceAnchor> SpaceSwitcher::trimCandidate() const {
    std::shared_ptr<SpaceAnchor> pick;
    for (const auto& anchor : anchors_) {
        if (anchor->isActive() && anchor->isOnActiveSpace()) continue;
        if (!pick || trimsBefore(*anchor, *pick)) pick = anchor;
    }
    return pick;
}

std::int64_t SpaceSwitcher::effectiveCap() const {
    // Below one anchor per display, a display would lose its shown space.
    const auto displays = static_cast<std::int64_t>(Screen::screens().size());
    return std::max(options_->anchorCountCap, displays);
}

void SpaceSwitcher::trimAnchors() {
    platform::assertMainThread();
    auto pick = trimCandidate();
    if (!pick) return;
    Logging::info("Trimming anchor " + pick->id());
    pick->close();
    // The hub must not keep a space whose anchor is gone.
    if (auto* delegate = delegate_.get()) delegate->anchorRemoved(pick);
}

void SpaceSwitcher::removeAnchor(const SpaceAnchor& anchor) {
    platform::assertMainThread();
    const std::string id = anchor.id();
    std::erase_if(anchors_, [&](const auto& entry) { return entry->identifier() == id; });
    if (const auto found = idAnchors_.find(id); found != idAnchors_.end()) {
        found->second->registrar_ = nullptr;
        idAnchors_.erase(found);
    }
    // A closed anchor reports no more screen changes.
    observers_.erase(id);
}

void SpaceSwitcher::closeAllAnchors() {
    platform::assertMainThread();
    const AnchorList all = anchors_;
    for (const auto& anchor : all) anchor->close();
}

// --- Views ---

void SpaceSwitcher::setVisibility(SpaceAnchorVisibility visibility) {
    platform::assertMainThread();
    options_->visibility = visibility;
    updateAnchorViews();
}

void SpaceSwitcher::refreshAnchorViews() {
    platform::assertMainThread();
    if (options_->visibility == SpaceAnchorVisibility::hidden) return;
    updateAnchorViews();
}

// Every anchor's place in its display's stack is counted in the same pass.
void SpaceSwitcher::updateAnchorViews() {
    const AnchorList all = anchors_;
    std::vector<std::pair<std::optional<Screen>, std::size_t>> shownOn;
    for (const auto& anchor : all) {
        std::size_t position = 0;
        if (anchor->isOnActiveSpace()) {
            const auto screen = anchor->screen();
            auto counted =
                std::ranges::find(shownOn, screen, &decltype(shownOn)::value_type::first);
            if (counted == shownOn.end()) counted = shownOn.insert(shownOn.end(), {screen, 0});
            position = counted->second++;
        }
        if (auto* controller = viewControllerOf(*anchor)) controller->updateAppearance(position);
    }
}

// --- System changes ---

void SpaceSwitcher::handleAnchorScreenChange(const std::shared_ptr<SpaceAnchor>& anchor) {
    platform::assertMainThread();
    if (anchor->isOnActiveSpace()) {
        const auto screen = anchor->screen();
        const bool shared = std::ranges::any_of(anchors_, [&](const auto& other) {
            return other->id() != anchor->id() && other->isOnActiveSpace() &&
                   other->screen() == screen;
        });
        anchor->setIsActive(!shared);
    }
    if (auto* delegate = delegate_.get()) delegate->anchorChangedScreen(anchor);
}

void SpaceSwitcher::observeSpaceChanges() {
    platform::assertMainThread();
    auto& center = platform::Workspace::shared().notificationCenter();
    spaceObserver_ =
        center.addObserver(platform::Workspace::activeSpaceDidChangeNotification,
                           [weak = weak_.ref()](const platform::Notification&) {
                               platform::mainQueue().asyncAfter(spaceChangeDelay, [weak] {
                                   if (auto* self = weak.get()) self->spaceDidChange();
                               });
                           });
}

void SpaceSwitcher::spaceDidChange() {
    platform::assertMainThread();
    refreshAnchors();
}

void SpaceSwitcher::observeDisplays() {
    displayObserver_ = platform::registerDisplayReconfigurationCallback(
        [weak = weak_.ref()](platform::DisplayID display, platform::DisplayChangeFlags flags) {
            displayReconfigured(weak, display, flags);
        });
}

void SpaceSwitcher::displayReconfigured(const platform::WeakRef<SpaceSwitcher>& weak,
                                        std::uint32_t display, platform::DisplayChangeFlags flags) {
    if (flags.contains(platform::DisplayChange::added)) {
        platform::mainQueue().asyncAfter(displayChangeDelay, [weak, display] {
            if (auto* self = weak.get()) self->handleDisplayAdded(display);
        });
    }
    if (flags.contains(platform::DisplayChange::removed)) {
        // Its anchors stay registered; their screen observations tell the hub.
        platform::mainQueue().asyncAfter(displayChangeDelay, [display] {
            Logging::info("Display " + std::to_string(display) + " removed");
        });
    }
}

void SpaceSwitcher::handleDisplayAdded(std::uint32_t displayNumber) {
    platform::assertMainThread();
    const auto screens = Screen::screens();
    const auto screen = std::ranges::find_if(screens, [&](const Screen& candidate) {
        return candidate.screenNumber() == displayNumber;
    });
    if (screen == screens.end()) return;
    AnchorList added;
    if (const auto onScreen = anchorsOn(*screen); !onScreen.empty()) {
        onScreen.front()->setIsActive(true);
    } else {
        added.push_back(addAnchor(*screen));
    }
    reportAdded(added);
}

}  // namespace zelvana::switcher
