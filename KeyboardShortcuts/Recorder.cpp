#include "KeyboardShortcuts/Recorder.hpp"

#include <memory>

#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "platform/system/SystemVersion.hpp"

namespace zelvana::keyboardshortcuts {

using platform::HorizontalAlignment;
using platform::ViewDescription;
using platform::ViewDimensions;

const HorizontalAlignment& controlColumn() {
    static const HorizontalAlignment alignment(
        "controlColumn", [](const ViewDimensions& view) { return view.width / 2; });
    return alignment;
}

Recorder::Recorder(Name name, OnChange onChange, std::optional<ViewDescription> label)
    : name_(std::move(name)), onChange_(std::move(onChange)), label_(std::move(label)) {}

Recorder::Recorder(Name name, OnChange onChange)
    : Recorder(std::move(name), std::move(onChange), std::optional<ViewDescription>()) {}

Recorder::Recorder(std::string title, Name name, OnChange onChange)
    : Recorder(std::move(name), std::move(onChange), ViewDescription::text(std::move(title))) {}

Recorder Recorder::withTitleKey(std::string key, Name name, OnChange onChange) {
    return Recorder(std::move(name), std::move(onChange),
                    ViewDescription::localizedText(std::move(key)));
}

Recorder::Recorder(Name name, OnChange onChange, const std::function<ViewDescription()>& makeLabel)
    : Recorder(std::move(name), std::move(onChange), makeLabel()) {}

ViewDescription Recorder::field() const {
    return ViewDescription::platformView<RecorderCocoa>(
        [name = name_, onChange = onChange_] { return RecorderCocoa::create(name, onChange); },
        [name = name_](RecorderCocoa& field) { field.setShortcutName(name); });
}

ViewDescription Recorder::body() const {
    if (!label_) return field();
    if (platform::SystemVersion::isAtLeast(13)) {
        return ViewDescription::labeledContent(*label_, field());
    }
    // A form row by hand: the field's leading edge is the row's control
    // column, and the row lines up on it.
    const auto leadingEdge = [](const ViewDimensions& view) {
        return view[HorizontalAlignment::leading()];
    };
    const auto controlColumnOfRow = [](const ViewDimensions& row) { return row[controlColumn()]; };
    return ViewDescription::hStack(
               {*label_, field().labelsHidden().alignmentGuide(controlColumn(), leadingEdge)},
               platform::VerticalAlignment::firstTextBaseline)
        .alignmentGuide(HorizontalAlignment::leading(), controlColumnOfRow);
}

namespace {

ViewDescription followKeyEvents(const ViewDescription& view,
                                std::function<KeyEventSequence()> makeSequence,
                                std::function<void(EventType)> action) {
    return view.task([makeSequence = std::move(makeSequence), action = std::move(action)] {
        auto held = std::make_shared<KeyEventSequence>(makeSequence());
        held->onEvent(action);
        return platform::Subscription([held] { held->finish(); });
    });
}

}  // namespace

ViewDescription onShortcutEvent(const ViewDescription& view, const Name& name,
                                std::function<void(EventType)> action) {
    return followKeyEvents(
        view, [name] { return keyEvents(name); }, std::move(action));
}

ViewDescription onShortcutEvent(const ViewDescription& view, const Name& name, EventType type,
                                std::function<void()> action) {
    return followKeyEvents(
        view, [name, type] { return keyEvents(type, name); },
        [action = std::move(action)](EventType) { action(); });
}

}  // namespace zelvana::keyboardshortcuts
