#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/MenuItem.hpp"
#include "platform/appkit/Panel.hpp"
#include "platform/desktop/tests/DesktopFixture.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/simulator/RestorableWindows.hpp"
#include "platform/testing/LogCapture.hpp"

namespace zelvana::platform {
namespace {

// Stands in for a class that restores its windows: it rebuilds panels from
// the saved identifier and state and keeps them.
struct Restorer {
    std::vector<std::string>* events;
    std::vector<std::unique_ptr<Panel>> panels;

    void restore(const std::string& identifier, const Coder& state,
                 const WindowRestoration::Completion& completion) {
        events->push_back("restore " + identifier);
        auto panel = std::make_unique<Panel>(Rect::make(0, 0, 1, 1),
                                             Window::Style::nonactivatingPanel, 2, false);
        panel->setIdentifier(identifier);
        panel->restoreStateWithCoder(state);
        completion(panel.get(), std::nullopt);
        panels.push_back(std::move(panel));
    }
};

struct LaunchDelegate : ApplicationDelegate {
    std::vector<std::string>* events;
    void applicationDidFinishLaunching() override { events->push_back("launched"); }
};

class WindowRestorationTest : public DesktopFixture {
protected:
    std::unique_ptr<Panel> makePanel(const std::string& identifier, Rect frame) {
        auto panel = std::make_unique<Panel>(frame, Window::Style::nonactivatingPanel, 2, false);
        panel->setIdentifier(identifier);
        panel->setRestorable(true);
        panel->setRestorationClass("AnchorKeeper");
        return panel;
    }

    // What a relaunch does: a fresh desktop from the saved file, the saved
    // windows handed back, then the launch handler.
    void relaunch(Restorer& restorer) {
        desktop.resetForTesting();
        ASSERT_TRUE(desktop.loadAtLaunch(std::nullopt));  // the desktop saved at termination
        WindowRestoration::registerClass(
            "AnchorKeeper", [&restorer](const std::string& identifier, const Coder& state,
                                        const WindowRestoration::Completion& completion) {
                restorer.restore(identifier, state, completion);
            });
        LaunchDelegate delegate;
        delegate.events = &events;
        desktop.applicationWillFinishLaunching();
        delegate.applicationDidFinishLaunching();
    }

