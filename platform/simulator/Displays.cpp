#include "platform/simulator/Displays.hpp"
#include "platform/core/MainThread.hpp"

#include <algorithm>

namespace zelvana::platform {

namespace {

double overlapArea(Rect a, Rect b) {
    const double width = std::min(a.maxX(), b.maxX()) - std::max(a.minX(), b.minX());
    const double height = std::min(a.maxY(), b.maxY()) - std::max(a.minY(), b.minY());
    return width > 0 && height > 0 ? width * height : 0;
}

bool holds(const std::vector<SpaceID>& spaces, SpaceID space) {
    return std::find(spaces.begin(), spaces.end(), space) != spaces.end();
}

}  // namespace

Display* Displays::findMutable(DisplayID number) {
    platform::assertMainThread();
    auto found = std::find_if(displays_.begin(), displays_.end(), [number](const Display& display) {
        return display.number == number;
    });
    return found == displays_.end() ? nullptr : &*found;
}

const Display* Displays::find(DisplayID number) const {
    return const_cast<Displays*>(this)->findMutable(number);
}

bool Displays::canAdd(const Display& display) const {
    if (find(display.number)) return false;
    return std::none_of(display.spaces.begin(), display.spaces.end(),
                        [this](SpaceID space) { return space == 0 || displayOfSpace(space); });
}

const Display* Displays::overlapping(Rect frame) const {
    auto found = std::find_if(displays_.begin(), displays_.end(), [frame](const Display& display) {
        return overlapArea(frame, display.frame) > 0;
    });
    return found == displays_.end() ? nullptr : &*found;
}

bool Displays::add(Display display) {
    platform::assertMainThread();
    if (!canAdd(display) || overlapping(display.frame)) return false;
    for (SpaceID space : display.spaces) lastSpaceID_ = std::max(lastSpaceID_, space);
    if (display.spaces.empty()) display.spaces.push_back(newSpaceID());
    if (!holds(display.spaces, display.shownSpace)) display.shownSpace = display.spaces.front();
    if (display.visibleFrame == Rect{}) {
        display.visibleFrame = Display::make(0, display.frame, "").visibleFrame;
    }
    for (SpaceID space : display.spaces) displayOfSpace_.emplace(space, display.number);
    displays_.push_back(std::move(display));
    return true;
}

std::optional<Display> Displays::remove(DisplayID number) {
    platform::assertMainThread();
    const Display* found = find(number);
    if (!found) return std::nullopt;
    Display removed = *found;
    std::erase_if(displays_, [number](const Display& display) { return display.number == number; });
    if (focused_ == number) focused_.reset();
    for (SpaceID space : removed.spaces) displayOfSpace_.erase(space);
    if (!displays_.empty()) {
        auto& heir = displays_.front();
        heir.spaces.insert(heir.spaces.end(), removed.spaces.begin(), removed.spaces.end());
        for (SpaceID space : removed.spaces) displayOfSpace_.emplace(space, heir.number);
    }
    return removed;
}

void Displays::clear() {
    platform::assertMainThread();
    displays_.clear();
    displayOfSpace_.clear();
    focused_.reset();
    lastSpaceID_ = 0;
}

std::optional<SpaceID> Displays::addSpace(DisplayID number) {
    platform::assertMainThread();
    Display* display = findMutable(number);
    if (!display) return std::nullopt;
    const SpaceID space = newSpaceID();
    display->spaces.push_back(space);
    displayOfSpace_.emplace(space, number);
    return space;
}

bool Displays::removeSpace(SpaceID space) {
    platform::assertMainThread();
    const auto number = displayOfSpace(space);
    if (!number) return false;
    Display& display = *findMutable(*number);
    if (display.spaces.size() < 2) return false;
    auto position =
        display.spaces.erase(std::find(display.spaces.begin(), display.spaces.end(), space));
    // A list may name a space twice; it stays on the display while it does.
    if (!holds(display.spaces, space)) displayOfSpace_.erase(space);
    if (display.shownSpace == space) {
        display.shownSpace = position == display.spaces.end() ? display.spaces.back() : *position;
    }
    return true;
}

std::optional<DisplayID> Displays::displayOfSpace(SpaceID space) const {
    const auto found = displayOfSpace_.find(space);
    return found == displayOfSpace_.end() ? std::nullopt : std::optional(found->second);
}

std::optional<SpaceID> Displays::shownSpace(DisplayID number) const {
    const Display* display = find(number);
    return display ? std::optional(display->shownSpace) : std::nullopt;
}

bool Displays::isSpaceShown(SpaceID space) const {
    return std::any_of(displays_.begin(), displays_.end(),
                       [space](const Display& display) { return display.shownSpace == space; });
}

void Displays::show(DisplayID number, SpaceID space) {
    platform::assertMainThread();
    Display* display = findMutable(number);
    if (!display || displayOfSpace(space) != number) return;
    display->shownSpace = space;
    focused_ = number;
}

std::optional<DisplayID> Displays::focused() const {
    return focused_ && find(*focused_) ? focused_ : std::nullopt;
}

bool Displays::focus(DisplayID number) {
    platform::assertMainThread();
    if (!find(number)) return false;
    focused_ = number;
    return true;
}

const Display* Displays::displayAt(Rect frame) const {
    const Display* best = nullptr;
    double bestArea = 0;
    for (const auto& display : displays_) {
        const double area = overlapArea(frame, display.frame);
        if (area > bestArea) {
            best = &display;
            bestArea = area;
        }
    }
    return best;
}

Rect Displays::flipped(Rect rect) const {
    const double top = displays_.empty() ? 0 : displays_.front().frame.maxY();
    return Rect::make(rect.minX(), top - rect.maxY(), rect.width(), rect.height());
}

}  // namespace zelvana::platform
