#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/StatusBar.hpp"
#include "platform/appkit/StatusItem.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/simulator/Keyboard.hpp"
#include "platform/simulator/Mouse.hpp"
#include "platform/system/UnifiedLog.hpp"
#include "platform/testing/SimulatedInput.hpp"
#include "platform/testing/TwoDisplayTest.hpp"

namespace zelvana::platform {
namespace {

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application::shared().resetForTesting();
        RunLoop::main().resetForTesting();
        auto& center = NotificationCenter::defaultCenter();
        for (const char* name :
             {kMenuDidBeginTrackingNotification, kMenuDidEndTrackingNotification}) {
            observers.push_back(center.addObserver(name, [this](const Notification& n) {
                const auto* menu = std::any_cast<Menu*>(&n.object);
                const std::string mode = RunLoop::main().currentMode().value_or("none");
                heard.push_back(n.name.substr(9, 5) + " " + (menu ? (*menu)->title() : "?") +
                                " in " + mode);
            }));
        }
    }
    void TearDown() override {
        Application::shared().resetForTesting();
        RunLoop::main().resetForTesting();
    }

    std::vector<Subscription> observers;
    std::vector<std::string> heard;
};

Event keyDown(std::string characters, ModifierFlags flags, std::string ignoringModifiers = "") {
    if (ignoringModifiers.empty()) ignoringModifiers = characters;
    return Event::keyEvent(EventType::keyDown, 0, flags, characters, ignoringModifiers);
}

TEST_F(MenuTest, ItemsBelongToOneMenuAndSubmenusKnowTheirSupermenu) {
    Menu bar("Main");
    auto file = bar.addItem("File", "", "");
    auto submenu = std::make_shared<Menu>("File");
    file->setSubmenu(submenu);
    auto close = submenu->addItem("Close", "performClose:", "w");
    bar.insertItem(MenuItem::separatorItem(), 0);

    EXPECT_EQ(bar.numberOfItems(), 2u);
    EXPECT_TRUE(bar.itemArray()[0]->isSeparatorItem());
    EXPECT_EQ(bar.itemWithTitle("File"), file);
    EXPECT_EQ(bar.itemWithTitle("Edit"), nullptr);
    EXPECT_EQ(submenu->supermenu(), &bar);
    EXPECT_EQ(close->menu(), submenu.get());
    EXPECT_EQ(close->keyEquivalentModifierMask(), Event::command);

    Menu other("Other");
    other.addItem(close);
    EXPECT_EQ(submenu->numberOfItems(), 0u);
    EXPECT_EQ(close->menu(), &other);
    bar.removeAllItems();
    EXPECT_EQ(submenu->supermenu(), nullptr);
    EXPECT_EQ(file->menu(), nullptr);
}

TEST_F(MenuTest, KeyEquivalentsNeedTheirKeyAndExactlyTheirModifiers) {
    Menu menu;
    auto upper = menu.addItem("Quit all", "", "Q");
    auto lower = menu.addItem("Quit", "", "q");
    auto bang = menu.addItem("Bang", "", "!");
    auto functionItem = menu.addItem("Fn", "", "f");
    functionItem->setKeyEquivalentModifierMask(Event::command | Event::function);
    auto submenu = std::make_shared<Menu>();
    auto nested = submenu->addItem("Nested", "", "n");
    nested->setKeyEquivalentModifierMask(Event::command | Event::option);
    menu.addItem("Sub", "", "")->setSubmenu(submenu);
    std::vector<std::string> performed;
    nested->setActionHandler([&](MenuItem& item) { performed.push_back(item.title()); });

    const auto cmd = Event::command;
    EXPECT_TRUE(upper->matchesKeyEquivalent(keyDown("Q", cmd | Event::shift)));
    EXPECT_FALSE(upper->matchesKeyEquivalent(keyDown("q", cmd)));
    EXPECT_TRUE(lower->matchesKeyEquivalent(keyDown("q", cmd | Event::capsLock)));
    EXPECT_FALSE(lower->matchesKeyEquivalent(keyDown("Q", cmd | Event::shift)));
    EXPECT_FALSE(lower->matchesKeyEquivalent(keyDown("q", cmd | Event::control)));
    EXPECT_TRUE(bang->matchesKeyEquivalent(keyDown("!", cmd | Event::shift)));
    EXPECT_FALSE(functionItem->matchesKeyEquivalent(keyDown("f", cmd)));

    lower->setEnabled(false);
    EXPECT_FALSE(menu.performKeyEquivalent(keyDown("q", cmd)));
    lower->setEnabled(true);
    lower->setHidden(true);  // hidden items still answer their keys
    EXPECT_TRUE(menu.performKeyEquivalent(keyDown("q", cmd)));
    EXPECT_EQ(lower->performCount(), 1);

    EXPECT_TRUE(menu.performKeyEquivalent(keyDown("n", cmd | Event::option)));
    EXPECT_EQ(performed, (std::vector<std::string>{"Nested"}));
    Event up = keyDown("n", cmd | Event::option);
    up.type = EventType::keyUp;
    EXPECT_FALSE(menu.performKeyEquivalent(up));
}

