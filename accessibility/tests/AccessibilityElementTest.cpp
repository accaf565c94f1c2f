#include "accessibility/AccessibilityElement.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "accessibility/StageWindowAccessibilityElement.hpp"
#include "accessibility/tests/AccessibilityTestSupport.hpp"
#include "platform/simulator/PermissionSwitches.hpp"

namespace zelvana::accessibility::test {
namespace {

using platform::AccessibilityValue;
using platform::AXError;
using platform::AXUIElement;
using platform::AXValue;
using platform::Point;
using platform::Rect;
using platform::Size;
using platform::TitleBarButton;
using Write = platform::AccessibilitySimulator::Write;

template <typename T>
std::string text(const std::optional<T>& value) {
    if (!value) return "absent";
    std::ostringstream out;
    if constexpr (std::is_same_v<T, Point>) {
        out << value->x << "," << value->y;
    } else if constexpr (std::is_same_v<T, Size>) {
        out << value->width << "x" << value->height;
    } else if constexpr (std::is_same_v<T, AccessibilityElement::List>) {
        out << value->size() << " elements";
    } else if constexpr (std::is_same_v<T, std::vector<std::uint32_t>>) {
        for (auto number : *value) out << number << ";";
    } else {
        out << std::boolalpha << *value;
    }
    return out.str();
}

struct ReadCase {
    const char* name;
    const char* attribute;
    AccessibilityValue value;
    std::function<std::string(const AccessibilityElement&)> read;
    const char* expected;
};

class AttributeReads : public AccessibilityTestCase,
                       public ::testing::WithParamInterface<ReadCase> {};

TEST_P(AttributeReads, YieldTheValueOnlyWhenItHasTheAskedType) {
    const auto number = add(safari, Rect::make(100, 100, 400, 300));
    const auto window = AXUIElement::window(safari, number);
    simulator.setAttribute(window, GetParam().attribute, GetParam().value);
    EXPECT_EQ(GetParam().read(AccessibilityElement(window)), GetParam().expected);
}

const auto role = [](const AccessibilityElement& e) { return text(e.role()); };
const auto isWindow = [](const AccessibilityElement& e) { return text(e.isWindow()); };
const auto minimized = [](const AccessibilityElement& e) { return text(e.isMinimized()); };
const auto parent = [](const AccessibilityElement& e) {
    return std::string(e.element("AXParent") ? "element" : "absent");
};
const auto children = [](const AccessibilityElement& e) { return text(e.children()); };
const auto position = [](const AccessibilityElement& e) { return text(e.position()); };
const auto size = [](const AccessibilityElement& e) { return text(e.size()); };
const auto windowIds = [](const AccessibilityElement& e) { return text(e.windowIds()); };
const AXUIElement kApp = AXUIElement::application(501);

INSTANTIATE_TEST_SUITE_P(
    Types, AttributeReads,
    ::testing::Values(
        ReadCase{"Text", "AXRole", "AXSheet", role, "AXSheet"},
        ReadCase{"NumberAsText", "AXRole", 7, role, "absent"},
        ReadCase{"RoleMissingIsNotFalse", "AXRole", 7, isWindow, "absent"},
        ReadCase{"Bool", "AXMinimized", true, minimized, "true"},
        ReadCase{"TextAsBool", "AXMinimized", "yes", minimized, "absent"},
        ReadCase{"Element", "AXParent", kApp, parent, "element"},
        ReadCase{"TextAsElement", "AXParent", "Safari", parent, "absent"},
        ReadCase{"EmptyList", "AXChildren", AccessibilityValue::List{}, children, "0 elements"},
        ReadCase{"ListWithANumber", "AXChildren", AccessibilityValue::List{kApp, 5}, children,
                 "absent"},
        ReadCase{"Point", "AXPosition", AXValue(Point{3, 4}), position, "3,4"},
        ReadCase{"SizeAsPoint", "AXPosition", AXValue(Size{3, 4}), position, "absent"},
        ReadCase{"RectAsSize", "AXSize", AXValue(Rect::make(1, 2, 3, 4)), size, "absent"},
        ReadCase{"PointAsSize", "AXSize", AXValue(Point{3, 4}), size, "absent"},
        ReadCase{"WindowNumbers", "AXWindowsIDs", AccessibilityValue::List{7, 9}, windowIds,
                 "7;9;"},
        ReadCase{"TextWindowNumbers", "AXWindowsIDs", AccessibilityValue::List{"7"}, windowIds,
                 "absent"}),
    [](const auto& info) { return std::string(info.param.name); });

class AccessibilityElementTest : public AccessibilityTestCase {
protected:
    AccessibilityElementTest() : number(add(safari, Rect::make(100, 100, 400, 300))) {}

