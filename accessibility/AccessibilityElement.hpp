#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "accessibility/CGWindowInfo.hpp"
#include "accessibility/WindowInfo.hpp"
#include "platform/appkit/Rect.hpp"
#include "platform/desktop/AccessibilityValue.hpp"

namespace zelvana::accessibility {

// One accessibility object of another application (the application, a
// window, a button), so that a caller can read and change its windows. A
// read that fails is absent and a write that fails is ignored; nothing is
// reported or logged. Elements are cheap and made afresh by every lookup;
// hold them by shared pointer. Main thread only.
class AccessibilityElement : public std::enable_shared_from_this<AccessibilityElement> {
public:
    using Ref = std::shared_ptr<AccessibilityElement>;
    using List = std::vector<Ref>;
    using WindowID = std::uint32_t;
    // Whether focus() activates an application that is already active.
    enum class Activation { ifInactive, always };

    explicit AccessibilityElement(platform::AXUIElement element);
    virtual ~AccessibilityElement() = default;

    static Ref make(platform::AXUIElement element);
    static Ref forProcess(std::int32_t pid);
    // The first running application with that bundle identifier; null for none.
    static Ref forBundleIdentifier(const std::string& bundleIdentifier);
    // The element at a position in window-server coordinates; null for none.
    static Ref element(platform::Point position);

    const platform::AXUIElement& wrappedElement() const { return wrappedElement_; }
    // Filled by windowElementFromWindowList(); nothing else reads it.
    std::optional<WindowID> cachedWindowId;
    // Storage for the caller; nothing in the package fills it.
    std::optional<List> cachedChildren;

    virtual Ref element(const std::string& attribute) const;
    virtual std::optional<List> elements(const std::string& attribute) const;
    virtual std::optional<std::string> role() const;
    virtual std::optional<bool> isWindow() const;
    virtual std::optional<bool> isSheet() const;
    virtual std::optional<bool> isToolbar() const;
    virtual std::optional<bool> isGroup() const;
    virtual std::optional<bool> isStaticText() const;
    virtual std::optional<std::string> subrole() const;
    virtual std::optional<bool> isSystemDialog() const;
    virtual std::optional<platform::Point> position() const;
    // Absent sends nothing.
    virtual void writePosition(std::optional<platform::Point> position);
    // True when the application cannot be asked.
    virtual bool isResizable() const;
    virtual std::optional<platform::Size> size() const;
    virtual void writeSize(std::optional<platform::Size> size);
    // Position and size; absent (the null rectangle) unless both are there.
    virtual std::optional<platform::Rect> frame() const;
    virtual void setFrame(platform::Rect frame);
    virtual std::optional<List> children() const;
    virtual Ref firstChildWithRole(const std::string& role) const;
    virtual std::optional<List> childrenWithRole(const std::string& role) const;
    virtual Ref firstChildWithSubrole(const std::string& subrole) const;
    virtual std::optional<List> childrenWithSubrole(const std::string& subrole) const;
    virtual std::optional<WindowID> windowId() const;
    // windowId, else the number of the listed window of the same process
    // whose bounds equal this element's frame exactly.
    virtual std::optional<WindowID> resolvedWindowId() const;
    virtual std::optional<std::int32_t> pid() const;
    virtual Ref window() const;
    virtual std::optional<bool> isMain() const;
    virtual void setMain(std::optional<bool> main);
    virtual std::optional<bool> isMinimized() const;
    virtual std::optional<bool> fullScreenButtonZooms() const;
    // The band across the window's top as tall as its close button centred
    // in it (accessibility coordinates).
    virtual std::optional<platform::Rect> titleBarFrame() const;
    virtual Ref application() const;
    virtual std::optional<List> windows() const;
    virtual std::optional<bool> isHidden() const;
    virtual std::optional<bool> enhancedUserInterface() const;
    virtual void setEnhancedUserInterface(std::optional<bool> enhanced);
    virtual std::optional<std::vector<WindowID>> windowIds() const;
    // Makes the window main and brings its application forward.
    virtual void focus(Activation activation);

    std::optional<std::string> bundleIdentifier() const;
    void pressFullScreenButton() const;
    void pressCloseButton() const;
    void pressMinimizeButton() const;
    // Writes with "AXEnhancedUserInterface" switched around them.
    void setPosition(platform::Point position);
    void setPositionEnhanced(platform::Point position);
    void setSize(platform::Size size);
    void setPositionAndSize(platform::Point position, platform::Size size);

    // --- Lookups (window-server coordinates) ---
    static Ref frontmostApplication();
    static Ref frontmostWindow();
    static Ref windowUnderMouse();
    // None: the pointer's location.
    static Ref windowElement(std::optional<platform::Point> point = std::nullopt);
    Ref windowUnderMouseInApplication() const;
    static Ref windowElementFromWindowList(platform::Point point);
    static std::optional<WindowInfo> topmostWindowInfo(platform::Point point);
    static std::optional<CGWindowInfo> topWindowInfo(platform::Point point);
    static List windows(std::int32_t pid);
    static Ref window(std::int32_t pid, WindowID windowId);
    static Ref window(WindowID windowId);
    static List allWindows();
    static List allNormalWindows();
    static std::map<std::int32_t, List> windowsByApplication();
    static List allApplicationWindows();

protected:
    Ref self() const;
    std::optional<platform::Rect> accessibilityFrame() const;

private:
    void press(const char* buttonAttribute) const;
    void writeEnhanced(bool enhanced) const;
    template <typename Writes>
    void withEnhancedOff(Writes writes) const;

    platform::AXUIElement wrappedElement_;
};

}  // namespace zelvana::accessibility
