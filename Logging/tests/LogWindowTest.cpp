#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "Logging/KeyDownTextView.hpp"
#include "Logging/LogViewController.hpp"
#include "Logging/LogWindowController.hpp"
#include "Logging/WindowDestination.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::logging {
namespace {

using platform::KeyEvent;

KeyEvent key(const std::string& characters, platform::ModifierFlags modifiers = {}) {
    return KeyEvent{0, modifiers, characters, characters};
}

class LogWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        controller_ = LogWindowController::makeFromStoryboard();
        content_ = dynamic_cast<LogViewController*>(controller_->contentViewController());
        ASSERT_NE(content_, nullptr);
        textView_ = std::dynamic_pointer_cast<KeyDownTextView>(content_->textView());
        ASSERT_NE(textView_, nullptr);
        destination_.setFormat("$M");
        destination_.setLogWindowController(controller_);
    }

    // Sends a line as the destination's queue would, then lets the main queue run.
    void log(const std::string& message) {
        LogEntry entry;
        entry.message = message;
        destination_.send(entry);
        clock_.runPending();
    }

    const std::string& text() const { return textView_->string(); }
    bool atEnd() const { return textView_->visibleRect().maxY() == textView_->bounds().maxY(); }

    platform::VirtualClock clock_;
    WindowDestination destination_;
    std::shared_ptr<LogWindowController> controller_;
    LogViewController* content_ = nullptr;
    std::shared_ptr<KeyDownTextView> textView_;
};

TEST_F(LogWindowTest, StoryboardMakesAClosedWindowWithAReadOnlyMonacoLog) {
    platform::Window* window = controller_->window();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(controller_->isOpen());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->delegate(), controller_.get());
    EXPECT_EQ(textView_->window(), window);
    EXPECT_FALSE(textView_->isEditable());
    EXPECT_EQ(content_->font().fontName(), "Monaco");
    EXPECT_EQ(content_->font().pointSize(), 10);
    EXPECT_EQ(content_->textColorAttribute().font, content_->font());
    EXPECT_EQ(content_->textColorAttribute().foregroundColor, platform::Color::textColor());
}

TEST_F(LogWindowTest, ShowsOnlyLinesSentWhileOpenAndEmptiesOnClose) {
    log("before opening");
    EXPECT_EQ(text(), "");

    controller_->showWindow(nullptr);
    EXPECT_TRUE(controller_->isOpen());
    EXPECT_TRUE(controller_->window()->isVisible());
    log("first");
    log("second");
    EXPECT_EQ(text(), "first\nsecond\n");
    const auto attributes = textView_->textStorage()->attributesAt(0);
    EXPECT_EQ(attributes, content_->textColorAttribute());

    controller_->window()->close();
    EXPECT_FALSE(controller_->isOpen());
    EXPECT_EQ(text(), "");
    log("while closed");
    controller_->showWindow(nullptr);
    EXPECT_EQ(text(), "");
    log("after reopening");
    EXPECT_EQ(text(), "after reopening\n");
}

TEST_F(LogWindowTest, FollowsNewLinesOnlyWhenScrolledToTheEnd) {
    controller_->showWindow(nullptr);
    for (int i = 0; i < 60; ++i) log("line " + std::to_string(i));
    EXPECT_GT(textView_->bounds().height(), textView_->frame().height());
    EXPECT_TRUE(atEnd());

    textView_->scrollTo(100);
    log("while reading");
    EXPECT_EQ(textView_->visibleRect().minY(), 100);
    EXPECT_FALSE(atEnd());

    textView_->scrollToEndOfDocument();
    log("at the end again");
    EXPECT_TRUE(atEnd());
}

TEST_F(LogWindowTest, CommandKeysCloseOrHideAndOtherKeysReachTheTextView) {
    controller_->showWindow(nullptr);
    log("kept");
    textView_->keyDown(key("h", KeyEvent::command));
    EXPECT_FALSE(controller_->window()->isVisible());
    EXPECT_TRUE(controller_->isOpen());
    log("while hidden");
    controller_->showWindow(nullptr);
    EXPECT_EQ(text(), "kept\nwhile hidden\n");

    textView_->keyDown(key("w"));
    textView_->keyDown(key("q", KeyEvent::command));
    textView_->keyDown(key("W", KeyEvent::command | KeyEvent::shift));
    EXPECT_EQ(textView_->handledKeyDownCount(), 3);
    EXPECT_EQ(text(), "kept\nwhile hidden\n");  // not editable: nothing typed
    EXPECT_TRUE(controller_->window()->isVisible());

    textView_->keyDown(key("w", KeyEvent::command));
    EXPECT_FALSE(controller_->isOpen());
    EXPECT_FALSE(controller_->window()->isVisible());
    EXPECT_EQ(text(), "");
    EXPECT_EQ(textView_->handledKeyDownCount(), 3);
}

TEST_F(LogWindowTest, ClearButtonEmptiesTheLogAndKeepsTheWindowOpen) {
    controller_->showWindow(nullptr);
    log("noise");
    auto* clear = dynamic_cast<platform::Button*>(
        controller_->window()->contentView()->findView("clearButton"));
    ASSERT_NE(clear, nullptr);
    EXPECT_TRUE(clear->performClick());
    EXPECT_EQ(text(), "");
    EXPECT_TRUE(controller_->isOpen());
    log("fresh");
    EXPECT_EQ(text(), "fresh\n");
}

TEST_F(LogWindowTest, LinesForAReleasedControllerAreDropped) {
    controller_->showWindow(nullptr);
    controller_->appendLine("late");
    destination_.setLogWindowController(nullptr);
    auto keptView = textView_;
    controller_.reset();
    clock_.runPending();
    EXPECT_EQ(keptView->string(), "");
}

TEST(LogViewControllerTest, FallsBackToTheSystemFontAndSkipsAMissingTextView) {
    platform::Font::setInstalledFontsForTesting(std::vector<std::string>{});
    LogViewController controller;
    platform::Font::setInstalledFontsForTesting(std::nullopt);
    EXPECT_EQ(controller.font(), platform::Font::systemFont(10));
    EXPECT_EQ(controller.textColorAttribute().font, platform::Font::systemFont(10));

    controller.appendText("nowhere\n");  // no text view connected: nothing to do
    EXPECT_TRUE(controller.view());
}

TEST(LogWindowControllerDeathTest, StopsWhenTheStoryboardsControllerIsOfAnotherClass) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    platform::testing::TemporaryFolders folders;
    const auto path = folders.path("Other.storyboard");
    std::ofstream(path) << R"(<plist version="1.0"><dict><key>scenes</key><dict>
        <key>LogWindowController</key><dict><key>class</key><string>WindowController</string></dict>
        </dict></dict></plist>)";
    auto storyboard = platform::Storyboard::loadFile(path);
    ASSERT_TRUE(storyboard);
    EXPECT_DEATH(LogWindowController::makeFrom(*storyboard), "Unable to find WindowController");
}

}  // namespace
}  // namespace zelvana::logging
