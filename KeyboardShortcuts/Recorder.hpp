#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "KeyboardShortcuts/EventType.hpp"
#include "KeyboardShortcuts/Name.hpp"
#include "KeyboardShortcuts/RecorderCocoa.hpp"
#include "platform/appkit/View.hpp"
#include "platform/core/Subscription.hpp"

namespace zelvana::keyboardshortcuts {

// The recorder as a declarative view would offer it, without a declarative
// toolkit: a value that describes the field for a name and its optional
// label, builds the views on request and keeps a built field following its
// name. Main thread only.
class Recorder {
public:
    using OnChange = RecorderCocoa::OnChange;

    // No label.
    explicit Recorder(Name name, OnChange onChange = {});
    // The title shown as it is.
    Recorder(std::string title, Name name, OnChange onChange = {});
    // The title looked up in the main bundle's default table.
    static Recorder withTitleKey(const std::string& key, Name name, OnChange onChange = {});

    const Name& name() const { return name_; }
    void setName(Name name) { name_ = std::move(name); }
    bool hasLabel() const { return label_.has_value(); }
    const std::optional<std::string>& label() const { return label_; }

    // The field alone, or a row with the label before the field.
    std::shared_ptr<platform::View> makeBody() const;
    // The recorder field of a built body.
    static RecorderCocoa* field(platform::View& body);
    // Makes a built body show the current name.
    void update(platform::View& body) const;

private:
    Name name_;
    OnChange onChange_;
    std::optional<std::string> label_;
};

// Runs `action` on the main queue for every key-down and key-up of the
// name's shortcut, or only for those of `type`, while the token lives.
[[nodiscard]] platform::Subscription onShortcutEvent(const Name& name,
                                                     std::function<void(EventType)> action);
[[nodiscard]] platform::Subscription onShortcutEvent(const Name& name, EventType type,
                                                     std::function<void()> action);

}  // namespace zelvana::keyboardshortcuts
