#pragma once

#include <any>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/ActionTarget.hpp"
#include "platform/appkit/ControlState.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/core/AssociatedObjects.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::platform {

class Menu;

// One entry of a menu: a title, an action with its target, a key equivalent,
// a check mark and an optional submenu. Other code may attach values to it.
// Main thread only.
class MenuItem : public ActionSender, public AssociatedObjects {
public:
    using ActionHandler = std::function<void(MenuItem&)>;

    MenuItem() = default;
    MenuItem(std::string title, std::string action, std::string keyEquivalent);
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    // A separator line: no title, never enabled for key equivalents.
    static std::shared_ptr<MenuItem> separatorItem();
    bool isSeparatorItem() const { return separator_; }

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    // The action's selector name, such as "terminate:".
    const std::string& action() const { return action_; }
    void setAction(std::string action) { action_ = std::move(action); }
    // Called when the item is chosen or its key equivalent is pressed, in
    // place of sending the action.
    void setActionHandler(ActionHandler handler) { handler_ = std::move(handler); }
    // Where the action goes. Without a target it goes to the first responder,
    // which for an application without windows of its own is the
    // application's delegate.
    const std::optional<WeakRef<ActionTarget>>& target() const { return target_; }
    void setTarget(std::optional<WeakRef<ActionTarget>> target) { target_ = std::move(target); }
    // The name that tells the system which item this is, such as
    // "NSAlternateQuitMenuItem"; empty for none.
    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    // Any value the owner keeps with the item.
    const std::any& representedObject() const { return representedObject_; }
    void setRepresentedObject(std::any object) { representedObject_ = std::move(object); }
    // The check mark.
    ControlState state() const { return state_; }
    void setState(ControlState state) { state_ = state; }
    // An alternate shows instead of the item above it while its own modifier
    // mask is held.
    bool isAlternate() const { return alternate_; }
    void setAlternate(bool alternate) { alternate_ = alternate; }

    // One character, or empty for none. An upper-case letter implies Shift.
    const std::string& keyEquivalent() const { return keyEquivalent_; }
    void setKeyEquivalent(std::string key) { keyEquivalent_ = std::move(key); }
    // Command unless set otherwise.
    ModifierFlags keyEquivalentModifierMask() const { return keyEquivalentModifierMask_; }
    void setKeyEquivalentModifierMask(ModifierFlags mask) { keyEquivalentModifierMask_ = mask; }
    bool allowsAutomaticKeyEquivalentLocalization() const { return automaticLocalization_; }
    void setAllowsAutomaticKeyEquivalentLocalization(bool allows) {
        automaticLocalization_ = allows;
    }

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    const std::shared_ptr<Menu>& submenu() const { return submenu_; }
    void setSubmenu(std::shared_ptr<Menu> submenu);
    // The menu holding the item, if any. Not owned.
    Menu* menu() const { return menu_; }

    // True for a key down when the item is enabled (hidden items still
    // answer) and its key equivalent with its mask is the event's key with
    // its modifiers (command, shift, option, control, function).
    bool matchesKeyEquivalent(const Event& event) const;
    // Counts the performance and runs the action handler, or sends the action
    // to the target. Returns whether someone handled it: a target that is
    // gone, or one that does not know the action, is written to the system
    // log and nothing happens.
    bool perform();
    int performCount() const { return performCount_; }

private:
    friend class Menu;

    std::string title_;
    std::string action_;
    std::string keyEquivalent_;
    std::string identifier_;
    ModifierFlags keyEquivalentModifierMask_ = Event::command;
    bool automaticLocalization_ = true;
    bool enabled_ = true;
    bool hidden_ = false;
    bool separator_ = false;
    int tag_ = 0;
    int performCount_ = 0;
    ActionHandler handler_;
    std::optional<WeakRef<ActionTarget>> target_;
    std::any representedObject_;
    ControlState state_ = ControlState::off;
    bool alternate_ = false;
    std::shared_ptr<Menu> submenu_;
    Menu* menu_ = nullptr;
};

}  // namespace zelvana::platform
