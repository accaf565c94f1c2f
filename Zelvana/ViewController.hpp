#pragma once

#include <memory>
#include <optional>
#include <string>

#include "KeyboardShortcuts/ModifierFlags.hpp"
#include "KeyboardShortcuts/RecorderCocoa.hpp"
#include "KeyboardShortcuts/RecorderModifierCocoa.hpp"
#include "Zelvana/LaunchOnLoginChoice.hpp"
#include "Zelvana/MessageCheckboxPopover.hpp"
#include "Zelvana/MessagePopover.hpp"
#include "Zelvana/PreferencesDelegate.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/PopUpButton.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/appkit/StoryboardActions.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/core/Weak.hpp"
#include "platform/system/Updater.hpp"

namespace zelvana::core {

// What the settings window's maker hands it. Without an updater, checking for
// updates is refused and its checkbox only shows the stored choice.
struct SettingsServices {
    LoginRegistration loginRegistration = LoginRegistration::settingOnly;
    // Not owned; outlives the window.
    platform::StandardUpdaterController* updater = nullptr;
    // The hub, which lives for the process; not owned.
    PreferencesDelegate* prefsDelegate = nullptr;
};

// The settings window's content: loads every control from its setting, writes
// the setting back when the user changes the control and tells the hub (or
// the status item, or the login item) where the running system must follow
// at once. Made from the storyboard "Main". Main thread only.
class ViewController : public platform::ViewController {
public:
    static constexpr const char* className = "ViewController";

    using Services = SettingsServices;

    // Makes the class known to storyboards, each one made with `services`;
    // safe to call again.
    static void registerStoryboardClass(Services services = {});
    explicit ViewController(Services services = {});

    // Told only when set.
    PreferencesDelegate* prefsDelegate = nullptr;

    bool setOutlet(const std::string& name,
                   const std::shared_ptr<platform::StoryboardObject>& object) override;
    // The storyboard's action names, each to its own action below.
    void connectActions(platform::StoryboardActions& actions) override;

    // Actions.
    void toggleRepetitionsCycle(const platform::Button& sender);
    void selectGesture(const platform::PopUpButton& sender);
    void selectWidth(const platform::PopUpButton& sender);
    void toggleMenuBarNumber(const platform::Button& sender);
    void toggleLaunchOnLogin(const platform::Button& sender);
    void toggleHideMenuBarIcon(const platform::Button& sender);
    void checkForUpdates(const platform::ActionSender* sender);
    void showShortcutInfo(platform::View& sender);
    void showRepeatInfo(platform::View& sender);
    void showArrowInfo(platform::View& sender);
    void showGestureInfo(platform::View& sender);

    // The recorders made when the view loaded; null before.
    keyboardshortcuts::RecorderCocoa* shortcutRecorder() const { return shortcutRecorder_.get(); }
    keyboardshortcuts::RecorderModifierCocoa* arrowFlagsRecorder() const {
        return arrowFlagsRecorder_.get();
    }
    // Made on first use.
    MessagePopover* messagePopover() const { return messagePopover_.get(); }
    MessageCheckboxPopover* trackpadInfoPopover() const { return trackpadInfoPopover_.get(); }

protected:
    void viewDidLoad() override;

private:
    void addRecorders();
    using ShowInfo = void (ViewController::*)(platform::View& sender);
    void addInfoButton(platform::StackView& stack, const char* action, ShowInfo show);
    void showControlsState();
    void bindUpdatesCheckbox();
    void showMessage(const std::string& text, platform::View& sender);

    std::weak_ptr<platform::StackView> shortcutStackView_;
    std::weak_ptr<platform::StackView> arrowFlagsStackView_;
    std::weak_ptr<platform::Button> repeatedExecutionCheckbox_;
    std::weak_ptr<platform::PopUpButton> trackpadGestureSelector_;
    std::weak_ptr<platform::PopUpButton> widthSelector_;
    std::weak_ptr<platform::Button> menuBarNumberCheckbox_;
    std::weak_ptr<platform::Button> launchOnLoginCheckbox_;
    std::weak_ptr<platform::Button> versionButton_;
    std::weak_ptr<platform::Button> updatesCheckbox_;
    std::weak_ptr<platform::Button> hideMenuBarIconCheckbox_;
    std::weak_ptr<platform::View> layoutOnly_;

    std::shared_ptr<keyboardshortcuts::RecorderCocoa> shortcutRecorder_;
    std::shared_ptr<keyboardshortcuts::RecorderModifierCocoa> arrowFlagsRecorder_;
    std::unique_ptr<MessagePopover> messagePopover_;
    std::shared_ptr<MessageCheckboxPopover> trackpadInfoPopover_;
    platform::Subscription updatesObserver_;
    LoginRegistration loginRegistration_;
    platform::StandardUpdaterController* updater_;
    platform::WeakFactory<ViewController> weak_{this};
};

}  // namespace zelvana::core
