#include "platform/simulator/AccessibilitySimulator.hpp"
#include "platform/core/MainThread.hpp"

#include <algorithm>

namespace zelvana::platform {

AccessibilitySimulator& AccessibilitySimulator::shared() {
    platform::assertMainThread();
    static auto* simulator = new AccessibilitySimulator();
    return *simulator;
}

std::size_t AccessibilitySimulator::indexOf(const AXUIElement& element) {
    if (auto index = findIndex(element)) return *index;
    elements_.push_back(element);
    return elements_.size() - 1;
}

std::optional<std::size_t> AccessibilitySimulator::findIndex(const AXUIElement& element) const {
    const auto found = std::find(elements_.begin(), elements_.end(), element);
    if (found == elements_.end()) return std::nullopt;
    return static_cast<std::size_t>(found - elements_.begin());
}

void AccessibilitySimulator::setAttribute(const AXUIElement& element, const std::string& attribute,
                                          Answer answer) {
    answers_.insert_or_assign(Key{indexOf(element), attribute}, std::move(answer));
}

std::optional<AccessibilitySimulator::Answer> AccessibilitySimulator::answerFor(
    const AXUIElement& element, const std::string& attribute) const {
    const auto index = findIndex(element);
    if (!index) return std::nullopt;
    const auto found = answers_.find(Key{*index, attribute});
    if (found == answers_.end()) return std::nullopt;
    return found->second;
}

void AccessibilitySimulator::setSettable(const AXUIElement& element, const std::string& attribute,
                                         bool settable) {
    settable_.insert_or_assign(Key{indexOf(element), attribute}, settable);
}

std::optional<bool> AccessibilitySimulator::settableOverride(const AXUIElement& element,
                                                             const std::string& attribute) const {
    const auto index = findIndex(element);
    if (!index) return std::nullopt;
    const auto found = settable_.find(Key{*index, attribute});
    if (found == settable_.end()) return std::nullopt;
    return found->second;
}

void AccessibilitySimulator::setEnhancedUserInterface(int pid, std::optional<bool> value) {
    enhanced_[pid] = value;
}

std::optional<bool> AccessibilitySimulator::enhancedUserInterface(int pid) const {
    const auto found = enhanced_.find(pid);
    return found == enhanced_.end() ? std::nullopt : found->second;
}

void AccessibilitySimulator::setHidden(int pid, bool hidden) {
    if (hidden) {
        hidden_.insert(pid);
    } else {
        hidden_.erase(pid);
    }
}

bool AccessibilitySimulator::isHidden(int pid) const {
    return hidden_.count(pid) > 0;
}

void AccessibilitySimulator::setResponding(int pid, bool responding) {
    if (responding) {
        unresponsive_.erase(pid);
    } else {
        unresponsive_.insert(pid);
    }
}

bool AccessibilitySimulator::isResponding(int pid) const {
    return unresponsive_.count(pid) == 0;
}

void AccessibilitySimulator::resetForTesting() {
    *this = AccessibilitySimulator();
}

}  // namespace zelvana::platform