TEST_F(MenuTest, AnActionMayRebuildItsMenuOrReplaceTheMainMenu) {
    auto bar = std::make_shared<Menu>("Main");
    auto rebuild = bar->addItem("Rebuild", "rebuild:", "r");
    int rebuilt = 0;
    rebuild->setActionHandler([&bar, &rebuilt](MenuItem&) {
        bar->removeAllItems();  // drops the last owner of the chosen item
        bar->addItem("Rebuild", "rebuild:", "r");
        ++rebuilt;
    });
    rebuild.reset();
    EXPECT_TRUE(bar->performKeyEquivalent(keyDown("r", Event::command)));
    EXPECT_EQ(rebuilt, 1);

    auto& app = Application::shared();
    auto swap = bar->addItem("Swap", "swap:", "s");
    swap->setActionHandler([&app](MenuItem&) { app.setMainMenu(std::make_shared<Menu>("New")); });
    swap.reset();
    app.setMainMenu(std::move(bar));
    app.sendEvent(keyDown("s", Event::command));
    EXPECT_EQ(app.mainMenu()->title(), "New");
    EXPECT_TRUE(app.deliveredEvents().empty());
}

TEST_F(MenuTest, TrackingIsAnnouncedAroundTheEventTrackingModeOneMenuAtATime) {
    Menu first("first");
    Menu second("second");
    first.beginTracking();
    EXPECT_TRUE(first.isTracking());
    EXPECT_EQ(Menu::trackingMenu(), &first);
    EXPECT_EQ(RunLoop::main().currentMode(), kEventTrackingRunLoopMode);
    first.beginTracking();  // already open

    second.beginTracking();
    EXPECT_FALSE(first.isTracking());
    second.endTracking();
    second.endTracking();  // already closed
    EXPECT_EQ(Menu::trackingMenu(), nullptr);
    EXPECT_FALSE(RunLoop::main().currentMode().has_value());
    EXPECT_EQ(heard, (std::vector<std::string>{"Begin first in none", "EndTr first in none",
                                               "Begin second in none", "EndTr second in none"}));
}

TEST_F(MenuTest, AnOpenMenuTakesQueuedEventsAfterTheTrackingModeObservers) {
    Application& app = Application::shared();
    Menu menu("status");
    // Like a monitor that drains the queue before sources, dropping "a".
    auto drain = RunLoopObserver::create(
        RunLoopActivity::beforeSources, true, 0, [&](RunLoopObserver&, RunLoopActivity) {
            std::vector<Event> taken;
            while (auto event =
                       app.nextEvent(EventMask::any, std::nullopt, kCFRunLoopDefaultMode, true)) {
                taken.push_back(*event);
            }
            for (const auto& event : taken) {
                if (event.characters != "a") {
                    app.postEvent(event, false);
                }
            }
        });
    const auto draining = RunLoop::main().addObserver(drain, kEventTrackingRunLoopMode);

    menu.beginTracking();
    app.postEvent(keyDown("a", {}), false);
    app.postEvent(keyDown("b", {}), false);
    ASSERT_EQ(menu.receivedEvents().size(), 1u);
    EXPECT_EQ(menu.receivedEvents()[0].characters, "b");
    EXPECT_TRUE(app.deliveredEvents().empty());
    menu.endTracking();

    // Closed, the menu hears nothing; the application dispatches again, and
    // the observer of the tracking mode is not asked.
    app.postEvent(keyDown("a", {}), false);
    EXPECT_EQ(menu.receivedEvents().size(), 1u);
    ASSERT_EQ(app.deliveredEvents().size(), 1u);
    EXPECT_EQ(app.deliveredEvents()[0].characters, "a");
}

// Hears menus open and close, and takes the actions it knows.
class Receiver : public MenuDelegate, public ActionTarget, public ApplicationDelegate {
public:
    explicit Receiver(std::vector<std::string>& heard) : heard_(heard) {}
    void menuWillOpen(Menu& menu) override { heard_.push_back("open " + menu.title()); }
    void menuDidClose(Menu& menu) override { heard_.push_back("closed " + menu.title()); }
    bool performAction(const std::string& action, const ActionSender* sender) override {
        if (action != "known:") return false;
        heard_.push_back(action + (sender == lastSender ? " from it" : " from elsewhere"));
        return true;
    }
    WeakRef<ActionTarget> ref() const { return weak_.ref(); }
    const ActionSender* lastSender = nullptr;

private:
    std::vector<std::string>& heard_;
    WeakFactory<ActionTarget> weak_{this};
};

