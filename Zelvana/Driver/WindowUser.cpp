#include "Zelvana/Driver/WindowUser.hpp"

#include <algorithm>

#include "Zelvana/Driver/Controls.hpp"
#include "Zelvana/Driver/DesktopReport.hpp"
#include "Zelvana/Driver/MouseUser.hpp"
#include "platform/appkit/AlertPanel.hpp"
#include "platform/appkit/Sound.hpp"
#include "platform/appkit/View.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::driver {

Refusal WindowUser::printControls(const Print& print) const {
    platform::assertMainThread();
    auto* window = frontmostWindow();
    if (!window) return "no window of Zelvana's is open";
    for (const auto& control : controlsOf(*window)) print(describeControl(control));
    return std::nullopt;
}

Refusal WindowUser::answer(const std::string& title) {
    platform::assertMainThread();
    auto* alert = frontmostAlert();
    if (!alert) return "there is no alert to answer";
    const auto& buttons = alert->buttons();
    const auto button = std::ranges::find_if(
        buttons, [&](const auto& candidate) { return titleReads(candidate->title(), title); });
    if (button == buttons.end()) return "the alert has no button \"" + title + "\"";
    return click(**button);
}

Refusal WindowUser::close() {
    platform::assertMainThread();
    auto* window = frontmostWindow();
    if (!window) return "no window of Zelvana's is open";
    if (dynamic_cast<platform::AlertPanel*>(window)) {
        return "an alert has no close button: answer it";
    }
    if (!window->performClose(nullptr)) return "the window has no close button";
    return std::nullopt;
}

Refusal WindowUser::click(const platform::View& view) {
    platform::Window* window = view.window();
    if (!window || !window->isVisible() || view.isHiddenOrHasHiddenAncestor()) {
        return "the control is not on screen";
    }
    return clickOnScreen(
        window->convertRectToScreen(view.convertRectToView(view.bounds(), nullptr)));
}

Refusal WindowUser::clickOnScreen(platform::Rect rect) {
    const int beeps = platform::Sound::beepCount();
    if (auto refusal = mouse_.clickMiddleOf(rect)) return refusal;
    // The system beeps at a click on a window that an alert or the panel holds back.
    if (platform::Sound::beepCount() > beeps) return "the window takes no clicks now";
    return std::nullopt;
}

}  // namespace zelvana::driver
