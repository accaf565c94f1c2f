#include "Zelvana/StatusItem.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Zelvana/AppDelegate.hpp"
#include "Zelvana/tests/ScreenFixture.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/StatusBar.hpp"
#include "platform/input/SystemVersion.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "switcher/SpaceSwitcher.hpp"

namespace zelvana::core::test {
namespace {

using platform::ControlState;
using platform::DragOperation;
using platform::DragOperations;
using platform::MenuItem;

// Counts what the menu asks of the hub.
class RecordingHub : public StatusMenuActions {
public:
    void showKeyDown() override { ++shown; }
    void clear() override { ++cleared; }
    int shown = 0;
    int cleared = 0;
};

class StatusItemTest : public ScreenFixture {
protected:
    StatusItemTest() {
        std::filesystem::copy_file(
            std::filesystem::path(ZELVANA_RESOURCES_DIR) / "statusTemplate.png",
            bundle.resourcePath() / "statusTemplate.png");
        addDisplay(1);
        platform::StatusBar::system()->resetForTesting();
        platform::Application::shared().resetForTesting();
        platform::Application::shared().setDelegate(delegate.get());
        delegate->setStatusMenuActions(&hub);
        StatusItem::resetSharedForTesting();
    }
    ~StatusItemTest() override {
        if (platform::Menu* open = platform::Menu::trackingMenu()) open->endTracking();
        StatusItem::resetSharedForTesting();
        switcher::SpaceSwitcher::resetSharedForTesting();
        platform::SystemVersion::resetForTesting();
        platform::Application::shared().resetForTesting();
    }

    // Connected to the delegate, as the launch does.
    StatusItem& item() {
        StatusItem::shared().connect({delegateRef, LoginRegistration::settingOnly, {}});
        return StatusItem::shared();
    }
    const platform::Menu& menu() { return *item().statusMenu(); }
    std::shared_ptr<MenuItem> advancedItem(std::size_t index) {
        return menu().itemArray()[4]->submenu()->itemArray()[index];
    }
    static const platform::ActionTarget* targetOf(const MenuItem& entry) {
        return entry.target() ? entry.target()->get() : nullptr;
    }
    const platform::ActionTarget* delegateTarget() const { return delegate.get(); }

    platform::testing::ScopedMainBundle bundle{{{"CFBundleName", "Zelvana"}}};
    std::unique_ptr<AppDelegate> delegate = std::make_unique<AppDelegate>();
    platform::WeakRef<platform::ActionTarget> delegateRef = delegate->actionTargetRef();
    RecordingHub hub;
};

TEST_F(StatusItemTest, TheMenuHoldsTheFixedItemsInOrderWithTheirKeysAndTargets) {
    struct Row {
        std::string title;
        std::string key;
        std::string action;
        bool toDelegate;
    };
    const std::vector<Row> rows{{"Show Zelvana", "", "showZelvana:", false},
                                {"", "", "", false},
                                {"Settings…", ",", "openPreferences:", true},
                                {"About", "", "showAbout:", true},
                                {"Advanced", "", "", false},
                                {"Quit Zelvana", "q", "terminateApp", true}};
    ASSERT_EQ(menu().numberOfItems(), rows.size());
    EXPECT_FALSE(menu().autoenablesItems());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const MenuItem& entry = *menu().itemArray()[i];
        SCOPED_TRACE(rows[i].title);
        EXPECT_EQ(entry.title(), rows[i].title);
        EXPECT_EQ(entry.keyEquivalent(), rows[i].key);
        EXPECT_EQ(entry.action(), rows[i].action);
        EXPECT_EQ(entry.isSeparatorItem(), i == 1);
        EXPECT_EQ(targetOf(entry), rows[i].toDelegate ? delegateTarget() : nullptr);
    }
    const MenuItem& advanced = *menu().itemArray()[4];
    EXPECT_TRUE(advanced.isAlternate());
    EXPECT_EQ(advanced.keyEquivalentModifierMask(), platform::Event::option);

