#include "Zelvana/ScreenManager.hpp"

#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/UnreadableSetting.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::core {

using platform::Screen;

namespace {

// Kept aside, unreadable stored screens are replaced by this launch's
// displays; otherwise they stay until a display change saves on purpose.
bool mayReplaceStoredScreens() {
    const auto& screens = GlobalDefaults::screens();
    if (screens.typedValue()) return true;
    return keepUnreadableAside(screens,
                               {.subject = "the stored screens",
                                .possessive = "their",
                                .ifNotKept = "they are replaced at the next display change"});
}

}  // namespace

ScreenManager::ScreenManager(std::chrono::milliseconds pollInterval)
    : mainScreenObserver_(std::make_unique<MainScreenObserver>(pollInterval)),
      plistObserver_(std::make_unique<SpacesPlistObserver>()) {
    storedScreens_ = GlobalDefaults::screens().typedValue().value_or(CodableScreenMap{});
    for (const auto& screen : Screen::screens()) record(screen);
    if (mayReplaceStoredScreens()) save();
    displayObserver_ = platform::registerDisplayReconfigurationCallback(
        [this](DisplayNumber display, platform::DisplayChangeFlags flags) {
            // The token ends the registration before the manager goes.
            displayReconfigured(display, flags);
        });
    settingObserver_ = GlobalDefaults::menuBarSpaceNumber().observe(
        [weak = weak_.ref()](const platform::Notification&) {
            if (auto* self = weak.get()) self->updatePolling();
        });
    updatePolling();
}

ScreenManager::~ScreenManager() = default;

std::optional<DisplayNumber> ScreenManager::storedId(
    const Screen& screen, const std::optional<std::set<DisplayNumber>>& among) {
    platform::assertMainThread();
    const DisplayNumber number = displayNumber(screen);
    if (const auto cached = cachedIds_.find(number); cached != cachedIds_.end()) {
        return cached->second;
    }
    const std::string hardwareKey = CodableScreen::make(screen).hardwareKey();
    std::vector<const CodableScreen*> candidates;
    for (const auto& [id, stored] : storedScreens_) {
        if (stored.hardwareKey() == hardwareKey && (!among || among->contains(stored.id))) {
            candidates.push_back(&stored);
        }
    }
    const auto found = pick(candidates, screen);
    if (found) cachedIds_[number] = *found;
    return found;
}

std::optional<DisplayNumber> ScreenManager::pick(
    const std::vector<const CodableScreen*>& candidates, const Screen& screen) {
    if (candidates.empty()) return std::nullopt;
    if (candidates.size() == 1) return candidates.front()->id;
    for (const auto* candidate : candidates) {
        if (candidate->frame == screen.frame()) return candidate->id;
    }
    // The product name, which may differ from the name the record was made with.
    const std::string name = displayName(screen);
    for (const auto* candidate : candidates) {
        if (candidate->name == name) return candidate->id;
    }
    return std::nullopt;
}

void ScreenManager::updatePolling() {
    platform::assertMainThread();
    const bool wanted =
        GlobalDefaults::menuBarSpaceNumber().isUserEnabled() && Screen::screens().size() >= 2;
    if (wanted) {
        mainScreenObserver_->start();
    } else {
        mainScreenObserver_->stop();
    }
}

void ScreenManager::displayReconfigured(DisplayNumber display, platform::DisplayChangeFlags flags) {
    if (flags.contains(platform::DisplayChange::added)) {
        afterDisplayChange([display](ScreenManager& self) { self.handleDisplayAdded(display); });
    }
    if (flags.contains(platform::DisplayChange::removed)) {
        afterDisplayChange([](ScreenManager& self) { self.updatePolling(); });
    }
}

void ScreenManager::afterDisplayChange(std::function<void(ScreenManager&)> work) {
    platform::mainQueue().asyncAfter(displayChangeDelay,
                                     [weak = weak_.ref(), work = std::move(work)] {
                                         if (auto* self = weak.get()) work(*self);
                                     });
}

void ScreenManager::handleDisplayAdded(DisplayNumber display) {
    for (const auto& screen : Screen::screens()) {
        if (displayNumber(screen) != display) continue;
        record(screen);
        save();
        updatePolling();
        return;
    }
}

void ScreenManager::record(const Screen& screen) {
    const CodableScreen made = CodableScreen::make(screen);
    storedScreens_.insert_or_assign(made.id, made);
}

void ScreenManager::save() {
    GlobalDefaults::screens().setTypedValue(storedScreens_);
}

}  // namespace zelvana::core
