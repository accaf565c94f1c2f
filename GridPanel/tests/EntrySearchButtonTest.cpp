#include "GridPanel/EntrySearchButton.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/appkit/Window.hpp"
#include "platform/dispatch/Clock.hpp"

namespace zelvana::gridpanel {
namespace {

using platform::EventType;
using platform::Rect;

class EntrySearchButtonTest : public ::testing::Test {
protected:
    struct Target : platform::StoryboardObject {
        int clicks = 0;
        bool performAction(const std::string& action,
                           const platform::ActionSender* /*sender*/) override {
            clicks += action == "search:";
            return true;
        }
    };

    EntrySearchButtonTest() {
        button->setFrame(Rect::make(10, 5, 30, 20));
        container->addSubview(button);
        window.setContentView(container);
        button->setAction("search:");
        button->setTarget(target->actionTarget());
        button->setMenu(menu);
    }
    ~EntrySearchButtonTest() override { menu->endTracking(); }

    void mouse(EventType type) {
        window.sendEvent(platform::Event::mouseEvent(type, {20, 10}, &window));
    }

    platform::VirtualClock clock;
    platform::Window window{Rect::make(0, 0, 100, 40)};
    std::shared_ptr<platform::View> container =
        std::make_shared<platform::View>(Rect::make(0, 0, 100, 40));
    std::shared_ptr<EntrySearchButton> button = std::make_shared<EntrySearchButton>();
    std::shared_ptr<platform::Menu> menu = std::make_shared<platform::Menu>("Options");
    std::shared_ptr<Target> target = std::make_shared<Target>();
};

TEST_F(EntrySearchButtonTest, HoldingOpensTheMenuAtTheBottomRightCorner) {
    mouse(EventType::leftMouseDown);
    clock.advance(299);
    EXPECT_FALSE(menu->isTracking());
    EXPECT_TRUE(button->isHighlighted());
    clock.advance(1);
    EXPECT_TRUE(menu->isTracking());
    EXPECT_EQ(menu->contextMenuLocation(), (platform::Point{40, 25}));
    mouse(EventType::leftMouseUp);
    EXPECT_EQ(target->clicks, 0);

    menu->endTracking();
    clock.runPending();
    EXPECT_FALSE(button->isHighlighted()) << "closing the menu ends the highlight";
}

TEST_F(EntrySearchButtonTest, AQuickClickSendsTheActionAndOpensNoMenu) {
    mouse(EventType::leftMouseDown);
    clock.advance(100);
    mouse(EventType::leftMouseUp);
    clock.advance(500);
    EXPECT_EQ(target->clicks, 1);
    EXPECT_FALSE(menu->isTracking());
    EXPECT_FALSE(button->isHighlighted());
}

TEST_F(EntrySearchButtonTest, WithoutLongPressTheMenuOpensAtOnce) {
    button->setLongPress(false);
    mouse(EventType::leftMouseDown);
    EXPECT_TRUE(menu->isTracking());
}

TEST_F(EntrySearchButtonTest, WithoutAMenuItIsAPlainButton) {
    button->setMenu(nullptr);
    mouse(EventType::leftMouseDown);
    mouse(EventType::leftMouseUp);
    EXPECT_EQ(target->clicks, 1);
}

}  // namespace
}  // namespace zelvana::gridpanel
