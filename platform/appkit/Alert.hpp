#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Image.hpp"

namespace zelvana::platform {

class Window;

// A modal alert: a message, an informative text and buttons, the first of
// which is the default. It shows in a window of its own (AlertPanel) until a
// person presses one of its buttons. Every run is recorded; a responder that
// tests install answers at once instead of a person (a sheet hears that
// answer from the main queue). Main thread only.
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
        // The window the alert was attached to as a sheet, if any.
        const Window* sheetParent = nullptr;
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

    // Absent: the application's icon.
    const std::optional<Image>& icon() const { return icon_; }
    void setIcon(std::optional<Image> icon) { icon_ = std::move(icon); }

    // Shows the alert in front of every window and waits, running the
    // application modally, for a button; the alert then goes.
    ModalResponse runModal() const;
    // Shows the alert as a sheet on the window and returns at once; the
    // completion hears the pressed button when the sheet has gone.
    using SheetCompletion = std::function<void(ModalResponse)>;
    void beginSheetModalForWindow(Window& window, SheetCompletion completion) const;

    // The alerts run so far, oldest first.
    static const std::vector<Record>& ranAlerts();
    // Scripts the answers; returns the responder it replaces.
    static Responder setResponderForTesting(Responder responder);
    // No alerts recorded, no responder, no sheet left waiting.
    static void resetForTesting();

private:
    std::string messageText_;
    std::string informativeText_;
    Style style_ = Style::warning;
    std::vector<std::string> buttonTitles_;
    std::optional<Image> icon_;
};

}  // namespace zelvana::platform
