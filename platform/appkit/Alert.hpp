#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zelvana::platform {

// A modal alert: a message, an informative text and buttons, the first of
// which is the default. Headless: running it records what it showed and
// returns the answer the installed responder scripts, else the first
// button's. Main thread only.
class Alert {
public:
    enum class Style { warning = 0, informational = 1, critical = 2 };
    // The button pressed: the first is 1000, the second 1001, and so on.
    using ModalResponse = long;
    static constexpr ModalResponse firstButtonReturn = 1000;
    static constexpr ModalResponse secondButtonReturn = 1001;
    static constexpr ModalResponse thirdButtonReturn = 1002;

    // What one run showed.
    struct Record {
        std::string messageText;
        std::string informativeText;
        Style style = Style::warning;
        std::vector<std::string> buttonTitles;
        bool operator==(const Record&) const = default;
    };
    using Responder = std::function<ModalResponse(const Record&)>;

    const std::string& messageText() const { return messageText_; }
    void setMessageText(std::string text) { messageText_ = std::move(text); }
    const std::string& informativeText() const { return informativeText_; }
    void setInformativeText(std::string text) { informativeText_ = std::move(text); }
    Style alertStyle() const { return style_; }
    void setAlertStyle(Style style) { style_ = style; }
    void addButtonWithTitle(std::string title) { buttonTitles_.push_back(std::move(title)); }
    // Without buttons the alert shows a single "OK".
    std::vector<std::string> buttonTitles() const;

    // Shows the alert and waits for a button.
    ModalResponse runModal() const;

    // The alerts run so far, oldest first.
    static const std::vector<Record>& ranAlerts();
    // Scripts the answers; returns the responder it replaces.
    static Responder setResponderForTesting(Responder responder);
    // No alerts recorded, no responder.
    static void resetForTesting();

private:
    std::string messageText_;
    std::string informativeText_;
    Style style_ = Style::warning;
    std::vector<std::string> buttonTitles_;
};

}  // namespace zelvana::platform
