#include "accessibility/AXAttribute.hpp"

#include "platform/core/MainThread.hpp"
#include "platform/desktop/Accessibility.hpp"

namespace zelvana::accessibility {

using platform::Accessibility;
using platform::AXError;

std::optional<platform::AccessibilityValue> copyAttribute(const platform::AXUIElement& element,
                                                          const std::string& attribute) {
    platform::assertMainThread();
    std::optional<platform::AccessibilityValue> value;
    if (Accessibility::copyAttributeValue(element, attribute, value) != AXError::success) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> isAttributeSettable(const platform::AXUIElement& element,
                                        const std::string& attribute) {
    platform::assertMainThread();
    bool settable = false;
    if (Accessibility::isAttributeSettable(element, attribute, settable) != AXError::success) {
        return std::nullopt;
    }
    return settable;
}

}  // namespace zelvana::accessibility
