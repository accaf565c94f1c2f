#include "platform/appkit/Alert.hpp"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/appkit/AlertPanel.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::platform {

namespace {

struct Script {
    std::vector<Alert::Record> ran;
    Alert::Responder responder;
    // Sheets waiting for a person's answer; each goes once answered.
    std::vector<std::unique_ptr<AlertPanel>> sheets;
};

Script& script() {
    static Script instance;
    return instance;
}

// Destroyed on the next turn: it may be answering from its own button.
void dropSheet(const AlertPanel* panel) {
    auto& sheets = script().sheets;
    const auto found =
        std::ranges::find_if(sheets, [panel](const auto& sheet) { return sheet.get() == panel; });
    if (found == sheets.end()) return;
    std::shared_ptr<AlertPanel> gone(std::move(*found));
    sheets.erase(found);
    mainQueue().async([gone] {});
}

}  // namespace

std::vector<std::string> Alert::buttonTitles() const {
    if (buttonTitles_.empty()) return {"OK"};
    return buttonTitles_;
}

Alert::ModalResponse Alert::runModal() const {
    assertMainThread();
    const Record shown{messageText_, informativeText_, style_, buttonTitles()};
    script().ran.push_back(shown);
    if (script().responder) return script().responder(shown);
    AlertPanel panel(*this, [](AlertPanel&, ModalResponse response) {
        Application::shared().stopModalWithCode(response);
    });
    panel.center();
    const long response = Application::shared().runModalForWindow(panel);
    panel.orderOut(nullptr);
    return response;
}

void Alert::beginSheetModalForWindow(Window& window, SheetCompletion completion) const {
    assertMainThread();
    const Record shown{messageText_, informativeText_, style_, buttonTitles(), &window};
    script().ran.push_back(shown);
    if (script().responder) {
        mainQueue().async(
            [completion = std::move(completion), response = script().responder(shown)] {
                if (completion) completion(response);
            });
        return;
    }
    auto panel = std::make_unique<AlertPanel>(
        *this, [completion = std::move(completion)](AlertPanel& sheet, ModalResponse response) {
            if (Window* parent = sheet.sheetParent()) parent->endSheet(sheet);
            dropSheet(&sheet);
            if (completion) completion(response);
        });
    AlertPanel* sheet = panel.get();
    script().sheets.push_back(std::move(panel));
    window.beginSheet(*sheet);
}

const std::vector<Alert::Record>& Alert::ranAlerts() {
    platform::assertMainThread();
    return script().ran;
}

Alert::Responder Alert::setResponderForTesting(Responder responder) {
    platform::assertMainThread();
    return std::exchange(script().responder, std::move(responder));
}

void Alert::resetForTesting() {
    platform::assertMainThread();
    script().ran.clear();
    script().responder = nullptr;
    script().sheets.clear();
}

}  // namespace zelvana::platform
