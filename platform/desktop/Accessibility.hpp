#pragma once

#include <string>

#include "platform/desktop/AccessibilityValue.hpp"

namespace zelvana::platform {

// The accessibility interface to other applications' windows on the
// simulated desktop (AXUIElement...): read and write attributes, perform
// actions, hit-test a position. Every call first needs the accessibility
// permission (apiDisabled without it); an application that quit or a window
// that closed answers invalidUIElement, an application that does not answer
// cannotComplete. Our own application's windows are not in the tree. Main
// thread only.
//
// Applications: role, title, windows (those on shown spaces, front to back),
// focused and main window, hidden, and "AXEnhancedUserInterface" while the
// application has it. Windows: role, subrole, title, position and size
// (window-server coordinates; both settable), main (settable: true brings
// the window to the front of its application's), minimised (settable),
// children (the title-bar buttons), parent and the four buttons; "AXRaise"
// brings it to the front. Buttons: role, subrole, position, size, window,
// parent; "AXPress" closes, minimises or fills the display.
class Accessibility {
public:
    Accessibility() = delete;

    // AXIsProcessTrusted.
    static bool isProcessTrusted();
    static AXError copyAttributeValue(const AXUIElement& element, const std::string& attribute,
                                      std::optional<AccessibilityValue>& value);
    static AXError isAttributeSettable(const AXUIElement& element, const std::string& attribute,
                                       bool& settable);
    static AXError setAttributeValue(const AXUIElement& element, const std::string& attribute,
                                     const AccessibilityValue& value);
    static AXError performAction(const AXUIElement& element, const std::string& action);
    static AXError getPid(const AXUIElement& element, int& pid);
    // The deepest element at a position in window-server coordinates: a
    // button or a window of the front window there; over a window outside
    // the normal layer (the Dock, the menu bar) its application. Given an
    // application, only its windows count.
    static AXError copyElementAtPosition(const AXUIElement& element, float x, float y,
                                         std::optional<AXUIElement>& found);
};

}  // namespace zelvana::platform
