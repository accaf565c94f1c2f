#include "platform/desktop/Accessibility.hpp"

#include <unistd.h>

#include <array>

#include "platform/appkit/AccessibilityConstants.hpp"
#include "platform/simulator/AccessibilitySimulator.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/system/Permissions.hpp"

namespace zelvana::platform {

namespace {

using Kind = AXUIElement::Kind;
using Answer = std::optional<AccessibilityValue>;

constexpr std::array<TitleBarButton, 3> kChildButtons{
    TitleBarButton::close, TitleBarButton::minimize, TitleBarButton::fullScreen};

const char* subroleOf(TitleBarButton button) {
    switch (button) {
        case TitleBarButton::close:
            return ax::closeButtonSubrole;
        case TitleBarButton::minimize:
            return ax::minimizeButtonSubrole;
        case TitleBarButton::zoom:
            return ax::zoomButtonSubrole;
        case TitleBarButton::fullScreen:
            return ax::fullScreenButtonSubrole;
    }
    return ax::closeButtonSubrole;
}

// The traffic lights: 14 by 16 points, 6 points below the window's top.
Rect buttonFrame(const DesktopWindow& window, TitleBarButton button) {
    const double offset = button == TitleBarButton::close      ? 8
                          : button == TitleBarButton::minimize ? 28
                                                               : 48;
    return Rect::make(window.bounds.minX() + offset, window.bounds.minY() + 6, 14, 16);
}

std::optional<TitleBarButton> buttonNamed(const std::string& attribute) {
    if (attribute == ax::closeButtonAttribute) return TitleBarButton::close;
    if (attribute == ax::minimizeButtonAttribute) return TitleBarButton::minimize;
    if (attribute == ax::zoomButtonAttribute) return TitleBarButton::zoom;
    if (attribute == ax::fullScreenButtonAttribute) return TitleBarButton::fullScreen;
    return std::nullopt;
}

bool isOurs(int pid) {
    return pid == static_cast<int>(::getpid());
}

}  // namespace

// The accessibility objects of the desktop's model, answered as each
// application would answer them.
class AccessibilityTree {
public:
    AccessibilityTree()
        : desktop_(Desktop::shared()), simulator_(AccessibilitySimulator::shared()) {}

    // What any call meets before the application answers.
    AXError reach(const AXUIElement& element) const {
        if (!Permissions::isAccessibilityTrusted()) return AXError::apiDisabled;
        if (element.kind() == Kind::systemWide) return AXError::success;
        if (!simulator_.isResponding(element.pid())) return AXError::cannotComplete;
        return isLive(element) ? AXError::success : AXError::invalidUIElement;
    }

    AXError read(const AXUIElement& element, const std::string& attribute, Answer& value) const {
        if (auto answer = simulator_.answerFor(element, attribute)) {
            if (const auto* error = std::get_if<AXError>(&*answer)) return *error;
            value = std::get<AccessibilityValue>(*answer);
            return AXError::success;
        }
        switch (element.kind()) {
            case Kind::systemWide:
                break;
            case Kind::application:
                value = readApplication(element.pid(), attribute);
                break;
            case Kind::window:
                value = readWindow(*windowOf(element), attribute);
                break;
            case Kind::button:
                value = readButton(element, attribute);
                break;
        }
        return value ? AXError::success : AXError::attributeUnsupported;
    }

    bool isSettable(const AXUIElement& element, const std::string& attribute) const {
        if (auto settable = simulator_.settableOverride(element, attribute)) return *settable;
        if (element.kind() == Kind::window) {
            return attribute == ax::positionAttribute || attribute == ax::sizeAttribute ||
                   attribute == ax::mainAttribute || attribute == ax::minimizedAttribute;
        }
        return element.kind() == Kind::application && attribute == "AXEnhancedUserInterface";
    }

    AXError write(const AXUIElement& element, const std::string& attribute,
                  const AccessibilityValue& value) {
        simulator_.recordWrite({element, attribute, value});
        if (!isSettable(element, attribute)) return AXError::attributeUnsupported;
        if (element.kind() == Kind::application) {
            const bool* on = value.get<bool>();
            if (!on) return AXError::illegalArgument;
            simulator_.setEnhancedUserInterface(element.pid(), *on);
            return AXError::success;
        }
        return writeWindow(*windowOf(element), attribute, value);
    }

    AXError perform(const AXUIElement& element, const std::string& action) {
        if (element.kind() == Kind::window && action == ax::raiseAction) {
            desktop_.orderFrontWindow(element.windowNumber());
            return AXError::success;
        }
        if (element.kind() != Kind::button || action != ax::pressAction) {
            return AXError::actionUnsupported;
        }
        press(*windowOf(element), element.buttonKind());
        return AXError::success;
    }

