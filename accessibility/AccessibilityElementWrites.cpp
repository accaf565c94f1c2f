// The writes and actions of AccessibilityElement that change another
// application's window.
#include "accessibility/AccessibilityElement.hpp"
#include "platform/appkit/AccessibilityConstants.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/desktop/Accessibility.hpp"

namespace zelvana::accessibility {

namespace ax = platform::ax;
using platform::Accessibility;
using platform::AXValue;
using platform::Point;
using platform::Rect;
using platform::Size;

namespace {

constexpr const char* kEnhancedUserInterfaceAttribute = "AXEnhancedUserInterface";

void writeEnhancedTo(const AccessibilityElement::Ref& application, bool enhanced) {
    if (!application) return;
    Accessibility::setAttributeValue(application->wrappedElement(), kEnhancedUserInterfaceAttribute,
                                     enhanced);
}

}  // namespace

void AccessibilityElement::press(const char* buttonAttribute) const {
    platform::assertMainThread();
    const auto owner = window();
    const auto button = owner ? owner->element(buttonAttribute) : nullptr;
    if (button) Accessibility::performAction(button->wrappedElement(), ax::pressAction);
}

void AccessibilityElement::pressFullScreenButton() const {
    press(ax::fullScreenButtonAttribute);
}
void AccessibilityElement::pressCloseButton() const {
    press(ax::closeButtonAttribute);
}
void AccessibilityElement::pressMinimizeButton() const {
    press(ax::minimizeButtonAttribute);
}

void AccessibilityElement::writeEnhanced(bool enhanced) const {
    writeEnhancedTo(application(), enhanced);
}

// An application with "AXEnhancedUserInterface" on animates and resists
// scripted moves, so the setting is off around the writes, and only then.
template <typename Writes>
void AccessibilityElement::withEnhancedOff(Writes writes) const {
    const auto owner = application();
    const bool wasOn = owner && owner->enhancedUserInterface() == true;
    if (wasOn) writeEnhancedTo(owner->application(), false);
    writes();
    if (wasOn) writeEnhancedTo(owner->application(), true);
}

void AccessibilityElement::setFrame(Rect frame) {
    platform::assertMainThread();
    withEnhancedOff([&] {
        Accessibility::setAttributeValue(wrappedElement_, ax::sizeAttribute, AXValue(frame.size));
        Accessibility::setAttributeValue(wrappedElement_, ax::positionAttribute,
                                         AXValue(frame.origin));
        Accessibility::setAttributeValue(wrappedElement_, ax::sizeAttribute, AXValue(frame.size));
    });
}

void AccessibilityElement::setPosition(Point position) {
    platform::assertMainThread();
    const auto remembered = enhancedUserInterface();
    writeEnhanced(false);
    Accessibility::setAttributeValue(wrappedElement_, ax::positionAttribute, AXValue(position));
    if (remembered == true) writeEnhanced(true);
}

void AccessibilityElement::setPositionEnhanced(Point position) {
    platform::assertMainThread();
    const auto remembered = enhancedUserInterface();
    writeEnhanced(true);
    Accessibility::setAttributeValue(wrappedElement_, ax::positionAttribute, AXValue(position));
    if (remembered != true) writeEnhanced(false);
}

void AccessibilityElement::setSize(Size size) {
    platform::assertMainThread();
    withEnhancedOff([&] {
        Accessibility::setAttributeValue(wrappedElement_, ax::sizeAttribute, AXValue(size));
    });
}

void AccessibilityElement::setPositionAndSize(Point position, Size size) {
    platform::assertMainThread();
    withEnhancedOff([&] {
        Accessibility::setAttributeValue(wrappedElement_, ax::positionAttribute, AXValue(position));
        Accessibility::setAttributeValue(wrappedElement_, ax::sizeAttribute, AXValue(size));
    });
}

}  // namespace zelvana::accessibility