TEST_F(MenuTest, TheDelegateHearsTheMenuOpenBeforeTrackingAndCloseAfterIt) {
    Receiver receiver(heard);
    {
        Menu menu("status");
        menu.setDelegate(&receiver);
        menu.beginTracking();
        menu.endTracking();
        menu.beginTracking();  // destroyed open: the delegate hears nothing more
    }
    EXPECT_EQ(heard,
              (std::vector<std::string>{"open status", "Begin status in none",
                                        "EndTr status in none", "closed status", "open status",
                                        "Begin status in none", "EndTr status in none"}));
}

TEST_F(MenuTest, EscapeOrAClickOutsideClosesAnOpenMenuOnce) {
    Application& app = Application::shared();
    const Event escape = Event::keyEvent(EventType::keyDown, 53, {}, "\x1b", "\x1b");
    const Event closers[] = {escape, Event::mouseEvent(EventType::leftMouseDown, {5, 5}, nullptr),
                             Event::mouseEvent(EventType::rightMouseDown, {5, 5}, nullptr)};
    for (const Event& closer : closers) {
        SCOPED_TRACE(static_cast<int>(closer.type));
        heard.clear();
        app.clearDeliveredEvents();
        Receiver receiver(heard);
        Menu menu("status");
        menu.setDelegate(&receiver);
        menu.beginTracking();
        app.postEvent(keyDown("a", {}), false);
        EXPECT_TRUE(menu.isTracking());  // other keys leave it open
        app.postEvent(closer, false);
        EXPECT_FALSE(menu.isTracking());
        EXPECT_EQ(Menu::trackingMenu(), nullptr);
        app.postEvent(keyDown("b", {}), false);
        EXPECT_EQ(std::count(heard.begin(), heard.end(), "closed status"), 1);
        EXPECT_EQ(menu.receivedEvents().size(), 2u);
        ASSERT_EQ(app.deliveredEvents().size(), 1u);
        EXPECT_EQ(app.deliveredEvents()[0].characters, "b");
    }
}

TEST_F(MenuTest, ActionsGoToTheTargetElseTheDelegateAndAGoneTargetIsLoggedNotCalled) {
    std::vector<std::string> logged;
    UnifiedLog::setSinkForTesting(
        [&](const UnifiedLogEntry& entry) { logged.push_back(entry.message); });
    auto receiver = std::make_unique<Receiver>(heard);
    Application::shared().setDelegate(receiver.get());
    Menu menu("m");
    auto targeted = menu.addItem("Targeted", "known:", "");
    targeted->setTarget(receiver->ref());
    auto untargeted = menu.addItem("Untargeted", "known:", "");
    auto unknown = menu.addItem("Unknown", "unknown:", "");

    receiver->lastSender = targeted.get();
    EXPECT_TRUE(targeted->perform());
    receiver->lastSender = untargeted.get();
    EXPECT_TRUE(untargeted->perform());
    EXPECT_FALSE(unknown->perform());
    Application::shared().setDelegate(nullptr);
    receiver.reset();
    EXPECT_FALSE(targeted->perform());
    UnifiedLog::setSinkForTesting(nullptr);

    EXPECT_EQ(heard, (std::vector<std::string>{"known: from it", "known: from it"}));
    EXPECT_EQ(logged, (std::vector<std::string>{
                          "No one handles unknown: of the menu item \"Unknown\"",
                          "The target of the menu item \"Targeted\" is gone; known: not sent"}));
}

// A status item's menu on the 1920 x 1080 display, opened by a person's click.
class ShownMenuTest : public testing::TwoDisplayTest {
protected:
    ShownMenuTest() {
        testing::resetSimulatedInput();
        item->button()->setTitle("Z");
        item->setMenu(menu);
    }
    ~ShownMenuTest() override { testing::resetSimulatedInput(); }

    // Sixty items and "Quit": taller than the screen.
    void fill() {
        for (int n = 1; n <= 60; ++n) menu->addItem("Item " + std::to_string(n), "pick:", "");
        menu->addItem(MenuItem::separatorItem());
        quit = menu->addItem("Quit", "terminate:", "q");
    }
    void open() { testing::clickMiddleOf(*item->button()); }
    static void press(std::uint16_t key) { Keyboard::shared().press(key, {}); }
    // A point of the screen (y up) for the mouse, whose y grows downwards.
    static void pointAt(Point onScreen) { Mouse::shared().moveTo({onScreen.x, 1080 - onScreen.y}); }

    std::shared_ptr<StatusItem> item = StatusBar::system()->statusItem(StatusItem::variableLength);
    std::shared_ptr<Menu> menu = std::make_shared<Menu>("status");
    std::shared_ptr<MenuItem> quit;
};

