#include "platform/simulator/SavedWindow.hpp"

#include <set>

#include "platform/foundation/JSONCursor.hpp"
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

// Takes the window's strings and state out of `value` rather than copying them.
std::optional<SavedWindow> savedWindowFrom(PropertyValue&& value) {
    auto* identifier = value.find("identifier");
    auto* className = value.find("restorationClass");
    const auto* space = value.find("space");
    const auto* visible = value.find("visible");
    auto* state = value.find("state");
    if (!identifier || !identifier->isString() || !className || !className->isString() || !space ||
        !space->integerValue() || !visible || !visible->isBool() || !state ||
        !state->isDictionary()) {
        return std::nullopt;
    }
    return SavedWindow{std::move(*identifier->stringValue()), std::move(*className->stringValue()),
                       Coder(std::move(*state->dictionaryValue())),
                       static_cast<SpaceID>(*space->integerValue()), *visible->boolValue()};
}

// The list read straight from the text: none where it is not in the plain
// form the cursor reads, for the parser to decide.
std::optional<PropertyValue> readDirectly(std::string_view text) {
    if (text.size() > JSONText::maxSize) return std::nullopt;
    JSONCursor in(text);
    auto value = readPropertyValue(in);
    if (!value || !in.atEnd()) return std::nullopt;
    return value;
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
    // A thousand anchors are restored at every launch: read directly when the
    // text allows it.
    auto parsed = readDirectly(text);
    if (!parsed) parsed = JSONSerialization::parse(text);
    PropertyArray* values = parsed ? parsed->arrayValue() : nullptr;
    if (!values) return std::nullopt;
    std::vector<SavedWindow> read;
    for (auto& value : *values) {
        auto window = savedWindowFrom(std::move(value));
        if (!window) return std::nullopt;
        read.push_back(std::move(*window));
    }
    // One window per identifier: a second would be restored beside the first.
    std::vector<SavedWindow> windows;
    std::set<std::string> identifiers;
    for (auto& window : read) {
        if (identifiers.insert(window.identifier).second) windows.push_back(std::move(window));
    }
    return windows;
}

}  // namespace zelvana::platform
