#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/desktop/AccessibilityValue.hpp"

namespace zelvana::platform {

// The simulated desktop's controls over what other applications tell the
// accessibility interface: attributes answered with another value or an
// error, settability, "AXEnhancedUserInterface", hidden and unresponsive
// applications, and a record of every write that reached an application.
// Tests and the driver use it; the application goes through Accessibility.
// Main thread only.
class AccessibilitySimulator {
public:
    struct Write {
        AXUIElement element;
        std::string attribute;
        AccessibilityValue value;
        bool operator==(const Write&) const = default;
    };
    using Answer = std::variant<AccessibilityValue, AXError>;

    static AccessibilitySimulator& shared();

    // From now on the element answers the attribute with this value or error.
    void setAttribute(const AXUIElement& element, const std::string& attribute, Answer answer);
    std::optional<Answer> answerFor(const AXUIElement& element, const std::string& attribute) const;
    void setSettable(const AXUIElement& element, const std::string& attribute, bool settable);
    std::optional<bool> settableOverride(const AXUIElement& element,
                                         const std::string& attribute) const;

    // Absent: the application does not have the attribute.
    void setEnhancedUserInterface(int pid, std::optional<bool> value);
    std::optional<bool> enhancedUserInterface(int pid) const;
    void setHidden(int pid, bool hidden);
    bool isHidden(int pid) const;
    // An application that stops answering: every call fails (cannot complete).
    void setResponding(int pid, bool responding);
    bool isResponding(int pid) const;

    void recordWrite(Write write) { writes_.push_back(std::move(write)); }
    const std::vector<Write>& writes() const { return writes_; }
    void clearWrites() { writes_.clear(); }

    void resetForTesting();

private:
    using Key = std::pair<std::size_t, std::string>;
    std::size_t indexOf(const AXUIElement& element);
    std::optional<std::size_t> findIndex(const AXUIElement& element) const;

    std::vector<AXUIElement> elements_;
    std::map<Key, Answer> answers_;
    std::map<Key, bool> settable_;
    std::map<int, std::optional<bool>> enhanced_;
    std::set<int> hidden_;
    std::set<int> unresponsive_;
    std::vector<Write> writes_;
};

}  // namespace zelvana::platform
