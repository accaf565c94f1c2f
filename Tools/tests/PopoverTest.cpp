#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Tools/DialogPopover.hpp"
#include "Tools/MessageButtonPopover.hpp"
#include "Tools/MessagePopover.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::tools {
namespace {

using platform::Event;
using platform::EventType;
using platform::Rect;
using platform::RectEdge;
using Report = std::optional<std::string>;

// An anchor view in a key window to show the popovers beside.
class PopoverTest : public ::testing::Test {
protected:
    PopoverTest() {
        platform::Application::shared().resetForTesting();
        platform::EventMonitors::resetForTesting();
        window.setContentView(root);
        root->addSubview(anchor);
        window.makeKeyAndOrderFront(nullptr);
    }
    ~PopoverTest() override { platform::EventMonitors::resetForTesting(); }

    std::shared_ptr<DialogPopover> dialog(std::optional<std::string> message) {
        return DialogPopover::make(std::move(message), "draft", "OK", "Cancel",
                                   [this](const Report& text) { reports.push_back(text); });
    }
    static void key(platform::Window* in, EventType type, std::uint16_t code,
                    std::string characters = "") {
        in->sendEvent(Event::keyEvent(type, code, {}, characters, characters));
    }

    platform::Window window{Rect::make(100, 100, 400, 300)};
    std::shared_ptr<platform::View> root =
        std::make_shared<platform::View>(Rect::make(0, 0, 400, 300));
    std::shared_ptr<platform::View> anchor =
        std::make_shared<platform::View>(Rect::make(50, 20, 30, 10));
    std::vector<Report> reports;
};

TEST_F(PopoverTest, ReturnReportsTheTextAsTypedThenTheCloseReportsNothing) {
    auto popover = dialog("Name the space");
    popover->show(std::nullopt, std::nullopt, std::nullopt, *anchor, RectEdge::maxY);
    platform::Window* shown = popover->popover()->window();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->firstResponder(), popover->inputField().get());
    key(shown, EventType::keyDown, 51);  // Delete
    key(shown, EventType::keyDown, 2, "y");
    key(shown, EventType::keyUp, 36);
    EXPECT_EQ(reports, (std::vector<Report>{"drafy", std::nullopt}));
    EXPECT_FALSE(popover->popover()->isShown());

    reports.clear();
    popover->inputField()->setStringValue("");
    popover->show(std::nullopt, std::nullopt, std::nullopt, *anchor, RectEdge::maxY);
    key(popover->popover()->window(), EventType::keyUp, 36);
    EXPECT_EQ(reports, (std::vector<Report>{"", std::nullopt}));
}

TEST_F(PopoverTest, EscapeCancelAndAClickOutsideReportNothing) {
    auto popover = dialog(std::nullopt);
    popover->show(std::nullopt, std::nullopt, std::nullopt, *anchor, RectEdge::maxY);
    key(popover->popover()->window(), EventType::keyUp, 53);
    EXPECT_EQ(reports, (std::vector<Report>{std::nullopt, std::nullopt}));

    reports.clear();
    popover->show(std::nullopt, std::nullopt, std::nullopt, *anchor, RectEdge::maxY);
    platform::Application::shared().sendEvent(
        Event::mouseEvent(EventType::leftMouseDown, {1, 1}, &window));
    EXPECT_FALSE(popover->popover()->isShown());
    EXPECT_EQ(reports, (std::vector<Report>{std::nullopt}));

    reports.clear();
    popover->show(std::nullopt, "Rename", "Keep", *anchor, RectEdge::maxY);
    EXPECT_EQ(popover->button()->title(), "Rename");
    EXPECT_TRUE(popover->cancelButton()->performClick());
    EXPECT_EQ(reports, (std::vector<Report>{std::nullopt, std::nullopt}));
    popover->show(std::nullopt, std::nullopt, std::nullopt, *anchor, RectEdge::maxY);
    EXPECT_TRUE(popover->button()->performClick());
    EXPECT_EQ(reports.at(2), "draft");
}

TEST_F(PopoverTest, ADialogWithoutAMessageNeverGetsALabel) {
    auto popover = dialog(std::nullopt);
    EXPECT_FALSE(popover->textField());
    popover->show("Later", std::nullopt, std::nullopt, *anchor, RectEdge::maxY);
    EXPECT_FALSE(popover->textField());
    EXPECT_EQ(popover->stackView()->arrangedSubviews().size(), 2u);
    EXPECT_EQ(popover->inputField()->fittingSize().width, 230);
    EXPECT_GE(popover->button()->fittingSize().width, 115);
}

TEST(DialogInputField, ReturnAndEscapeWithoutADelegateDoNothing) {
    DialogInputField field("text");
    field.keyUp(Event::keyEvent(EventType::keyUp, 36, {}, "\r", "\r"));
    field.keyUp(Event::keyEvent(EventType::keyUp, 53, {}, "", ""));
    EXPECT_EQ(field.stringValue(), "text");
}

TEST_F(PopoverTest, TheButtonRunsTheLatestActionThenCloses) {
    std::vector<std::string> ran;
    auto popover = MessageButtonPopover::make("Saved", "Undo", [&] { ran.push_back("first"); });
    popover->show(std::nullopt, std::nullopt, *anchor, RectEdge::maxY);
    EXPECT_TRUE(popover->button()->performClick());
    popover->show("Moved", "Back", *anchor, RectEdge::maxY, [&] { ran.push_back("second"); });
    EXPECT_EQ(popover->textField()->stringValue(), "Moved");
    EXPECT_EQ(popover->button()->title(), "Back");
    EXPECT_TRUE(popover->button()->performClick());
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second"}));
    EXPECT_FALSE(popover->popover()->isShown());
    EXPECT_EQ(popover->button()->fittingSize().height, 30);
}

TEST_F(PopoverTest, AMessageIsWrappedAt250Points) {
    MessagePopover popover;
    popover.show("A message long enough to need more than one line at this width.", *anchor,
                 RectEdge::maxY);
    EXPECT_TRUE(popover.popover()->isShown());
    EXPECT_EQ(popover.popover()->behavior(), platform::Popover::Behavior::transient);
    const auto size = popover.textField()->fittingSize();
    EXPECT_EQ(size.width, 250);
    EXPECT_GE(size.height, 30);
    EXPECT_EQ(popover.stackView()->edgeInsets(), (platform::EdgeInsets{15, 15, 15, 15}));
}

}  // namespace
}  // namespace zelvana::tools
