#pragma once

#include <functional>
#include <optional>
#include <string>

#include "KeyboardShortcuts/EventType.hpp"
#include "KeyboardShortcuts/Name.hpp"
#include "KeyboardShortcuts/RecorderCocoa.hpp"
#include "platform/declarative/Alignment.hpp"
#include "platform/declarative/ViewDescription.hpp"

namespace zelvana::keyboardshortcuts {

// The form's control column: where a form lines up its controls. In a view
// that gives no value for it, the view's horizontal centre.
const platform::HorizontalAlignment& controlColumn();

// The recorder field of a name as a described view, optionally with a label
// laid out as a form row: from system 13 on a labelled row, before it a row
// on the first baseline whose field sits on the form's control column.
// Shown again with another name, the same field shows that name's shortcut.
// Main thread only.
class Recorder {
public:
    using OnChange = RecorderCocoa::OnChange;

    // No label.
    explicit Recorder(Name name, OnChange onChange = {});
    // The title shown as it is.
    Recorder(std::string title, Name name, OnChange onChange = {});
    // The title looked up in the main bundle's default table.
    static Recorder withTitleKey(std::string key, Name name, OnChange onChange = {});
    // The label `makeLabel` builds, once.
    Recorder(Name name, OnChange onChange,
             const std::function<platform::ViewDescription()>& makeLabel);

    const Name& name() const { return name_; }
    bool hasLabel() const { return label_.has_value(); }

    platform::ViewDescription body() const;

private:
    Recorder(Name name, OnChange onChange, std::optional<platform::ViewDescription> label);
    // The field alone, for the name.
    platform::ViewDescription field() const;

    Name name_;
    OnChange onChange_;
    std::optional<platform::ViewDescription> label_;
};

// `view` running `action` on the main queue for every key-down and key-up of
// the name's shortcut, or only for those of `type`, while it is shown.
platform::ViewDescription onShortcutEvent(const platform::ViewDescription& view, const Name& name,
                                          std::function<void(EventType)> action);
platform::ViewDescription onShortcutEvent(const platform::ViewDescription& view, const Name& name,
                                          EventType type, std::function<void()> action);

}  // namespace zelvana::keyboardshortcuts
