#include "platform/appkit/Alert.hpp"

#include <utility>

#include "platform/dispatch/Queue.hpp"

namespace zelvana::platform {

namespace {

struct Script {
    std::vector<Alert::Record> ran;
    Alert::Responder responder;
};

Script& script() {
    static Script instance;
    return instance;
}

}  // namespace

std::vector<std::string> Alert::buttonTitles() const {
    if (buttonTitles_.empty()) return {"OK"};
    return buttonTitles_;
}

namespace {

Alert::ModalResponse answer(const Alert::Record& shown) {
    script().ran.push_back(shown);
    if (!script().responder) return Alert::firstButtonReturn;
    return script().responder(shown);
}

}  // namespace

Alert::ModalResponse Alert::runModal() const {
    return answer(Record{messageText_, informativeText_, style_, buttonTitles()});
}

void Alert::beginSheetModalForWindow(const Window& window, SheetCompletion completion) const {
    const ModalResponse response =
        answer(Record{messageText_, informativeText_, style_, buttonTitles(), &window});
    mainQueue().async([completion = std::move(completion), response] {
        if (completion) completion(response);
    });
}

const std::vector<Alert::Record>& Alert::ranAlerts() {
    return script().ran;
}

Alert::Responder Alert::setResponderForTesting(Responder responder) {
    return std::exchange(script().responder, std::move(responder));
}

void Alert::resetForTesting() {
    script().ran.clear();
    script().responder = nullptr;
}

}  // namespace zelvana::platform
