#pragma once

#include <functional>
#include <map>
#include <string>
#include <type_traits>

#include "platform/appkit/Button.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::platform {

// What a scene's controller does for each action name its storyboard gives a
// control. The controller fills it once, when the storyboard makes the scene;
// each control of the scene whose action is named here then calls its
// callback with itself, and no name is looked up again. Main thread only.
class StoryboardActions {
public:
    // `callback` answers `name` when a Control (a Button or one of its kinds)
    // sends it.
    template <class Control>
    void add(std::string name, std::function<void(Control&)> callback) {
        bindings_.insert_or_assign(
            std::move(name), [callback = std::move(callback)](Button& control) -> Button::Callback {
                // Only a narrower kind of control can be the wrong one.
                if constexpr (!std::is_base_of_v<Control, Button>) {
                    if (!dynamic_cast<Control*>(&control)) return {};
                }
                return [callback](Button& sender) { callback(static_cast<Control&>(sender)); };
            });
    }
    // The owner's `method` answers `name`, while the owner exists.
    template <class Owner, class Control>
    void add(std::string name, WeakRef<Owner> owner, void (Owner::*method)(Control&)) {
        using Plain = std::remove_const_t<Control>;
        add<Plain>(std::move(name), std::function<void(Plain&)>([owner, method](Plain& control) {
                       if (Owner* self = owner.get()) (self->*method)(control);
                   }));
    }

    enum class Binding { bound, unknownName, otherControl };
    // Gives `control` the callback its action names; a name that is not here
    // leaves it sending the action by name.
    Binding bind(Button& control) const {
        const auto found = bindings_.find(control.action());
        if (found == bindings_.end()) return Binding::unknownName;
        Button::Callback callback = found->second(control);
        if (!callback) return Binding::otherControl;
        control.setCallback(std::move(callback));
        return Binding::bound;
    }

private:
    std::map<std::string, std::function<Button::Callback(Button&)>> bindings_;
};

}  // namespace zelvana::platform