    std::optional<AXUIElement> hit(const AXUIElement& scope, Point point) const {
        for (WindowNumber number : desktop_.windows_.order()) {
            const DesktopWindow* other = desktop_.windows_.findOther(number);
            if (!other) {
                if (scope.kind() == Kind::systemWide && ownWindowCovers(number, point)) {
                    return std::nullopt;
                }
                continue;
            }
            if (!isOnScreen(*other) || !other->bounds.contains(point)) continue;
            if (scope.kind() == Kind::application && other->ownerPID != scope.pid()) continue;
            return elementAt(*other, point);
        }
        return std::nullopt;
    }

    bool isLive(const AXUIElement& element) const {
        if (element.kind() == Kind::application) {
            return isOurs(element.pid()) || desktop_.application(element.pid()).has_value();
        }
        return windowOf(element) != nullptr;
    }

private:
    const DesktopWindow* windowOf(const AXUIElement& element) const {
        const DesktopWindow* window = desktop_.windows_.findOther(element.windowNumber());
        return window && window->ownerPID == element.pid() ? window : nullptr;
    }

    bool isOnScreen(const DesktopWindow& window) const {
        if (!window.visible) return false;
        return window.allSpaces ? !desktop_.displays().empty()
                                : desktop_.isSpaceShown(window.space);
    }

    bool ownWindowCovers(WindowNumber number, Point point) const {
        const auto* own = desktop_.windows_.findOwn(number);
        if (!own) return false;
        const Window& window = *own->window;
        return window.isVisible() && window.isOnActiveSpace() &&
               desktop_.boundsFromFrame(window.frame()).contains(point);
    }

    AXUIElement elementAt(const DesktopWindow& window, Point point) const {
        // The Dock and the menu bar are no windows to the accessibility tree.
        if (window.layer != 0) return AXUIElement::application(window.ownerPID);
        for (TitleBarButton button : kChildButtons) {
            if (buttonFrame(window, button).contains(point)) {
                return AXUIElement::button(window.ownerPID, window.number, button);
            }
        }
        return AXUIElement::window(window.ownerPID, window.number);
    }

    // The application's windows on shown spaces (minimised ones too), front
    // to back.
    std::vector<WindowNumber> windowsOf(int pid) const {
        std::vector<WindowNumber> windows;
        for (WindowNumber number : desktop_.windows_.order()) {
            const DesktopWindow* window = desktop_.windows_.findOther(number);
            if (!window || window->ownerPID != pid || window->layer != 0) continue;
            if (window->allSpaces || desktop_.isSpaceShown(window->space)) {
                windows.push_back(number);
            }
        }
        return windows;
    }

    std::optional<WindowNumber> mainWindowOf(int pid) const {
        for (WindowNumber number : windowsOf(pid)) {
            if (desktop_.windows_.findOther(number)->visible) return number;
        }
        return std::nullopt;
    }

    Answer readApplication(int pid, const std::string& attribute) const {
        if (attribute == ax::roleAttribute) return ax::applicationRole;
        if (attribute == ax::windowsAttribute) {
            AccessibilityValue::List list;
            if (isOurs(pid)) return list;
            for (WindowNumber number : windowsOf(pid)) {
                list.emplace_back(AXUIElement::window(pid, number));
            }
            return list;
        }
        if (isOurs(pid)) return std::nullopt;
        if (attribute == ax::titleAttribute) return desktop_.application(pid)->name;
        if (attribute == ax::hiddenAttribute) return simulator_.isHidden(pid);
        if (attribute == ax::focusedWindowAttribute || attribute == ax::mainWindowAttribute) {
            const auto main = mainWindowOf(pid);
            return main ? Answer(AXUIElement::window(pid, *main)) : std::nullopt;
        }
        if (attribute == "AXEnhancedUserInterface") {
            const auto enhanced = simulator_.enhancedUserInterface(pid);
            return enhanced ? Answer(*enhanced) : std::nullopt;
        }
        return std::nullopt;
    }

    Answer readWindow(const DesktopWindow& window, const std::string& attribute) const {
        const int pid = window.ownerPID;
        if (attribute == ax::roleAttribute) return ax::windowRole;
        if (attribute == ax::subroleAttribute) return ax::standardWindowSubrole;
        if (attribute == ax::titleAttribute) return window.name;
        if (attribute == ax::positionAttribute) return AXValue(window.bounds.origin);
        if (attribute == ax::sizeAttribute) return AXValue(window.bounds.size);
        if (attribute == ax::mainAttribute) return mainWindowOf(pid) == window.number;
        if (attribute == ax::minimizedAttribute) return !window.visible;
        if (attribute == ax::parentAttribute) return AXUIElement::application(pid);
        if (attribute == ax::childrenAttribute) {
            AccessibilityValue::List children;
            for (TitleBarButton button : kChildButtons) {
                children.emplace_back(AXUIElement::button(pid, window.number, button));
            }
            return children;
        }
        if (auto button = buttonNamed(attribute)) {
            return AXUIElement::button(pid, window.number, *button);
        }
        return std::nullopt;
    }

