#include "accessibility/AccessibilityElement.hpp"

#include <algorithm>

#include "accessibility/AXAttribute.hpp"
#include "accessibility/WindowUtil.hpp"
#include "platform/appkit/AccessibilityConstants.hpp"
#include "platform/appkit/RunningApplication.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/desktop/Accessibility.hpp"

namespace zelvana::accessibility {

namespace ax = platform::ax;
using platform::Accessibility;
using platform::AccessibilityValue;
using platform::AXError;
using platform::AXUIElement;
using platform::AXValue;
using platform::Point;
using platform::Rect;
using platform::Size;

namespace {

constexpr const char* kEnhancedUserInterfaceAttribute = "AXEnhancedUserInterface";
constexpr const char* kWindowsIDsAttribute = "AXWindowsIDs";

std::optional<bool> boolAttribute(const AXUIElement& element, const std::string& attribute) {
    const auto raw = copyAttribute(element, attribute);
    const bool* flag = raw ? raw->get<bool>() : nullptr;
    return flag ? std::optional(*flag) : std::nullopt;
}

std::optional<std::string> textAttribute(const AXUIElement& element, const std::string& attribute) {
    const auto raw = copyAttribute(element, attribute);
    const std::string* text = raw ? raw->get<std::string>() : nullptr;
    return text ? std::optional(*text) : std::nullopt;
}

std::optional<bool> roleIs(const std::optional<std::string>& role, const char* expected) {
    if (!role) return std::nullopt;
    return *role == expected;
}

void write(const AXUIElement& element, const char* attribute, const AccessibilityValue& value) {
    platform::assertMainThread();
    Accessibility::setAttributeValue(element, attribute, value);
}

// The children whose attribute reads as that text, in order.
AccessibilityElement::List matching(const AccessibilityElement::List& children,
                                    const char* attribute, const std::string& expected) {
    AccessibilityElement::List found;
    for (const auto& child : children) {
        if (textAttribute(child->wrappedElement(), attribute) == expected) found.push_back(child);
    }
    return found;
}

}  // namespace

AccessibilityElement::AccessibilityElement(AXUIElement element) : wrappedElement_(element) {
    platform::assertMainThread();
}

AccessibilityElement::Ref AccessibilityElement::make(AXUIElement element) {
    return std::make_shared<AccessibilityElement>(element);
}

AccessibilityElement::Ref AccessibilityElement::forProcess(std::int32_t pid) {
    return make(AXUIElement::application(pid));
}

AccessibilityElement::Ref AccessibilityElement::forBundleIdentifier(
    const std::string& bundleIdentifier) {
    platform::assertMainThread();
    for (const auto& running : platform::Workspace::shared().runningApplications()) {
        if (running.bundleIdentifier() == bundleIdentifier) {
            return forProcess(running.processIdentifier());
        }
    }
    return nullptr;
}

AccessibilityElement::Ref AccessibilityElement::element(Point position) {
    std::optional<AXUIElement> found;
    const auto error = Accessibility::copyElementAtPosition(AXUIElement::systemWide(),
                                                            static_cast<float>(position.x),
                                                            static_cast<float>(position.y), found);
    return error == AXError::success && found ? make(*found) : nullptr;
}

AccessibilityElement::Ref AccessibilityElement::self() const {
    if (auto shared = std::const_pointer_cast<AccessibilityElement>(weak_from_this().lock())) {
        return shared;
    }
    return make(wrappedElement_);
}

AccessibilityElement::Ref AccessibilityElement::element(const std::string& attribute) const {
    const auto raw = copyAttribute(wrappedElement_, attribute);
    const AXUIElement* found = raw ? raw->get<AXUIElement>() : nullptr;
    return found ? make(*found) : nullptr;
}

std::optional<AccessibilityElement::List> AccessibilityElement::elements(
    const std::string& attribute) const {
    const auto raw = copyAttribute(wrappedElement_, attribute);
    const auto* list = raw ? raw->get<AccessibilityValue::List>() : nullptr;
    if (!list) return std::nullopt;
    List elements;
    for (const auto& item : *list) {
        const AXUIElement* found = item.get<AXUIElement>();
        if (!found) return std::nullopt;
        elements.push_back(make(*found));
    }
    return elements;
}

std::optional<std::string> AccessibilityElement::role() const {
    return textAttribute(wrappedElement_, ax::roleAttribute);
}

std::optional<bool> AccessibilityElement::isWindow() const {
    return roleIs(role(), ax::windowRole);
}
std::optional<bool> AccessibilityElement::isSheet() const {
    return roleIs(role(), ax::sheetRole);
}
std::optional<bool> AccessibilityElement::isToolbar() const {
    return roleIs(role(), ax::toolbarRole);
}
std::optional<bool> AccessibilityElement::isGroup() const {
    return roleIs(role(), ax::groupRole);
}
std::optional<bool> AccessibilityElement::isStaticText() const {
    return roleIs(role(), ax::staticTextRole);
}

std::optional<std::string> AccessibilityElement::subrole() const {
    return textAttribute(wrappedElement_, ax::subroleAttribute);
}

std::optional<bool> AccessibilityElement::isSystemDialog() const {
    return roleIs(subrole(), ax::systemDialogSubrole);
}

std::optional<Point> AccessibilityElement::position() const {
    return value<Point>(wrappedElement_, ax::positionAttribute);
}

void AccessibilityElement::writePosition(std::optional<Point> position) {
    if (position) write(wrappedElement_, ax::positionAttribute, AXValue(*position));
}

bool AccessibilityElement::isResizable() const {
    return isAttributeSettable(wrappedElement_, ax::sizeAttribute).value_or(true);
}

std::optional<Size> AccessibilityElement::size() const {
    return value<Size>(wrappedElement_, ax::sizeAttribute);
}

void AccessibilityElement::writeSize(std::optional<Size> size) {
    if (size) write(wrappedElement_, ax::sizeAttribute, AXValue(*size));
}

std::optional<Rect> AccessibilityElement::accessibilityFrame() const {
    const auto origin = position();
    const auto extent = size();
    if (!origin || !extent) return std::nullopt;
    return Rect{*origin, *extent};
}

std::optional<Rect> AccessibilityElement::frame() const {
    return accessibilityFrame();
}

std::optional<AccessibilityElement::List> AccessibilityElement::children() const {
    return elements(ax::childrenAttribute);
}

AccessibilityElement::Ref AccessibilityElement::firstChildWithRole(const std::string& role) const {
    const auto found = childrenWithRole(role);
    return found && !found->empty() ? found->front() : nullptr;
}

std::optional<AccessibilityElement::List> AccessibilityElement::childrenWithRole(
    const std::string& role) const {
    const auto all = children();
    if (!all) return std::nullopt;
    return matching(*all, ax::roleAttribute, role);
}

AccessibilityElement::Ref AccessibilityElement::firstChildWithSubrole(
    const std::string& subrole) const {
    const auto found = childrenWithSubrole(subrole);
    return found && !found->empty() ? found->front() : nullptr;
}

std::optional<AccessibilityElement::List> AccessibilityElement::childrenWithSubrole(
    const std::string& subrole) const {
    const auto all = children();
    if (!all) return std::nullopt;
    return matching(*all, ax::subroleAttribute, subrole);
}

std::optional<AccessibilityElement::WindowID> AccessibilityElement::windowId() const {
    return std::nullopt;
}

std::optional<AccessibilityElement::WindowID> AccessibilityElement::resolvedWindowId() const {
    if (auto known = windowId()) return known;
    const auto ownFrame = frame();
    const auto process = pid();
    if (!process || !ownFrame) return std::nullopt;
    for (const auto& listed : WindowUtil::windowList()) {
        if (listed.pid == *process && listed.frame == *ownFrame) return listed.id;
    }
    return std::nullopt;
}

std::optional<std::int32_t> AccessibilityElement::pid() const {
    int pid = 0;
    if (Accessibility::getPid(wrappedElement_, pid) != AXError::success) return std::nullopt;
    return pid;
}

AccessibilityElement::Ref AccessibilityElement::window() const {
    if (role() == ax::windowRole) return self();
    return element(ax::windowAttribute);
}

std::optional<bool> AccessibilityElement::isMain() const {
    const auto owner = window();
    return owner ? boolAttribute(owner->wrappedElement(), ax::mainAttribute) : std::nullopt;
}

void AccessibilityElement::setMain(std::optional<bool> main) {
    if (!main) return;
    if (const auto owner = window()) write(owner->wrappedElement(), ax::mainAttribute, *main);
}

std::optional<bool> AccessibilityElement::isMinimized() const {
    const auto owner = window();
    return owner ? boolAttribute(owner->wrappedElement(), ax::minimizedAttribute) : std::nullopt;
}

std::optional<bool> AccessibilityElement::fullScreenButtonZooms() const {
    const auto owner = window();
    const auto button = owner ? owner->element(ax::fullScreenButtonAttribute) : nullptr;
    return button ? roleIs(button->subrole(), ax::zoomButtonSubrole) : std::nullopt;
}

std::optional<Rect> AccessibilityElement::titleBarFrame() const {
    const auto owner = window();
    const auto windowFrame = owner ? owner->frame() : std::nullopt;
    if (!windowFrame) return std::nullopt;
    const auto button = owner->firstChildWithSubrole(ax::closeButtonSubrole);
    const auto buttonFrame = button ? button->frame() : std::nullopt;
    if (!buttonFrame) return std::nullopt;
    const double height = buttonFrame->height() + 2 * (buttonFrame->minY() - windowFrame->minY());
    return Rect::make(windowFrame->minX(), windowFrame->minY(), windowFrame->width(), height);
}

AccessibilityElement::Ref AccessibilityElement::application() const {
    if (role() == ax::applicationRole) return self();
    const auto process = pid();
    return process ? forProcess(*process) : nullptr;
}

std::optional<AccessibilityElement::List> AccessibilityElement::windows() const {
    const auto owner = application();
    return owner ? owner->elements(ax::windowsAttribute) : std::nullopt;
}

std::optional<bool> AccessibilityElement::isHidden() const {
    const auto owner = application();
    return owner ? boolAttribute(owner->wrappedElement(), ax::hiddenAttribute) : std::nullopt;
}

std::optional<bool> AccessibilityElement::enhancedUserInterface() const {
    const auto owner = application();
    return owner ? boolAttribute(owner->wrappedElement(), kEnhancedUserInterfaceAttribute)
                 : std::nullopt;
}

void AccessibilityElement::setEnhancedUserInterface(std::optional<bool> enhanced) {
    if (!enhanced) return;
    if (const auto owner = application()) {
        write(owner->wrappedElement(), kEnhancedUserInterfaceAttribute, *enhanced);
    }
}

std::optional<std::vector<AccessibilityElement::WindowID>> AccessibilityElement::windowIds() const {
    const auto raw = copyAttribute(wrappedElement_, kWindowsIDsAttribute);
    const auto* list = raw ? raw->get<AccessibilityValue::List>() : nullptr;
    if (!list) return std::nullopt;
    std::vector<WindowID> numbers;
    for (const auto& item : *list) {
        const std::int64_t* number = item.get<std::int64_t>();
        if (!number || *number < 0 || *number > 0xffffffffLL) return std::nullopt;
        numbers.push_back(static_cast<WindowID>(*number));
    }
    return numbers;
}

void AccessibilityElement::focus(Activation activation) {
    platform::assertMainThread();
    if (isMain() != true) setMain(true);
    const auto process = pid();
    if (!process) return;
    const auto running = platform::RunningApplication::withProcessIdentifier(*process);
    if (!running) return;
    if (!running->isActive() || activation == Activation::always) {
        running->activate(platform::ActivationOption::activateIgnoringOtherApps);
    }
}

std::optional<std::string> AccessibilityElement::bundleIdentifier() const {
    const auto process = pid();
    const auto running =
        process ? platform::RunningApplication::withProcessIdentifier(*process) : std::nullopt;
    return running ? running->bundleIdentifier() : std::nullopt;
}

}  // namespace zelvana::accessibility