    AXUIElement windowObject() const { return AXUIElement::window(safari, number); }
    AccessibilityElement::Ref window() const { return AccessibilityElement::make(windowObject()); }
    Write enhanced(bool on) const { return {kApp, "AXEnhancedUserInterface", on}; }
    Write positionWrite(Point point) const {
        return {windowObject(), "AXPosition", AXValue(point)};
    }
    Write sizeWrite(Size size) const { return {windowObject(), "AXSize", AXValue(size)}; }

    platform::WindowNumber number;
};

TEST_F(AccessibilityElementTest, MovesAndResizesTheWindowAndReadsItBack) {
    auto element = window();
    EXPECT_EQ(element->frame(), Rect::make(100, 100, 400, 300));
    element->writePosition(Point{200, 150});
    element->writeSize(Size{500, 400});
    EXPECT_EQ(element->frame(), Rect::make(200, 150, 500, 400));
    element->setFrame(Rect::make(10, 20, 640, 480));
    EXPECT_EQ(desktop.window(number)->bounds, Rect::make(10, 20, 640, 480));
    EXPECT_EQ(element->resolvedWindowId(), number);
}

TEST_F(AccessibilityElementTest, SetFrameSwitchesEnhancedInterfaceOffOnlyAroundItsWrites) {
    simulator.setEnhancedUserInterface(safari, true);
    window()->setFrame(Rect::make(1, 2, 300, 200));
    EXPECT_EQ(simulator.writes(),
              (std::vector<Write>{enhanced(false), sizeWrite({300, 200}), positionWrite({1, 2}),
                                  sizeWrite({300, 200}), enhanced(true)}));
    simulator.clearWrites();
    simulator.setEnhancedUserInterface(safari, std::nullopt);
    window()->setFrame(Rect::make(1, 2, 300, 200));
    EXPECT_EQ(simulator.writes(), (std::vector<Write>{sizeWrite({300, 200}), positionWrite({1, 2}),
                                                      sizeWrite({300, 200})}));
}

TEST_F(AccessibilityElementTest, SingleWritesRestoreTheEnhancedInterface) {
    window()->setPositionEnhanced(Point{5, 6});
    EXPECT_EQ(simulator.writes(),
              (std::vector<Write>{enhanced(true), positionWrite({5, 6}), enhanced(false)}));
    simulator.clearWrites();
    simulator.setEnhancedUserInterface(safari, true);
    window()->setPositionAndSize(Point{5, 6}, Size{70, 80});
    EXPECT_EQ(simulator.writes(), (std::vector<Write>{enhanced(false), positionWrite({5, 6}),
                                                      sizeWrite({70, 80}), enhanced(true)}));
    simulator.clearWrites();
    window()->writePosition(std::nullopt);
    window()->setMain(std::nullopt);
    EXPECT_TRUE(simulator.writes().empty()) << "absent values send nothing";
}

TEST_F(AccessibilityElementTest, AWindowWithoutASizeHasNoFrameAndNoNumber) {
    simulator.setAttribute(windowObject(), "AXSize", AXError::attributeUnsupported);
    EXPECT_EQ(window()->frame(), std::nullopt);
    EXPECT_EQ(window()->resolvedWindowId(), std::nullopt);
}

TEST_F(AccessibilityElementTest, FindsChildrenByRoleAndSubrole) {
    EXPECT_EQ(window()->firstChildWithRole("AXStaticText"), nullptr);
    EXPECT_EQ(window()->childrenWithRole("AXStaticText")->size(), 0u);
    EXPECT_EQ(window()->childrenWithRole("AXButton")->size(), 3u);
    simulator.setAttribute(AXUIElement::button(safari, number, TitleBarButton::close), "AXSubrole",
                           14);
    EXPECT_EQ(window()->firstChildWithSubrole("AXCloseButton"), nullptr)
        << "a subrole that is no text is passed over";
    simulator.setAttribute(windowObject(), "AXChildren", AXError::cannotComplete);
    EXPECT_EQ(window()->childrenWithRole("AXButton"), std::nullopt);
}

TEST_F(AccessibilityElementTest, TheTitleBarIsAsTallAsTheCloseButtonCentredInIt) {
    const auto close = AXUIElement::button(safari, number, TitleBarButton::close);
    simulator.setAttribute(close, "AXPosition", AXValue(Point{108, 104}));
    simulator.setAttribute(close, "AXSize", AXValue(Size{14, 14}));
    desktop.setWindowBounds(number, Rect::make(100, 100, 800, 600));
    EXPECT_EQ(window()->titleBarFrame(), Rect::make(100, 100, 800, 22));
    EXPECT_EQ(AccessibilityElement(close).titleBarFrame(), Rect::make(100, 100, 800, 22))
        << "a button's window is the window";
}

TEST_F(AccessibilityElementTest, FocusActivatesAnActiveApplicationOnlyWhenForced) {
    const auto behind = add(safari, Rect::make(0, 0, 100, 100));
    desktop.activateApplication(safari);
    const int activations = desktop.activationCount(safari);
    window()->focus(AccessibilityElement::Activation::ifInactive);
    EXPECT_EQ(window()->isMain(), true);
    EXPECT_EQ(AccessibilityElement(AXUIElement::window(safari, behind)).isMain(), false);
    EXPECT_EQ(desktop.activationCount(safari), activations);
    window()->focus(AccessibilityElement::Activation::always);
    EXPECT_EQ(desktop.activationCount(safari), activations + 1);
    desktop.activateApplication(notes);
    window()->focus(AccessibilityElement::Activation::ifInactive);
    EXPECT_EQ(desktop.activeApplication(), safari);
}

TEST_F(AccessibilityElementTest, PressesTitleBarButtons) {
    EXPECT_EQ(window()->fullScreenButtonZooms(), false);
    window()->pressMinimizeButton();
    EXPECT_EQ(window()->isMinimized(), true);
    window()->pressFullScreenButton();
    EXPECT_EQ(desktop.window(number)->bounds, Rect::make(0, 0, 1920, 1080));
    window()->pressCloseButton();
    EXPECT_EQ(desktop.window(number), std::nullopt);
    EXPECT_EQ(window()->role(), std::nullopt) << "a closed window answers nothing";
    EXPECT_EQ(window()->application(), nullptr);
}

TEST_F(AccessibilityElementTest, ProcessesThatQuitOrAreNotPermittedAnswerNothing) {
    platform::PermissionSwitches::setAccessibilityTrusted(false);
    window()->setFrame(Rect::make(0, 0, 10, 10));
    EXPECT_EQ(desktop.window(number)->bounds, Rect::make(100, 100, 400, 300));
    EXPECT_EQ(window()->frame(), std::nullopt);
    EXPECT_TRUE(window()->isResizable());
    platform::PermissionSwitches::setAccessibilityTrusted(true);
    simulator.setSettable(windowObject(), "AXSize", false);
    EXPECT_FALSE(window()->isResizable());
    desktop.removeApplication(safari);
    EXPECT_TRUE(window()->isResizable()) << "true when it cannot ask";
    EXPECT_EQ(window()->pid(), std::nullopt);
}

TEST_F(AccessibilityElementTest, FindsApplicationsByBundleIdentifier) {
    EXPECT_EQ(AccessibilityElement::forBundleIdentifier("com.apple.Notes")->pid(), notes);
    EXPECT_EQ(AccessibilityElement::forBundleIdentifier("com.example.none"), nullptr);
    EXPECT_EQ(window()->bundleIdentifier(), "com.apple.Safari");
    EXPECT_EQ(window()->windows()->size(), 1u);
}

TEST_F(AccessibilityElementTest, AStageWindowTakesItsOriginFromTheWindowServer) {
    const auto listed = add(notes, Rect::make(30, 40, 50, 60));
    EXPECT_EQ(StageWindowAccessibilityElement(windowObject(), listed).frame(),
              Rect::make(30, 40, 400, 300));
    EXPECT_EQ(StageWindowAccessibilityElement(windowObject(), listed + 100).frame(),
              Rect::make(100, 100, 400, 300))
        << "a window no longer listed keeps the accessibility rectangle";
    EXPECT_EQ(StageWindowAccessibilityElement(windowObject(), listed).resolvedWindowId(), listed);
}

}  // namespace
}  // namespace zelvana::accessibility::test
