#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/PopUpButton.hpp"
#include "platform/appkit/Storyboard.hpp"
#include "platform/appkit/StoryboardActions.hpp"
#include "platform/appkit/TextView.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/testing/ScopedMainBundle.hpp"

namespace zelvana::platform {
namespace {

struct NotesViewController : ViewController {
    std::shared_ptr<TextView> notes;
    bool notesConnectedAtLoad = false;
    int clears = 0;
    Button* clearedBy = nullptr;
    int helps = 0;
    bool setOutlet(const std::string& name,
                   const std::shared_ptr<StoryboardObject>& object) override {
        if (name != "notes") return false;
        notes = std::dynamic_pointer_cast<TextView>(object);
        return notes != nullptr;
    }
    void viewDidLoad() override { notesConnectedAtLoad = notes != nullptr; }
    void awakeFromNib() override {
        ++awakenings;
        notesConnectedAtAwake = notes != nullptr;
    }
    int awakenings = 0;
    bool notesConnectedAtAwake = false;
    void connectActions(StoryboardActions& actions) override {
        actions.add<Button>("clear:", [this](Button& sender) {
            ++clears;
            clearedBy = &sender;
        });
        actions.add<PopUpButton>("choose:", [](PopUpButton&) {});
    }
    // Names the controller does not map still come by name.
    bool performAction(const std::string& action, const ActionSender*) override {
        if (action == "help:") ++helps;
        return action == "help:";
    }
};

struct NotesWindowController : WindowController {};

const char* kScenes = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>initialController</key><string>Main</string>
  <key>scenes</key><dict>
    <key>Main</key><dict>
      <key>class</key><string>NotesWindowController</string>
      <key>window</key><dict>
        <key>title</key><string>Notes</string>
        <key>frame</key><array><integer>10</integer><integer>20</integer><real>300.5</real><integer>200</integer></array>
        <key>contentViewController</key><string>Notes</string>
      </dict>
    </dict>
    <key>Notes</key><dict>
      <key>class</key><string>NotesViewController</string>
      <key>view</key><dict>
        <key>subviews</key><array>
          <dict><key>class</key><string>TextView</string><key>id</key><string>text</string>
                <key>editable</key><false/><key>string</key><string>hello</string></dict>
          <dict><key>class</key><string>Button</string><key>id</key><string>clear</string>
                <key>title</key><string>Clear</string><key>action</key><string>clear:</string></dict>
          <dict><key>class</key><string>Button</string><key>id</key><string>help</string>
                <key>action</key><string>help:</string></dict>
        </array>
      </dict>
      <key>outlets</key><dict><key>notes</key><string>text</string></dict>
    </dict>
    <key>Unknown</key><dict><key>class</key><string>NoSuchClass</string></dict>
    <key>WrongControl</key><dict>
      <key>class</key><string>NotesViewController</string>
      <key>view</key><dict><key>subviews</key><array>
        <dict><key>class</key><string>Button</string><key>action</key><string>choose:</string></dict>
      </array></dict>
    </dict>
    <key>BadOutlet</key><dict>
      <key>class</key><string>NotesViewController</string>
      <key>view</key><dict><key>id</key><string>plain</string></dict>
      <key>outlets</key><dict><key>notes</key><string>plain</string></dict>
    </dict>
    <key>Loop</key><dict>
      <key>class</key><string>WindowController</string>
      <key>window</key><dict><key>contentViewController</key><string>Loop</string></dict>
    </dict>
  </dict>
</dict></plist>
)";

class StoryboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        Storyboard::registerClass("NotesViewController",
                                  [] { return std::make_unique<NotesViewController>(); });
        Storyboard::registerClass("NotesWindowController",
                                  [] { return std::make_unique<NotesWindowController>(); });
        std::ofstream(bundle_.resourcePath() / "Notes.storyboard") << kScenes;
        std::string error;
        auto loaded = Storyboard::load("Notes", Bundle::main(), &error);
        ASSERT_TRUE(loaded) << error;
        storyboard_ = std::make_unique<Storyboard>(*loaded);
    }

    testing::ScopedMainBundle bundle_{{{"CFBundleIdentifier", "com.example.Notes"}}};
    std::unique_ptr<Storyboard> storyboard_;
};

TEST_F(StoryboardTest, MakesTheControllerWithItsWindowViewsAndOutlets) {
    auto made = std::dynamic_pointer_cast<NotesWindowController>(
        storyboard_->instantiateInitialController());
    ASSERT_TRUE(made);
    Window* window = made->window();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->title(), "Notes");
    EXPECT_EQ(window->frame(), Rect::make(10, 20, 300.5, 200));
    EXPECT_FALSE(window->isVisible());

    auto* content = dynamic_cast<NotesViewController*>(made->contentViewController());
    ASSERT_TRUE(content);
    EXPECT_TRUE(content->notesConnectedAtLoad);
    EXPECT_EQ(content->awakenings, 1);
    EXPECT_TRUE(content->notesConnectedAtAwake) << "awoken once the scene is connected";
    EXPECT_EQ(content->notes->string(), "hello");
    EXPECT_FALSE(content->notes->isEditable());
    EXPECT_EQ(content->notes->window(), window);

    auto* clear = dynamic_cast<Button*>(window->contentView()->findView("clear"));
    ASSERT_TRUE(clear);
    EXPECT_EQ(clear->title(), "Clear");
    EXPECT_TRUE(clear->performClick());
    EXPECT_EQ(content->clears, 1);
    EXPECT_EQ(content->clearedBy, clear) << "the control calls its callback with itself";
    EXPECT_TRUE(dynamic_cast<Button*>(window->contentView()->findView("help"))->performClick());
    EXPECT_EQ(content->helps, 1);

    auto again = storyboard_->instantiateController("Main");  // a fresh object each time
    EXPECT_NE(again, made);
}

TEST_F(StoryboardTest, RefusesWhatItCannotBuild) {
    std::string error;
    EXPECT_EQ(storyboard_->instantiateController("Unknown", &error), nullptr);
    EXPECT_NE(error.find("NoSuchClass"), std::string::npos) << error;
    EXPECT_EQ(storyboard_->instantiateController("Absent", &error), nullptr);
    EXPECT_NE(error.find("Absent"), std::string::npos) << error;
    EXPECT_EQ(storyboard_->instantiateController("BadOutlet", &error), nullptr);
    EXPECT_NE(error.find("notes"), std::string::npos) << error;
    EXPECT_EQ(storyboard_->instantiateController("Loop", &error), nullptr);
    EXPECT_EQ(storyboard_->instantiateController("WrongControl", &error), nullptr);
    EXPECT_NE(error.find("choose:"), std::string::npos) << error;
    EXPECT_FALSE(Storyboard::isClassRegistered("NoSuchClass"));
    EXPECT_TRUE(Storyboard::isClassRegistered("TextView"));

    EXPECT_FALSE(Storyboard::load("Missing", Bundle::main(), &error));
    std::ofstream(bundle_.resourcePath() / "Broken.storyboard") << "<plist><dict>";
    EXPECT_FALSE(Storyboard::load("Broken", Bundle::main(), &error));
    std::ofstream(bundle_.resourcePath() / "Empty.storyboard")
        << R"(<plist version="1.0"><dict/></plist>)";
    EXPECT_FALSE(Storyboard::load("Empty", Bundle::main(), &error));
}

}  // namespace
}  // namespace zelvana::platform
