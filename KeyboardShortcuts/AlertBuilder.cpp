#include "KeyboardShortcuts/AlertBuilder.hpp"

#include "platform/appkit/Application.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::keyboardshortcuts {

platform::Alert makeAlert(const std::string& messageText,
                          const std::optional<std::string>& informativeText,
                          platform::Alert::Style style, std::optional<platform::Image> icon,
                          const std::vector<std::string>& buttonTitles) {
    platform::Alert alert;
    alert.setMessageText(messageText);
    alert.setAlertStyle(style);
    alert.setIcon(std::move(icon));
    for (const auto& title : buttonTitles) alert.addButtonWithTitle(title);
    if (informativeText) alert.setInformativeText(*informativeText);
    return alert;
}

platform::Alert::ModalResponse runModalAttached(const platform::Alert& alert,
                                                platform::Window* window) {
    platform::assertMainThread();
    if (!window) return alert.runModal();
    alert.beginSheetModalForWindow(*window, [](platform::Alert::ModalResponse response) {
        platform::Application::shared().stopModalWithCode(response);
    });
    const auto response = platform::Application::shared().runModalForWindow(*window);
    // A sheet nobody answered (the application quit meanwhile) goes with the run.
    if (platform::Window* sheet = window->attachedSheet()) window->endSheet(*sheet);
    return response;
}

}  // namespace zelvana::keyboardshortcuts