    std::vector<std::string> events;
};

TEST_F(WindowRestorationTest, RestorableWindowsComeBackOnTheirSpacesBeforeTheLaunchHandler) {
    auto onSecond = makePanel("B", Rect::make(1920, 0, 1, 1));
    onSecond->orderFront(nullptr);
    switchTo(2);
    auto onFirst = makePanel("A", Rect::make(0, 0, 1, 1));
    onFirst->orderFront(nullptr);
    onFirst->setFrame(Rect::make(0, 0, 30, 20));
    auto closed = makePanel("C", Rect::make(0, 0, 1, 1));
    closed->orderFront(nullptr);
    closed->close();
    auto plain = std::make_unique<Window>(Rect::make(5, 5, 5, 5));  // not restorable
    plain->orderFront(nullptr);
    switchTo(3);

    desktop.applicationWillTerminate();  // also saves the desktop file
    onSecond.reset();
    onFirst.reset();
    closed.reset();
    plain.reset();

    Restorer restorer{&events, {}};
    relaunch(restorer);
    EXPECT_EQ(events, (std::vector<std::string>{"restore B", "restore A", "launched"}));
    ASSERT_EQ(restorer.panels.size(), 2u);
    Panel& first = *restorer.panels[1];
    EXPECT_EQ(first.identifier(), "A");
    EXPECT_EQ(first.frame(), Rect::make(0, 0, 30, 20));
    EXPECT_EQ(desktop.spaceOf(first), 2u);
    EXPECT_TRUE(first.isVisible());
    EXPECT_FALSE(first.isOnActiveSpace());  // the desktop still shows space 3
    EXPECT_EQ(desktop.shownSpace(1), 3u);
    EXPECT_EQ(desktop.spaceOf(*restorer.panels[0]), 4u);
    EXPECT_TRUE(restorer.panels[0]->isOnActiveSpace());

    // The saved state is used once.
    events.clear();
    desktop.applicationWillFinishLaunching();
    EXPECT_EQ(restorer.panels.size(), 2u);
    EXPECT_TRUE(events.empty());
}

TEST_F(WindowRestorationTest,
       WindowsWhoseSpaceIsGoneLandOnTheShownSpaceAndUnknownClassesAreSkipped) {
    auto panel = makePanel("Z", Rect::make(0, 0, 1, 1));
    panel->orderFront(nullptr);
    desktop.moveWindowToSpace(*panel, 3);
    auto orphan = makePanel("Y", Rect::make(0, 0, 1, 1));
    orphan->setRestorationClass("NobodyKnowsMe");
    orphan->orderOut(nullptr);  // hidden windows are saved too
    desktop.applicationWillTerminate();
    panel.reset();
    orphan.reset();

    desktop.resetForTesting();
    auto display = Display::make(1, Rect::make(0, 0, 1920, 1080), "Built-in", 1552, 41001, 7);
    display.spaces = {11};
    desktop.addDisplay(display);
    ASSERT_TRUE(desktop.save(*Desktop::savedDesktopFile()));
    Restorer restorer{&events, {}};
    relaunch(restorer);
    ASSERT_EQ(restorer.panels.size(), 1u);
    EXPECT_EQ(desktop.spaceOf(*restorer.panels[0]), 11u);
    EXPECT_EQ(events, (std::vector<std::string>{"restore Z", "launched"}));
}

TEST_F(WindowRestorationTest, ACorruptSavedStateIsIgnored) {
    desktop.applicationWillTerminate();  // no restorable windows: no saved state
    const auto file = *RestorableWindows::savedStateFile();
    EXPECT_FALSE(FileManager::defaultManager().fileExists(file));
    FileManager::defaultManager().createDirectory(file.parent_path(), true);
    FileManager::defaultManager().writeAtomically(file, "[{\"identifier\": 3}]");
    Restorer restorer{&events, {}};
    testing::LogCapture log;
    relaunch(restorer);
    EXPECT_EQ(events, std::vector<std::string>{"launched"});
    EXPECT_TRUE(log.hasMessageContaining("Saved windows unreadable"));
    EXPECT_FALSE(FileManager::defaultManager().fileExists(file));
}

TEST_F(WindowRestorationTest, OnlyTheFirstWindowOfAnIdentifierAndOnlySavableOnesComeBack) {
    auto first = makePanel("A", Rect::make(0, 0, 10, 10));
    auto second = makePanel("A", Rect::make(0, 0, 20, 20));
    auto lost = makePanel("L", Rect::make(0, 0, 1, 1));
    lost->setFrame(Rect::make(std::numeric_limits<double>::quiet_NaN(), 0, 1, 1));
    for (auto* panel : {first.get(), second.get(), lost.get()}) panel->orderFront(nullptr);
    desktop.applicationWillTerminate();
    first.reset();
    second.reset();
    lost.reset();

    Restorer restorer{&events, {}};
    relaunch(restorer);
    EXPECT_EQ(events, (std::vector<std::string>{"restore A", "launched"}));
    EXPECT_EQ(restorer.panels.at(0)->frame(), Rect::make(0, 0, 10, 10));
}

TEST_F(WindowRestorationTest,
       QuittingKeepsWindowsAsTheUserChoseAndTheAlternateQuitItemTurnsItRound) {
    MenuItem alternateQuit;
    alternateQuit.setIdentifier("NSAlternateQuitMenuItem");
    MenuItem plainQuit;
    struct Case {
        bool alwaysKeepsWindows;
        const ActionSender* sender;
        std::size_t restored;
    };
    for (const Case& quit :
         {Case{false, nullptr, 0}, Case{false, &plainQuit, 0}, Case{false, &alternateQuit, 1},
          Case{true, nullptr, 1}, Case{true, &alternateQuit, 0}}) {
        UserDefaults::globalDomain().set("NSQuitAlwaysKeepsWindows", quit.alwaysKeepsWindows);
        auto panel = makePanel("A", Rect::make(0, 0, 10, 10));
        panel->orderFront(nullptr);
        Application::shared().terminate(quit.sender);
        panel.reset();
        Application::shared().resetForTesting();

        Restorer restorer{&events, {}};
        relaunch(restorer);
        EXPECT_EQ(restorer.panels.size(), quit.restored)
            << quit.alwaysKeepsWindows << " " << (quit.sender == &alternateQuit);
    }
}

}  // namespace
}  // namespace zelvana::platform
