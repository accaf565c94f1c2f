#include "platform/simulator/SavedWindow.hpp"

#include <set>

#include "platform/foundation/JSONText.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"

namespace zelvana::platform {

namespace {

PropertyValue savedValue(const SavedWindow& window) {
    return PropertyDictionary{
        {"identifier", window.identifier},
        {"restorationClass", window.restorationClass},
        {"space", static_cast<std::int64_t>(window.space)},
        {"visible", window.visible},
        {"state", window.state.values()},
    };
}

std::optional<SavedWindow> savedWindowFrom(const PropertyValue& value) {
    const auto* identifier = value.find("identifier");
    const auto* className = value.find("restorationClass");
    const auto* space = value.find("space");
    const auto* visible = value.find("visible");
    const auto* state = value.find("state");
    if (!identifier || !identifier->isString() || !className || !className->isString() || !space ||
        !space->integerValue() || !visible || !visible->isBool() || !state ||
        !state->isDictionary()) {
        return std::nullopt;
    }
    return SavedWindow{*identifier->stringValue(), *className->stringValue(),
                       Coder(*state->dictionaryValue()),
                       static_cast<SpaceID>(*space->integerValue()), *visible->boolValue()};
}

}  // namespace

std::string SavedWindow::toJsonText(const std::vector<SavedWindow>& windows) {
    JSONText::Writer out;
    out.beginArray();
    for (const auto& window : windows) {
        // A frame that is not finite has no JSON form; it would lose every window.
        const auto text = JSONSerialization::serialize(
            savedValue(window), JSONSerialization::WritingOptions::sortedKeys);
        if (text) out.raw(*text);
    }
    out.endArray();
    return out.take();
}

std::optional<std::vector<SavedWindow>> SavedWindow::fromJsonText(const std::string& text) {
    auto parsed = JSONSerialization::parse(text);
    const PropertyArray* values = parsed ? parsed->arrayValue() : nullptr;
    if (!values) return std::nullopt;
    std::vector<SavedWindow> windows;
    std::set<std::string> identifiers;
    for (const auto& value : *values) {
        auto window = savedWindowFrom(value);
        if (!window) return std::nullopt;
        // One window per identifier: a second would be restored beside the first.
        if (identifiers.insert(window->identifier).second) windows.push_back(std::move(*window));
    }
    return windows;
}

}  // namespace zelvana::platform