    Answer readButton(const AXUIElement& element, const std::string& attribute) const {
        const DesktopWindow& window = *windowOf(element);
        const Rect frame = buttonFrame(window, element.buttonKind());
        if (attribute == ax::roleAttribute) return ax::buttonRole;
        if (attribute == ax::subroleAttribute) return subroleOf(element.buttonKind());
        if (attribute == ax::positionAttribute) return AXValue(frame.origin);
        if (attribute == ax::sizeAttribute) return AXValue(frame.size);
        if (attribute == ax::windowAttribute || attribute == ax::parentAttribute) {
            return AXUIElement::window(element.pid(), element.windowNumber());
        }
        return std::nullopt;
    }

    AXError writeWindow(const DesktopWindow& window, const std::string& attribute,
                        const AccessibilityValue& value) {
        const AXValue* boxed = value.get<AXValue>();
        const bool* flag = value.get<bool>();
        Rect bounds = window.bounds;
        if (attribute == ax::positionAttribute && boxed && boxed->point()) {
            bounds.origin = *boxed->point();
        } else if (attribute == ax::sizeAttribute && boxed && boxed->size() &&
                   boxed->size()->width >= 0 && boxed->size()->height >= 0) {
            bounds.size = *boxed->size();
        } else if (attribute == ax::mainAttribute && flag) {
            if (*flag) desktop_.orderFrontWindow(window.number);
            return AXError::success;
        } else if (attribute == ax::minimizedAttribute && flag) {
            desktop_.setWindowVisible(window.number, !*flag);
            return AXError::success;
        } else {
            return AXError::illegalArgument;
        }
        desktop_.setWindowBounds(window.number, bounds);
        return AXError::success;
    }

    void press(const DesktopWindow& window, TitleBarButton button) {
        const WindowNumber number = window.number;
        if (button == TitleBarButton::close) {
            desktop_.removeWindow(number);
        } else if (button == TitleBarButton::minimize) {
            desktop_.setWindowVisible(number, false);
        } else if (const auto display = desktop_.displayOfSpace(window.space)) {
            desktop_.setWindowBounds(number,
                                     desktop_.boundsFromFrame(desktop_.display(*display)->frame));
        }
    }

    Desktop& desktop_;
    AccessibilitySimulator& simulator_;
};

bool Accessibility::isProcessTrusted() {
    return Permissions::isAccessibilityTrusted();
}

AXError Accessibility::copyAttributeValue(const AXUIElement& element, const std::string& attribute,
                                          std::optional<AccessibilityValue>& value) {
    value.reset();
    AccessibilityTree tree;
    const AXError reached = tree.reach(element);
    return reached == AXError::success ? tree.read(element, attribute, value) : reached;
}

AXError Accessibility::isAttributeSettable(const AXUIElement& element, const std::string& attribute,
                                           bool& settable) {
    AccessibilityTree tree;
    const AXError reached = tree.reach(element);
    if (reached != AXError::success) return reached;
    settable = tree.isSettable(element, attribute);
    return AXError::success;
}

AXError Accessibility::setAttributeValue(const AXUIElement& element, const std::string& attribute,
                                         const AccessibilityValue& value) {
    AccessibilityTree tree;
    const AXError reached = tree.reach(element);
    if (reached != AXError::success) return reached;
    if (element.kind() == Kind::systemWide) return AXError::attributeUnsupported;
    return tree.write(element, attribute, value);
}

AXError Accessibility::performAction(const AXUIElement& element, const std::string& action) {
    AccessibilityTree tree;
    const AXError reached = tree.reach(element);
    return reached == AXError::success ? tree.perform(element, action) : reached;
}

AXError Accessibility::getPid(const AXUIElement& element, int& pid) {
    if (!Permissions::isAccessibilityTrusted()) return AXError::apiDisabled;
    if (element.kind() == Kind::systemWide) return AXError::illegalArgument;
    if (!AccessibilityTree().isLive(element)) return AXError::invalidUIElement;
    pid = element.pid();
    return AXError::success;
}

AXError Accessibility::copyElementAtPosition(const AXUIElement& element, float x, float y,
                                             std::optional<AXUIElement>& found) {
    found.reset();
    AccessibilityTree tree;
    const AXError reached = tree.reach(element);
    if (reached != AXError::success) return reached;
    if (element.kind() != Kind::systemWide && element.kind() != Kind::application) {
        return AXError::illegalArgument;
    }
    found = tree.hit(element, Point{x, y});
    return found ? AXError::success : AXError::noValue;
}

}  // namespace zelvana::platform
