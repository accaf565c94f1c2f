#include <gtest/gtest.h>

#include "GridPanel/tests/PanelTestSupport.hpp"

namespace zelvana::gridpanel::test {
namespace {

using platform::Application;

class GridPanelWindowControllerTest : public PanelTest {};

TEST_F(GridPanelWindowControllerTest,
       MakesAFloatingNonActivatingTransientPanelTitledFromTheOptions) {
    EXPECT_EQ(window().styleMask().rawValue(), 128u);
    EXPECT_TRUE((window().collectionBehavior().rawValue() & 8u) != 0);  // transient
    EXPECT_FALSE(window().isOpaque());
    EXPECT_FALSE(window().hasShadow());
    EXPECT_EQ(window().title(), "Search");
    EXPECT_STREQ(GridPanelWindowController::autosaveName, "GridPanelWindow");
    options->windowTitle = "Spaces";
    GridPanelWindowController titled(options);
    options->windowTitle = "Later";
    EXPECT_EQ(titled.window()->title(), "Spaces");
}

TEST_F(GridPanelWindowControllerTest, EveryWayOfClosingEndsTheOneModalSessionAndReportsOnce) {
    reload(elementsOf({2}));
    Application& app = Application::shared();
    const auto expectClosed = [&](int closes) {
        EXPECT_FALSE(controller->isOpen());
        EXPECT_FALSE(controller->modalSession());
        EXPECT_EQ(app.modalSessionCount(), 0u);
        EXPECT_EQ(delegate->closes, closes);
    };

    controller->show(AutoClose::off);
    controller->show(AutoClose::off);  // open already: still one session
    EXPECT_TRUE(controller->isOpen());
    EXPECT_EQ(app.modalSessionCount(), 1u);
    EXPECT_EQ(app.modalWindow(), &window());
    controller->close();
    controller->close();
    expectClosed(1);

    controller->show(AutoClose::off);
    window().close();  // the window itself: through the controller
    expectClosed(2);

    controller->show(AutoClose::off);
    platform::Window other(platform::Rect::make(0, 0, 10, 10));
    other.makeKeyWindow();  // losing key status closes it
    expectClosed(3);

    controller->show(AutoClose::on);
    clock.advance(1999);
    EXPECT_TRUE(controller->isOpen());
    clock.advance(1);
    expectClosed(4);

    controller->show(AutoClose::off);
    controller->activateSelection();  // nothing highlighted: only closes
    expectClosed(5);

    delegate.reset();  // a host that went first hears nothing
    controller->show(AutoClose::on);
    clock.advance(2000);
    EXPECT_FALSE(controller->isOpen());
}

TEST_F(GridPanelWindowControllerTest, AutoCloseRestartsOnShowAndStopsWhenTheHighlightMoves) {
    reload(elementsOf({3}));
    controller->show(AutoClose::on);
    clock.advance(1500);
    controller->show(AutoClose::on);  // the first timer goes with its replacement
    clock.advance(1500);
    EXPECT_TRUE(controller->isOpen());
    controller->move(4);
    clock.advance(5000);
    EXPECT_TRUE(controller->isOpen());
    EXPECT_EQ(delegate->closes, 0);
}

TEST_F(GridPanelWindowControllerTest, MovesTheHighlightByRawDirectionAndActivatesIt) {
    auto elements = elementsOf({3, 1});
    reload(elements);
    controller->move(0);
    controller->move(9);
    EXPECT_TRUE(delegate->selections.empty());
    controller->move(4);  // right, from nothing: the first cell
    controller->move(4);
    controller->selectNext();
    controller->selectNext();  // the second row
    controller->selectPrevious();
    EXPECT_EQ(delegate->selections,
              (std::vector<std::optional<std::string>>{"0,0", "0,1", "0,2", "1,0", "0,2"}));
    controller->show(AutoClose::off);
    controller->activateSelection();
    EXPECT_EQ(elements[0][2]->selections, 1);
    EXPECT_EQ(delegate->selections.back(), std::nullopt);  // closing clears the highlight
    EXPECT_FALSE(elements[0][2]->isNewSelection());
}

TEST_F(GridPanelWindowControllerTest, UpdatesElementsInPlaceOnlyForItsGrid) {
    reload(elementsOf({2}), 7);
    auto replacement = std::make_shared<TestElement>("0,1");
    replacement->setImage(platform::Image(platform::Size{10, 10}));
    controller->updateElements(8, {{replacement}});
    EXPECT_EQ(cell(0, 1).imageView(), nullptr);
    controller->updateElements(7, {{replacement}});
    EXPECT_NE(cell(0, 1).imageView(), nullptr);
    EXPECT_EQ(viewController().grid->grid[0][1]->element(), replacement);
    reload(elementsOf({2}));
    controller->updateElements(7, {{replacement}});  // a grid without id matches none
    EXPECT_EQ(cell(0, 1).imageView(), nullptr);
}

TEST_F(GridPanelWindowControllerTest, HandsListedKeysAndModifierChangesToTheDelegateWhileOpen) {
    options->handledKeys = {122};  // F1: no title starts with "f1"
    reload(elementsOf({1}));
    const auto key = [](std::uint16_t code) {
        return platform::Event::keyEvent(platform::EventType::keyDown, code, {}, " ", " ");
    };
    Application::shared().sendEvent(key(122));  // closed: passes by
    controller->show(AutoClose::off);
    Application::shared().sendEvent(key(122));
    Application::shared().sendEvent(key(0));
    auto flags = key(56);
    flags.type = platform::EventType::flagsChanged;
    Application::shared().sendEvent(flags);
    EXPECT_EQ(delegate->handledKeys, (std::vector<std::uint16_t>{122}));
    EXPECT_EQ(delegate->flagChanges, (std::vector<std::uint16_t>{56}));
    EXPECT_EQ(Application::shared().deliveredEvents().size(), 3u);  // the handled one was swallowed
}

}  // namespace
}  // namespace zelvana::gridpanel::test
