#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "GridPanel/AutoGrowingTextField.hpp"
#include "GridPanel/EntrySearchField.hpp"
#include "GridPanel/HxDimensionHuggingTextField.hpp"
#include "GridPanel/SearchField.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::gridpanel {
namespace {

using platform::Rect;
using platform::Size;

// What the platform measures for a text on one line, padding included.
Size oneLine(const std::string& text) {
    return platform::TextField(text).cellSizeForBounds(
        Rect{{}, {std::numeric_limits<double>::infinity(), 0}});
}

// The text alone, without the room a bezeled field keeps on each side.
double textWidth(const std::string& text) {
    return oneLine(text).width - 2 * platform::TextField::bezelPadding;
}

TEST(TextFieldWidgetsTest, SearchFieldIsSixtyWideWhileEmpty) {
    SearchField field;
    EXPECT_EQ(field.intrinsicContentSize(), (Size{60.0, oneLine("").height + 10.0}));
    field.setStringValue("spaces");
    EXPECT_EQ(field.intrinsicContentSize(),
              (Size{oneLine("spaces").width + 4.0, oneLine("spaces").height + 10.0}));
}

TEST(TextFieldWidgetsTest, EntrySearchFieldIsFortyHighAndGrowsWithPadding) {
    EntrySearchField field("find");
    EXPECT_EQ(field.intrinsicContentSize(), (Size{oneLine("find").width, 40.0}));
    field.setPadding(12);
    EXPECT_EQ(field.intrinsicContentSize(), (Size{oneLine("find").width + 12, 40.0}));
}

TEST(TextFieldWidgetsTest, HuggingFieldsAskNothingAcrossTheirDimension) {
    HxWidthHuggingTextField wide(Rect::make(0, 0, 50, 20));
    wide.setStringValue("wide text");
    EXPECT_EQ(wide.intrinsicContentSize(), (Size{oneLine("wide text").width, -1}));

    HxHeightHuggingTextField tall(Rect::make(0, 0, 50, 20));
    EXPECT_EQ(tall.huggedDimension(), HxDimensionHuggingTextField::Dimension::vertical);
    tall.setLineBreakMode(platform::LineBreakMode::byWordWrapping);
    tall.setStringValue("many words to wrap over lines");
    const auto size = tall.intrinsicContentSize();
    EXPECT_EQ(size.width, -1);
    EXPECT_GT(size.height, oneLine("x").height) << "wraps at the field's width";
}

TEST(TextFieldWidgetsTest, AutoGrowingFieldFollowsItsTextAndFallsBackToThePlaceholder) {
    platform::Window window(Rect::make(0, 0, 300, 40));
    auto field = std::make_shared<AutoGrowingTextField>(Rect::make(0, 0, 100, 20));
    window.setContentView(field);
    const double height = platform::TextField().intrinsicContentSize().height;  // a bezeled line
    EXPECT_EQ(field->intrinsicContentSize(), (Size{0, height})) << "no text, no placeholder";

    field->setPlaceholderString("Name");
    const double placeholder = textWidth("Name");
    EXPECT_EQ(field->intrinsicContentSize().width, placeholder);
    field->setStringValue("Desk");
    EXPECT_EQ(field->intrinsicContentSize().width, textWidth("Desk"));

    ASSERT_TRUE(window.makeFirstResponder(field.get()));
    ASSERT_TRUE(field->isEditing());
    field->keyDown(platform::Event::keyEvent(platform::EventType::keyDown, 0, {}, "s", "s"));
    EXPECT_EQ(field->intrinsicContentSize().width, textWidth("Desks") + 5.0);
    field->setStringValue("");
    EXPECT_EQ(field->intrinsicContentSize().width, placeholder) << "cleared while editing";
}

}  // namespace
}  // namespace zelvana::gridpanel
