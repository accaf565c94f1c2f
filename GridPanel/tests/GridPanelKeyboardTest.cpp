#include <gtest/gtest.h>

#include "GridPanel/tests/PanelTestSupport.hpp"

namespace zelvana::gridpanel::test {
namespace {

using platform::Event;
using platform::EventType;
using platform::KeyboardLayout;
using platform::Modifier;

class GridPanelKeyboardTest : public PanelTest {
protected:
    void open(const Elements& rows) {
        elements = rows;
        reload(elements);
        controller->show(AutoClose::off);
    }
    void highlightAt(std::optional<GridLoc> loc) {
        viewController().newSelection = loc ? viewController().grid->at(*loc) : std::nullopt;
    }
    std::optional<GridLoc> highlighted() {
        const auto& selection = viewController().newSelection;
        return selection ? std::optional(selection->loc) : std::nullopt;
    }
    Elements titled(const std::vector<std::string>& titles) {
        Elements rows(1);
        for (const auto& title : titles) rows[0].push_back(std::make_shared<TestElement>(title));
        return rows;
    }
    Elements elements;
};

struct ArrowCase {
    const char* name;
    std::optional<GridLoc> from;
    std::uint16_t keyCode;
    GridLoc expected;
};

class ArrowKeys : public GridPanelKeyboardTest, public ::testing::WithParamInterface<ArrowCase> {};

// Rows of 3, 3 and 2 cells.
TEST_P(ArrowKeys, MoveTheHighlightAndStayAtTheEdges) {
    open(elementsOf({3, 3, 2}));
    highlightAt(GetParam().from);
    EXPECT_FALSE(key(GetParam().keyCode));
    EXPECT_EQ(highlighted(), GetParam().expected);
    highlightAt(GetParam().from);
    EXPECT_FALSE(key(GetParam().keyCode, Modifier::shift)) << "Shift changes nothing";
    EXPECT_EQ(highlighted(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ArrowKeys,
    ::testing::Values(ArrowCase{"TopLeftUp", GridLoc{0, 0}, 126, {0, 0}},
                      ArrowCase{"TopLeftLeft", GridLoc{0, 0}, 123, {0, 0}},
                      ArrowCase{"TopRightUp", GridLoc{0, 2}, 126, {0, 2}},
                      ArrowCase{"TopRightRight", GridLoc{0, 2}, 124, {0, 2}},
                      ArrowCase{"MiddleRightDownIntoShorterRow", GridLoc{1, 2}, 125, {2, 1}},
                      ArrowCase{"MiddleLeftRight", GridLoc{1, 0}, 124, {1, 1}},
                      ArrowCase{"BottomLeftDown", GridLoc{2, 0}, 125, {2, 0}},
                      ArrowCase{"BottomLeftLeft", GridLoc{2, 0}, 123, {2, 0}},
                      ArrowCase{"BottomRightRight", GridLoc{2, 1}, 124, {2, 1}},
                      ArrowCase{"BottomRightUp", GridLoc{2, 1}, 126, {1, 1}},
                      ArrowCase{
                          "NothingHighlightedStartsAtTheFirstCell", std::nullopt, 124, {0, 0}}),
    [](const auto& info) { return info.param.name; });

TEST_F(GridPanelKeyboardTest, DigitsPickTheNthCellAndOthersFallThroughToTheSearch) {
    open(elementsOf({2, 1}));
    EXPECT_FALSE(key(20));  // 3
    EXPECT_EQ(highlighted(), (GridLoc{1, 0}));
    EXPECT_FALSE(key(18, Modifier::shift));  // Shift-1 is 1
    EXPECT_EQ(highlighted(), (GridLoc{0, 0}));
    EXPECT_FALSE(key(84));  // keypad 2
    EXPECT_EQ(highlighted(), (GridLoc{0, 1}));

    open(titled({"Mail", "3D"}));
    highlightAt(std::nullopt);
    EXPECT_FALSE(key(20));  // 3 of two cells: the title search
    EXPECT_EQ(highlighted(), (GridLoc{0, 1}));
    highlightAt(std::nullopt);
    EXPECT_EQ(key(29), Event::keyEvent(EventType::keyDown, 29, {}, "", ""))  // 0 finds nothing
        << "nothing highlighted: delivered";
    EXPECT_FALSE(highlighted());
}

TEST_F(GridPanelKeyboardTest, TypingSearchesTitlesIgnoringCaseButNotAccents) {
    open(titled({"Alpha", "Alps", "\u00D6l", "E\u0301cole", "Beta"}));
    for (const GridLoc expected : {GridLoc{0, 0}, GridLoc{0, 1}, GridLoc{0, 0}}) {
        EXPECT_FALSE(key(0));  // a
        EXPECT_EQ(highlighted(), expected);
    }
    KeyboardLayout::setCurrent(&KeyboardLayout::german());
    EXPECT_FALSE(key(41));  // ö finds Öl
    EXPECT_EQ(highlighted(), (GridLoc{0, 2}));
    viewController().searchTitles("e");  // é is not e
    EXPECT_EQ(highlighted(), (GridLoc{0, 2}));
    viewController().searchTitles("\u00E9c");  // a composed é finds a decomposed one
    EXPECT_EQ(highlighted(), (GridLoc{0, 3}));
    viewController().searchTitles("BE");
    EXPECT_EQ(highlighted(), (GridLoc{0, 4}));
}

TEST_F(GridPanelKeyboardTest, TheSearchFieldSearchesAndSelectsItsText) {
    options->textFieldTypeMatch = true;
    controller = std::make_unique<GridPanelWindowController>(options);
    open(titled({"Alpha", "Beta"}));
    EXPECT_TRUE(key(11)) << "with the field, letters are not searched from the keys";
    EXPECT_FALSE(highlighted());
    platform::TextField& field = *viewController().textField();
    ASSERT_TRUE(window().makeFirstResponder(&field));
    field.keyDown(Event::keyEvent(EventType::keyDown, 11, {}, "b", "b"));
    EXPECT_EQ(highlighted(), (GridLoc{0, 1}));
    field.keyDown(Event::keyEvent(EventType::keyDown, 0, {}, "a", "a"));
    EXPECT_EQ(field.stringValue(), "a") << "the next character replaced the selected text";
    EXPECT_EQ(highlighted(), (GridLoc{0, 0}));
}

TEST_F(GridPanelKeyboardTest, ReturnSpaceAndEscapeActivateOrClose) {
    open(elementsOf({2}));
    EXPECT_FALSE(key(49));  // space, nothing highlighted: swallowed, nothing happens
    EXPECT_TRUE(controller->isOpen());
    highlightAt(GridLoc{0, 1});
    EXPECT_FALSE(key(49));
    EXPECT_FALSE(key(36));
    EXPECT_FALSE(key(76));  // keypad Enter
    EXPECT_EQ(elements[0][1]->selections, 3);

    key(36, Modifier::option, EventType::keyUp);  // a rename popover takes Escape
    EXPECT_TRUE(key(53));
    EXPECT_TRUE(controller->isOpen());
    cell(0, 1).dialogPopover()->cancelPressed();
    EXPECT_FALSE(key(53));
    EXPECT_FALSE(controller->isOpen());

    controller->show(AutoClose::off);
    highlightAt(std::nullopt);
    EXPECT_FALSE(key(36));  // Return with nothing highlighted closes
    EXPECT_FALSE(controller->isOpen());
}

TEST_F(GridPanelKeyboardTest, OptionReturnRenamesOnKeyUpOnlyWhileThePanelIsOpen) {
    open(elementsOf({2}));
    elements[0][0]->current = true;
    reload(elements);
    const platform::ModifierFlags option = Modifier::option;
    EXPECT_FALSE(key(36, option));
    EXPECT_EQ(elements[0][0]->selections, 0) << "the key-down does not activate";
    EXPECT_FALSE(key(76, option | Modifier::capsLock)) << "not exactly Option: Enter";
    EXPECT_FALSE(controller->isOpen());

    EXPECT_FALSE(key(36, option, EventType::keyUp));  // closed: swallowed, no popover
    EXPECT_FALSE(controller->isRenaming());

    controller->show(AutoClose::off);
    reload(elements);  // the close forgot the current cell
    EXPECT_TRUE(key(76, option, EventType::keyUp)) << "keypad Enter never renames";
    EXPECT_FALSE(controller->isRenaming());
    EXPECT_FALSE(key(36, option, EventType::keyUp));
    EXPECT_TRUE(controller->isRenaming()) << "the current cell's popover opened";
    EXPECT_NE(cell(0, 0).dialogPopover(), nullptr);
    EXPECT_FALSE(cell(0, 0).titleButton()->isHidden());
}

TEST_F(GridPanelKeyboardTest, ClosedPanelsPassKeyDownsButSwallowEscapeAndReturnKeyUps) {
    open(elementsOf({2}));
    controller->close();
    for (std::uint16_t code : {36, 53, 49, 126, 0, 18}) {
        EXPECT_TRUE(key(code)) << code;
    }
    EXPECT_FALSE(viewController().newSelection);
    EXPECT_FALSE(key(53, {}, EventType::keyUp));
    EXPECT_FALSE(key(36, {}, EventType::keyUp));
    EXPECT_TRUE(key(0, {}, EventType::keyUp));
}

TEST_F(GridPanelKeyboardTest, ListedKeysReachTheDelegateWhenNothingEarlierTookThem) {
    options->handledKeys = {122, 126, 0};  // F1, an arrow, a
    open(titled({"Mail"}));
    EXPECT_FALSE(key(122));  // F1 searches "f1": no title, so the delegate hears it
    EXPECT_FALSE(key(126));
    EXPECT_EQ(delegate->handledKeys, (std::vector<std::uint16_t>{122}));
    EXPECT_FALSE(key(122, {}, EventType::keyUp));
    options->delegate = {};
    controller = std::make_unique<GridPanelWindowController>(options);
    open(titled({"Mail"}));
    EXPECT_FALSE(key(122)) << "nobody to hear it: swallowed";
}

TEST_F(GridPanelKeyboardTest, KeysWithoutTextOrLayoutAreLeftAlone) {
    open(titled({"Alpha"}));
    const Event function = Event::keyEvent(EventType::keyDown, 63, {}, "", "");  // fn
    EXPECT_EQ(key(63), function);
    EXPECT_FALSE(highlighted()) << "no character: no search for the empty text";
    KeyboardLayout::setTranslationFailure(-50);
    EXPECT_TRUE(key(0));
    KeyboardLayout::setTranslationFailure(std::nullopt);
    KeyboardLayout::setCurrent(&KeyboardLayout::german());
    EXPECT_TRUE(key(24)) << "the dead key ´ searches its accent, which no title has";
    EXPECT_FALSE(highlighted());
}

}  // namespace
}  // namespace zelvana::gridpanel::test
