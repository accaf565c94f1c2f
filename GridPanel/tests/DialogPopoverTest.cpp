#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GridPanel/DialogPopover.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/testing/ClippedText.hpp"

namespace zelvana::gridpanel {
namespace {

using platform::Color;

class DialogPopoverTest : public ::testing::Test {
protected:
    DialogPopoverTest() {
        platform::Application::shared().resetForTesting();
        platform::EventMonitors::resetForTesting();
        window.setContentView(anchor);
        window.makeKeyAndOrderFront(nullptr);
    }
    ~DialogPopoverTest() override { platform::EventMonitors::resetForTesting(); }

    std::shared_ptr<DialogPopover> open(std::optional<DialogInput> input) {
        auto popover = DialogPopover::make(
            std::nullopt, std::move(input), "OK", "Cancel",
            [this](const std::optional<DialogInput>& result) { results.push_back(result); });
        clock.runPending();  // the slider's set-up
        popover->show(std::nullopt, std::nullopt, std::nullopt, nullptr, *anchor,
                      platform::RectEdge::maxX);
        return popover;
    }
    void slideTo(DialogPopover& popover, double x) {
        platform::Window& popoverWindow = *popover.popover().window();
        const auto point = popover.colorSlider().convertPointToView({x, 6}, nullptr);
        for (auto type : {platform::EventType::leftMouseDown, platform::EventType::leftMouseUp}) {
            popoverWindow.sendEvent(platform::Event::mouseEvent(type, point, &popoverWindow));
        }
    }

    platform::VirtualClock clock;
    platform::Window window{platform::Rect::make(0, 0, 300, 200)};
    std::shared_ptr<platform::View> anchor =
        std::make_shared<platform::View>(platform::Rect::make(0, 0, 300, 200));
    std::vector<std::optional<DialogInput>> results;
};

TEST_F(DialogPopoverTest, EveryWordShowsAndALongNameEndsInAnEllipsisAtItsStart) {
    auto popover = open(DialogInput{"Mail", std::nullopt});
    platform::View& content = *popover->popover().window()->contentView();
    EXPECT_EQ(platform::testing::textsClippedWithoutEllipsis(content), std::vector<std::string>{});
    popover->inputField().setStringValue(
        "Everything I read about the weather this week, and the week after it");
    EXPECT_EQ(platform::testing::textsClippedWithoutEllipsis(content), std::vector<std::string>{});
    const auto shown = popover->inputField().lines(popover->inputField().bounds().width());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown.front().starts_with("…")) << shown.front();
    EXPECT_TRUE(shown.front().ends_with("after it")) << shown.front();
}

TEST_F(DialogPopoverTest, OKReportsTheTextAndAnUnmovedSliderKeepsTheColour) {
    auto popover = open(DialogInput{"Mail", Color::hsb(0, 1, 1)});
    EXPECT_EQ(popover->inputField().stringValue(), "Mail");
    popover->buttonPressed();
    ASSERT_EQ(results.size(), 1u);  // the close after OK reports nothing more
    EXPECT_EQ(results[0]->text, "Mail");
    EXPECT_EQ(results[0]->color, Color::hsb(0, 1, 1));
    EXPECT_FALSE(popover->popover().isShown());
}

TEST_F(DialogPopoverTest, TheSliderAtZeroMeansNoColourAndElsewhereAHue) {
    auto popover = open(std::nullopt);
    EXPECT_EQ(popover->inputField().stringValue(), "");
    slideTo(*popover, 0);
    popover->dialogInputSubmitted();
    EXPECT_EQ(results.at(0)->color, std::nullopt);

    popover = open(DialogInput{"x", std::nullopt});
    slideTo(*popover, popover->colorSlider().bounds().width() / 2);
    popover->buttonPressed();
    ASSERT_TRUE(results.at(1)->color);
    EXPECT_NEAR(results[1]->color->hue(), 0.5, 0.05);
}

TEST_F(DialogPopoverTest, EscapeCancelAndClickingAwayEachReportNothingOnce) {
    auto popover = open(DialogInput{"a", std::nullopt});
    platform::Window& popoverWindow = *popover->popover().window();
    popoverWindow.sendEvent(platform::Event::keyEvent(platform::EventType::keyUp, 53, {}, "", ""));
    popover = open(DialogInput{"b", std::nullopt});
    platform::Application::shared().sendEvent(
        platform::Event::mouseEvent(platform::EventType::leftMouseDown, {1, 1}, &window));
    popover = open(DialogInput{"c", std::nullopt});
    popover->cancelWithoutClosing();
    EXPECT_TRUE(popover->popover().isShown());
    popover->cancelPressed();
    EXPECT_EQ(results,
              (std::vector<std::optional<DialogInput>>{std::nullopt, std::nullopt, std::nullopt}));
}

TEST_F(DialogPopoverTest, AShownPopoverOutlivesItsLastOwner) {
    std::weak_ptr<DialogPopover> weak = open(DialogInput{"kept", std::nullopt});
    ASSERT_FALSE(weak.expired());
    weak.lock()->buttonPressed();
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(results.at(0)->text, "kept");
}

}  // namespace
}  // namespace zelvana::gridpanel
