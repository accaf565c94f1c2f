#include "platform/input/SymbolicHotKeys.hpp"

#include <algorithm>

namespace zelvana::platform {

namespace {

constexpr std::uint32_t kShortcutModifiers = cmdKey | shiftKey | optionKey | controlKey;

// The key code and modifiers of a well-formed, enabled entry.
std::optional<SymbolicHotKeys::Press> enabledEntry(const PropertyValue& entry) {
    const PropertyValue* enabled = entry.find(kHISymbolicHotKeyEnabled);
    const PropertyValue* code = entry.find(kHISymbolicHotKeyCode);
    const PropertyValue* modifiers = entry.find(kHISymbolicHotKeyModifiers);
    if (!enabled || !code || !modifiers) return std::nullopt;
    if (!enabled->boolValue() || !*enabled->boolValue()) return std::nullopt;
    if (!code->integerValue() || !modifiers->integerValue()) return std::nullopt;
    return SymbolicHotKeys::Press{static_cast<std::uint32_t>(*code->integerValue()),
                                  static_cast<std::uint32_t>(*modifiers->integerValue())};
}

}  // namespace

SymbolicHotKeysCopy copySymbolicHotKeys() {
    return SymbolicHotKeys::shared().copy();
}

SymbolicHotKeys& SymbolicHotKeys::shared() {
    static SymbolicHotKeys instance;
    return instance;
}

void SymbolicHotKeys::add(std::uint32_t keyCode, std::uint32_t carbonModifiers, State state,
                          Handler handler) {
    if (handler == Handler::application) {
        applicationHandled_.push_back({keyCode, carbonModifiers & kShortcutModifiers});
    }
    PropertyDictionary entry;
    entry.emplace(kHISymbolicHotKeyCode, std::int64_t{keyCode});
    entry.emplace(kHISymbolicHotKeyModifiers, std::int64_t{carbonModifiers});
    entry.emplace(kHISymbolicHotKeyEnabled, state == State::enabled);
    entries_.emplace_back(std::move(entry));
}

void SymbolicHotKeys::restoreFreshSystem() {
    constexpr std::uint32_t kSpace = 49, kUp = 126, kDown = 125, k3 = 20, k4 = 21, k5 = 23;
    constexpr std::uint32_t kF2 = 120, kGrave = 50;
    constexpr std::uint32_t kScreenshot = cmdKey | shiftKey;
    entries_.clear();
    applicationHandled_.clear();
    add(kSpace, cmdKey);
    add(kSpace, cmdKey | optionKey);
    add(kUp, controlKey);
    add(kDown, controlKey);
    add(k3, kScreenshot);
    add(k3, kScreenshot | controlKey);
    add(k4, kScreenshot);
    add(k4, kScreenshot | controlKey);
    add(k5, kScreenshot);
    add(kF2, controlKey, State::enabled, Handler::application);
    add(kGrave, cmdKey, State::enabled, Handler::application);
}

SymbolicHotKeysCopy SymbolicHotKeys::copy() const {
    if (readFailure_) return {*readFailure_, std::nullopt};
    if (listMissing_) return {noErr, std::nullopt};
    return {noErr, entries_};
}

bool SymbolicHotKeys::takes(std::uint32_t keyCode, std::uint32_t carbonModifiers) const {
    for (const auto& entry : entries_) {
        const auto press = enabledEntry(entry);
        if (press && press->keyCode == keyCode &&
            (press->modifiers & kShortcutModifiers) == (carbonModifiers & kShortcutModifiers)) {
            const Press pressed{keyCode, carbonModifiers & kShortcutModifiers};
            return std::ranges::find(applicationHandled_, pressed) == applicationHandled_.end();
        }
    }
    return false;
}

void SymbolicHotKeys::recordPress(std::uint32_t keyCode, std::uint32_t carbonModifiers) {
    presses_.push_back({keyCode, carbonModifiers});
}

void SymbolicHotKeys::resetForTesting() {
    entries_.clear();
    applicationHandled_.clear();
    readFailure_.reset();
    listMissing_ = false;
    presses_.clear();
}

}  // namespace zelvana::platform
