#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/Alert.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/Panel.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::platform {

// The window an alert shows in: its icon, the message, the informative text
// and one button per title. The first button is the default one, which
// Return presses; a button titled "Cancel" is pressed by Escape. Pressing a
// button hands its response (1000 for the first) to the answer. It has no
// close button: only a button answers it. Main thread only.
class AlertPanel : public Panel {
public:
    using Answer = std::function<void(AlertPanel&, Alert::ModalResponse)>;

    AlertPanel(const Alert& alert, Answer answer);

    const std::string& messageText() const { return messageText_; }
    const std::string& informativeText() const { return informativeText_; }
    // In the alert's order.
    const std::vector<std::shared_ptr<Button>>& buttons() const { return buttons_; }

private:
    void answerWith(Alert::ModalResponse response);
    // Lays the content out from the top and returns the height it takes.
    double layOutContent(View& content, const Alert& alert);

    std::string messageText_;
    std::string informativeText_;
    std::vector<std::shared_ptr<Button>> buttons_;
    Answer answer_;
    WeakFactory<AlertPanel> weak_{this};
};

}  // namespace zelvana::platform