    const auto& submenu = advanced.submenu()->itemArray();
    ASSERT_EQ(submenu.size(), 2u);
    EXPECT_EQ(submenu[0]->title(), "Clear All Spaces");
    EXPECT_EQ(submenu[0]->action(), "clearAllSpaces");
    EXPECT_EQ(targetOf(*submenu[0]), delegateTarget());
    EXPECT_EQ(submenu[1]->title(), "Show Space Anchor Windows");
    EXPECT_EQ(submenu[1]->action(), "setAnchorVisibility:");
    EXPECT_EQ(targetOf(*submenu[1]), static_cast<platform::ActionTarget*>(&item()));
}

TEST_F(StatusItemTest, BeforeMacOS13TheAdvancedMenuHoldsOnlyClearAllSpaces) {
    platform::SystemVersion::setMajorVersion(12);
    const auto& submenu = menu().itemArray()[4]->submenu()->itemArray();
    ASSERT_EQ(submenu.size(), 1u);
    EXPECT_EQ(submenu[0]->title(), "Clear All Spaces");
}

TEST_F(StatusItemTest, TheAnchorCheckMarkShowsWhetherAnchorsAreVisibleAndTwoChoicesUndoOne) {
    defaults().set("anchorVisibility", platform::PropertyValue(std::int64_t{3}));  // activeVisible
    relaunch();
    EXPECT_EQ(advancedItem(1)->state(), ControlState::on);
    StatusItem::resetSharedForTesting();
    defaults().removeObject("anchorVisibility");
    relaunch();
    auto anchors = advancedItem(1);
    EXPECT_EQ(anchors->state(), ControlState::off);

    EXPECT_TRUE(anchors->perform());
    EXPECT_EQ(anchors->state(), ControlState::on);
    EXPECT_EQ(defaults().integerForKey("anchorVisibility"), 2);
    EXPECT_EQ(switcher::SpaceSwitcher::shared().options()->visibility,
              switcher::SpaceAnchorVisibility::allVisible);
    anchors->perform();
    EXPECT_EQ(anchors->state(), ControlState::off);
    EXPECT_EQ(defaults().integerForKey("anchorVisibility"), 1);
    EXPECT_EQ(switcher::SpaceSwitcher::shared().options()->visibility,
              switcher::SpaceAnchorVisibility::hidden);
}

TEST_F(StatusItemTest, ChoosingItemsReachesTheHubAndAGoneDelegateIsNoCrash) {
    menu().itemArray()[0]->perform();
    advancedItem(0)->perform();
    EXPECT_EQ(hub.shown, 1);
    EXPECT_EQ(hub.cleared, 1);

    platform::Application::shared().setDelegate(nullptr);
    delegate.reset();
    EXPECT_FALSE(advancedItem(0)->perform());
    EXPECT_FALSE(menu().itemArray()[0]->perform());
    EXPECT_EQ(hub.cleared, 1);
}

TEST_F(StatusItemTest, TheHideSettingIsAppliedAndReversedWithOneStatusBarItem) {
    GlobalDefaults::hideMenuBarIcon().setValue(true);
    item().setupStatusItem();
    const auto created = item().nsStatusItem();
    ASSERT_NE(created, nullptr);
    EXPECT_FALSE(created->isVisible());
    EXPECT_EQ(created->menu(), item().statusMenu());

    GlobalDefaults::hideMenuBarIcon().setValue(false);
    item().setupStatusItem();
    EXPECT_TRUE(created->isVisible());
    GlobalDefaults::hideMenuBarIcon().setValue(true);
    item().setupStatusItem();
    EXPECT_FALSE(created->isVisible());
    EXPECT_EQ(item().nsStatusItem(), created);
    EXPECT_EQ(platform::StatusBar::system()->items().size(), 1u);
}

TEST_F(StatusItemTest, TheButtonShowsTheTemplateImageOfTheBundle) {
    item().setupStatusItem();
    const auto& image = item().nsStatusItem()->button()->image();
    ASSERT_TRUE(image.has_value());
    EXPECT_TRUE(image->isTemplate());
    EXPECT_EQ(image->size(), (platform::Size{18, 18}));
}

TEST_F(StatusItemTest, AStatusItemAskedForBeforeTheStatusBarIsMadeAtTheNextSetUp) {
    platform::WindowServer* server = platform::WindowServer::install(nullptr);
    item().setupStatusItem();
    item().openStatusMenu();
    platform::WindowServer::install(server);
    EXPECT_EQ(item().nsStatusItem(), nullptr);
    EXPECT_EQ(recorder->warnings().size(), 2u);
    item().setupStatusItem();
    EXPECT_NE(item().nsStatusItem(), nullptr);
}

TEST_F(StatusItemTest, OpeningTheMenuWhileHiddenShowsClicksAndHidesAgain) {
    GlobalDefaults::hideMenuBarIcon().setValue(true);
    item().setupStatusItem();
    PostCounter willOpen("statusMenuWillOpen");
    item().openStatusMenu();
    EXPECT_TRUE(item().nsStatusItem()->isVisible());
    clock.advance(199);
    EXPECT_EQ(willOpen.count, 0);
    clock.advance(1);
    EXPECT_EQ(willOpen.count, 1);
    EXPECT_TRUE(item().statusMenu()->isTracking());
    clock.advance(199);
    EXPECT_TRUE(item().nsStatusItem()->isVisible());
    clock.advance(1);
    EXPECT_FALSE(item().nsStatusItem()->isVisible());
}

platform::Pasteboard pasteboardOf(const std::vector<std::pair<std::string, std::string>>& items) {
    platform::Pasteboard pasteboard;
    std::vector<platform::PasteboardItem> written;
    for (const auto& [type, text] : items) {
        written.emplace_back().setString(text, type);
    }
    pasteboard.writeObjects(std::move(written));
    return pasteboard;
}

TEST_F(StatusItemTest, DragsKeepTheirFileURLsInOrderAndLeaveNothingBehind) {
    item().setupStatusItem();
    platform::StatusBarButton& button = *item().nsStatusItem()->button();
    const auto files = pasteboardOf({{platform::kPasteboardTypeFileURL, "file:///tmp/a.txt"},
                                     {platform::kPasteboardTypeString, "words"},
                                     {platform::kPasteboardTypeFileURL, "https://example.com/"},
                                     {platform::kPasteboardTypeFileURL, "file:///tmp/my file"},
                                     {platform::kPasteboardTypeFileURL, "file:///tmp/b%20c"}});
    EXPECT_EQ(button.dragEntered(platform::DraggingInfo(files)),
              DragOperations(DragOperation::copy));
    EXPECT_EQ(item().dragElements(),
              (std::vector<std::string>{"file:///tmp/a.txt", "file:///tmp/b%20c"}));
    EXPECT_EQ(button.dragMoved(platform::DraggingInfo(files)), DragOperations(DragOperation::copy));
    button.dragExited(platform::DraggingInfo(files));
    EXPECT_TRUE(item().dragElements().empty());
}

TEST_F(StatusItemTest, ADragOfNoFilesStillCopiesOnceItHasItemsAndNoItemListIsRefused) {
    const auto noFiles =
        pasteboardOf({{platform::kPasteboardTypeFileURL, "not a url"}, {"public.png", "x"}});
    EXPECT_EQ(item().draggingEntered(platform::DraggingInfo(noFiles)),
              DragOperations(DragOperation::copy));
    EXPECT_TRUE(item().dragElements().empty());
    EXPECT_TRUE(item().prepareForDragOperation(platform::DraggingInfo(noFiles)));

    const platform::Pasteboard neverWritten;
    EXPECT_EQ(item().draggingEntered(platform::DraggingInfo(neverWritten)),
              DragOperations(DragOperation::none));
}

}  // namespace
}  // namespace zelvana::core::test
