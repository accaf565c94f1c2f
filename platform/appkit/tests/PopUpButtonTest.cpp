#include "platform/appkit/PopUpButton.hpp"

#include <gtest/gtest.h>

#include "platform/appkit/Menu.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/input/Mouse.hpp"
#include "platform/testing/SimulatedInput.hpp"
#include "platform/testing/TwoDisplayTest.hpp"

namespace zelvana::platform {
namespace {

using testing::clickMiddleOf;
using testing::clickOnScreen;

// Hears the pop-up's action.
struct Chooser : ActionTarget {
    std::vector<std::int64_t> chosen;
    const PopUpButton* popUp = nullptr;
    bool performAction(const std::string& action, const ActionSender*) override {
        if (action == "choose:") chosen.push_back(popUp->selectedTag());
        return true;
    }
};

// A window with a pop-up of three widths, the second selected, shown on
// the first display.
class PopUpButtonTest : public testing::TwoDisplayTest {
protected:
    PopUpButtonTest() {
        testing::resetSimulatedInput();
        popUp->setFrame(Rect::make(100, 40, 160, 24));
        popUp->setAction("choose:");
        popUp->setTarget(targets.ref());
        for (int width = 1; width <= 3; ++width) {
            popUp->addItem(std::to_string(width) + " columns", width);
        }
        popUp->selectItemWithTag(2);
        chooser.popUp = popUp.get();
        auto content = std::make_shared<View>(Rect::make(0, 0, 400, 200));
        content->addSubview(popUp);
        window.setContentView(content);
        window.makeKeyAndOrderFront(nullptr);
    }
    ~PopUpButtonTest() override { testing::resetSimulatedInput(); }

    Point middleOfItem(std::size_t index) const {
        const Rect row = *popUp->openMenu()->frameOfItem(*popUp->openMenu()->itemArray()[index]);
        return {row.minX() + row.width() / 2, row.minY() + row.height() / 2};
    }

    Window window{Rect::make(300, 300, 400, 200)};
    std::shared_ptr<PopUpButton> popUp = std::make_shared<PopUpButton>();
    Chooser chooser;
    WeakFactory<ActionTarget> targets{&chooser};
};

TEST_F(PopUpButtonTest, AClickOpensTheMenuOverTheButtonWithTheSelectedItemChecked) {
    EXPECT_EQ(popUp->title(), "2 columns");
    clickMiddleOf(*popUp);
    Menu* menu = popUp->openMenu();
    ASSERT_NE(menu, nullptr) << "the release that ends the opening click leaves it open";
    EXPECT_EQ(Menu::trackingMenu(), menu);
    ASSERT_EQ(menu->itemArray().size(), 3u);
    EXPECT_EQ(menu->itemArray()[0]->state(), ControlState::off);
    EXPECT_EQ(menu->itemArray()[1]->state(), ControlState::on);
    // The selected row lies over the button, at least as wide as it.
    const Rect selected = *menu->frameOfItem(*menu->itemArray()[1]);
    const Point middle = testing::middleOnScreen(*popUp);
    EXPECT_TRUE(selected.contains(middle));
    EXPECT_GE(menu->frame()->width(), 160);
    EXPECT_EQ(menu->frame()->minX(), window.frame().minX() + 100);
    EXPECT_TRUE(chooser.chosen.empty());

    clickOnScreen(middleOfItem(2));
    EXPECT_EQ(chooser.chosen, std::vector<std::int64_t>{3});
    EXPECT_EQ(popUp->title(), "3 columns");
    EXPECT_EQ(Menu::trackingMenu(), nullptr);
}

TEST_F(PopUpButtonTest, AClickOutsideClosesTheMenuAndAPressDraggedToAnItemChoosesIt) {
    clickMiddleOf(*popUp);
    clickOnScreen({50, 50});
    EXPECT_EQ(Menu::trackingMenu(), nullptr);
    EXPECT_TRUE(chooser.chosen.empty());
    EXPECT_EQ(popUp->selectedTag(), 2);

    auto& mouse = Mouse::shared();
    mouse.moveTo(desktop.boundsFromFrame(Rect{testing::middleOnScreen(*popUp), {}}).origin);
    mouse.press(EventType::leftMouseDown);
    mouse.dragTo(desktop.boundsFromFrame(Rect{middleOfItem(0), {}}).origin);
    mouse.press(EventType::leftMouseUp);
    EXPECT_EQ(chooser.chosen, std::vector<std::int64_t>{1});

    popUp->setEnabled(false);
    clickMiddleOf(*popUp);
    EXPECT_EQ(Menu::trackingMenu(), nullptr) << "a disabled pop-up stays shut";
}

}  // namespace
}  // namespace zelvana::platform
