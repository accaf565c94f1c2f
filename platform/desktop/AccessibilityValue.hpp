#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/appkit/Rect.hpp"
#include "platform/appkit/WindowServer.hpp"

namespace zelvana::platform {

// What an accessibility call answers, by the raw values the system uses.
enum class AXError : std::int32_t {
    success = 0,
    failure = -25200,
    illegalArgument = -25201,
    invalidUIElement = -25202,
    cannotComplete = -25204,
    attributeUnsupported = -25205,
    actionUnsupported = -25206,
    apiDisabled = -25211,
    noValue = -25212,
};

// Which of a window's title-bar buttons an element stands for.
enum class TitleBarButton { close, minimize, zoom, fullScreen };

// A handle on one accessibility object of the simulated desktop: the
// system-wide object, an application, one of its windows or a title-bar
// button of a window. A value type; equal handles name the same object.
class AXUIElement {
public:
    enum class Kind { systemWide, application, window, button };

    static AXUIElement systemWide() { return AXUIElement(Kind::systemWide, 0, 0, {}); }
    static AXUIElement application(int pid) { return AXUIElement(Kind::application, pid, 0, {}); }
    static AXUIElement window(int pid, WindowNumber number) {
        return AXUIElement(Kind::window, pid, number, {});
    }
    static AXUIElement button(int pid, WindowNumber number, TitleBarButton which) {
        return AXUIElement(Kind::button, pid, number, which);
    }

    Kind kind() const { return kind_; }
    int pid() const { return pid_; }
    WindowNumber windowNumber() const { return window_; }
    TitleBarButton buttonKind() const { return button_; }
    bool operator==(const AXUIElement&) const = default;

private:
    AXUIElement(Kind kind, int pid, WindowNumber window, TitleBarButton button)
        : kind_(kind), pid_(pid), window_(window), button_(button) {}

    Kind kind_;
    int pid_;
    WindowNumber window_;
    TitleBarButton button_;
};

// The kinds of geometry an AXValue boxes, by the system's raw values.
enum class AXValueType : std::uint32_t { illegal = 0, cgPoint = 1, cgSize = 2, cgRect = 3 };

// A boxed point, size or rectangle that declares its own type.
class AXValue {
public:
    explicit AXValue(Point point) : type_(AXValueType::cgPoint), rect_{point, {}} {}
    explicit AXValue(Size size) : type_(AXValueType::cgSize), rect_{{}, size} {}
    explicit AXValue(Rect rect) : type_(AXValueType::cgRect), rect_(rect) {}

    AXValueType type() const { return type_; }
    // Each unboxes only a value of its own type.
    std::optional<Point> point() const;
    std::optional<Size> size() const;
    std::optional<Rect> rect() const;
    bool operator==(const AXValue&) const = default;

private:
    AXValueType type_;
    Rect rect_;
};

// One attribute value as the accessibility interface hands it over: a
// Boolean, a number, text, an element, a boxed geometry value or a list.
class AccessibilityValue {
public:
    using List = std::vector<AccessibilityValue>;
    using Storage =
        std::variant<bool, std::int64_t, double, std::string, AXUIElement, AXValue, List>;

    AccessibilityValue(bool v) : storage_(v) {}
    AccessibilityValue(int v) : storage_(std::int64_t{v}) {}
    AccessibilityValue(std::int64_t v) : storage_(v) {}
    AccessibilityValue(double v) : storage_(v) {}
    AccessibilityValue(const char* v) : storage_(std::string(v)) {}
    AccessibilityValue(std::string v) : storage_(std::move(v)) {}
    AccessibilityValue(AXUIElement v) : storage_(v) {}
    AccessibilityValue(AXValue v) : storage_(v) {}
    AccessibilityValue(List v) : storage_(std::move(v)) {}

    const Storage& storage() const { return storage_; }
    // Exact-type reads: null when the value holds another type.
    template <typename T>
    const T* get() const {
        return std::get_if<T>(&storage_);
    }
    bool operator==(const AccessibilityValue&) const = default;

private:
    Storage storage_;
};

}  // namespace zelvana::platform
