#include "platform/appkit/Alert.hpp"
#include "platform/core/MainThread.hpp"

#include <utility>

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

Alert::ModalResponse Alert::runModal() const {
    Record shown{messageText_, informativeText_, style_, buttonTitles()};
    script().ran.push_back(shown);
    if (!script().responder) return firstButtonReturn;
    return script().responder(shown);
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
}

}  // namespace zelvana::platform