TEST_F(ShownMenuTest, AMenuTallerThanItsScreenScrollsWhileThePointerRestsOnAnArrow) {
    fill();
    open();
    ASSERT_TRUE(menu->isTracking() && menu->frame());
    const Rect visible = Screen::main()->visibleFrame();
    EXPECT_TRUE(visible.contains(*menu->frame()));
    EXPECT_EQ(menu->frame()->maxY(), visible.maxY()) << "hanging from the menu bar";
    EXPECT_FALSE(menu->canScroll(Menu::ScrollDirection::up));
    EXPECT_FALSE(menu->frameOfItem(*quit)) << "below the screen's edge at first";

    // Resting on the bottom arrow scrolls down to the end, and no further.
    pointAt({menu->frame()->midX(), menu->frame()->minY() + Menu::scrollArrowHeight / 2});
    clock.advance(200);
    EXPECT_TRUE(menu->canScroll(Menu::ScrollDirection::up));
    clock.advance(5000);
    EXPECT_FALSE(menu->canScroll(Menu::ScrollDirection::down));
    EXPECT_EQ(menu->highlightedItem(), quit) << "the arrow gone, the pointer rests on it";
    // Walked back up by the keys, the arrow returns under the pointer and scrolls again.
    for (int n = 0; n < 60; ++n) press(kVK_UpArrow);
    ASSERT_TRUE(menu->canScroll(Menu::ScrollDirection::down));
    pointAt({menu->frame()->midX() + 1, menu->frame()->minY() + Menu::scrollArrowHeight / 2});
    clock.advance(5000);
    EXPECT_FALSE(menu->canScroll(Menu::ScrollDirection::down));
    const auto place = menu->frameOfItem(*quit);
    ASSERT_TRUE(place);
    EXPECT_TRUE(visible.contains(*place));

    testing::clickOnScreen({place->midX(), place->midY()});
    EXPECT_FALSE(menu->isTracking());
    EXPECT_EQ(quit->performCount(), 1);
}

TEST_F(ShownMenuTest, AnItemAddedWhileTheMenuIsOpenIsScrolledToAsTheOthers) {
    fill();
    open();
    const auto late = menu->addItem("Late", "pick:", "");
    press(kVK_UpArrow);
    EXPECT_EQ(menu->highlightedItem(), late);
    EXPECT_TRUE(menu->frameOfItem(*late)) << "scrolled far enough to show it";
}

TEST_F(ShownMenuTest, TheArrowKeysWalkPastTheEdgeAndReturnChooses) {
    fill();
    open();
    press(kVK_UpArrow);
    EXPECT_EQ(menu->highlightedItem(), quit) << "up from nothing: the last item";
    EXPECT_TRUE(menu->frameOfItem(*quit)) << "brought into sight";
    for (int n = 0; n < 61; ++n) press(kVK_DownArrow);
    EXPECT_EQ(menu->highlightedItem(), quit) << "the separator skipped, the end kept";
    for (int n = 0; n < 60; ++n) press(kVK_UpArrow);
    EXPECT_EQ(menu->highlightedItem()->title(), "Item 1");
    EXPECT_FALSE(menu->canScroll(Menu::ScrollDirection::up));
    press(kVK_DownArrow);
    press(kVK_Return);
    EXPECT_FALSE(menu->isTracking());
    EXPECT_EQ(menu->itemWithTitle("Item 2")->performCount(), 1);

    open();
    press(kVK_DownArrow);
    EXPECT_EQ(menu->highlightedItem()->title(), "Item 1") << "down from nothing: the first item";
}

TEST_F(ShownMenuTest, AMenuFitsItsTitlesButIsNeverWiderThanItsScreen) {
    menu->addItem("About", "about:", "");
    open();
    EXPECT_EQ(menu->frame()->width(), 160) << "the narrowest a status item's menu gets";
    menu->endTracking();

    menu->addItem(std::string(400, 'w'), "pick:", "");
    open();
    const Rect visible = Screen::main()->visibleFrame();
    EXPECT_EQ(menu->frame()->width(), visible.width() - 2 * 4) << "4 points clear of each side";
    EXPECT_TRUE(visible.contains(*menu->frame()));
}

TEST_F(ShownMenuTest, APopUpMenuIsAsWideAsAskedWhereverItOpens) {
    Menu popUp;
    popUp.addItem("None", "pick:", "");
    for (const Point at : {Point{100, 500}, Point{-5000, -5000}}) {  // on display 1, on none
        popUp.popUpMenuPositioningItem(nullptr, at, 300);
        EXPECT_EQ(popUp.frame()->width(), 300) << "opened at " << at.x << ", " << at.y;
        popUp.endTracking();
    }
}

}  // namespace
}  // namespace zelvana::platform
