#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "GridPanel/AutoGrowingTextField.hpp"
#include "GridPanel/EntrySearchField.hpp"
#include "GridPanel/HxDimensionHuggingTextField.hpp"
#include "GridPanel/SearchField.hpp"
#include "GridPanel/SteadyStackView.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/TextLayout.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/simulator/Keyboard.hpp"
#include "platform/testing/SimulatedInput.hpp"
#include "platform/testing/TwoDisplayTest.hpp"

namespace zelvana::gridpanel {
namespace {

using platform::Rect;
using platform::Size;

// What the platform measures for a text on one line, padding included.
Size oneLine(const std::string& text) {
    return platform::TextField(text).cellSizeForBounds(
        Rect{{}, {std::numeric_limits<double>::infinity(), 0}});
}

// The text alone, without the 4 points a bezeled field keeps on each side.
double textWidth(const std::string& text) {
    return oneLine(text).width - 2 * 4.0;
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

TEST(TextFieldWidgetsTest, AutoGrowingFieldAtRestIsAsWideAsItsTextOrPlaceholder) {
    AutoGrowingTextField field(Rect::make(0, 0, 100, 20));
    const double height = platform::TextField().intrinsicContentSize().height;  // a bezeled line
    EXPECT_EQ(field.intrinsicContentSize(), (Size{0, height})) << "no text, no placeholder";
    field.setPlaceholderString("Name");
    EXPECT_EQ(field.intrinsicContentSize().width, textWidth("Name"));
    field.setStringValue("Desk");
    EXPECT_EQ(field.intrinsicContentSize().width, textWidth("Desk"));

    // A storyboard sets the placeholder as it would any field's.
    AutoGrowingTextField loaded;
    static_cast<platform::TextField&>(loaded).setPlaceholderString("Name");
    loaded.awakeFromNib();
    EXPECT_EQ(loaded.intrinsicContentSize().width, textWidth("Name"));
}

// A key window on the simulated desktop with a row of fields, typed into by
// the simulated keyboard.
class TypingTest : public platform::testing::TwoDisplayTest {
protected:
    TypingTest() {
        platform::testing::resetSimulatedInput();
        row->setFrame(Rect::make(0, 0, 500, 30));
        window.setContentView(row);
        window.makeKeyAndOrderFront(nullptr);
        platform::Application::shared().activate(true);
    }
    ~TypingTest() override { platform::testing::resetSimulatedInput(); }

    // Letters and Delete by their keys on the U.S. layout; the layout pass
    // that follows runs before the next key.
    void type(const std::vector<std::uint16_t>& keys) {
        for (auto key : keys) {
            platform::Keyboard::shared().press(key);
            clock.runPending();
        }
    }
    static constexpr std::uint16_t d = 2, e = 14, s = 1, k = 40, del = 51;

    // A stack that keeps its layout until told its views changed.
    std::shared_ptr<SteadyStackView> row = std::make_shared<SteadyStackView>();
    platform::Window window{Rect::make(100, 100, 500, 30 + platform::Window::titleBarHeight)};
};

TEST_F(TypingTest, AnAutoGrowingFieldGrowsAsTypedAndShrinksToItsPlaceholderWhenEmptied) {
    auto field = std::make_shared<AutoGrowingTextField>(Rect::make(0, 0, 10, 22));
    field->setPlaceholderString("Name");
    auto after = std::make_shared<platform::TextField>("next");
    row->addArrangedSubview(field);
    row->addArrangedSubview(after);
    const double placeholder = field->frame().width();

    platform::testing::clickMiddleOf(*field);
    ASSERT_NE(field->currentEditor(), nullptr);
    EXPECT_FALSE(field->isEditing()) << "editing begins with the first key";
    type({d, e, s, k});
    const auto width = [&](const char* text) {
        return platform::TextLayout(text, field->font()).size().width + field->rightMargin;
    };
    EXPECT_EQ(field->frame().width(), width("desk"));
    EXPECT_EQ(after->frame().minX(), field->frame().maxX() + row->spacing()) << "it made room";
    type({s});
    EXPECT_EQ(field->frame().width(), width("desks"));

    type({del, del, del, del, del});
    EXPECT_EQ(field->stringValue(), "");
    EXPECT_EQ(field->frame().width(), placeholder);
}

TEST_F(TypingTest, SearchAndHuggingFieldsWidenAsTyped) {
    auto search = std::make_shared<EntrySearchField>("");
    search->setPadding(10);
    auto hugging = std::make_shared<HxWidthHuggingTextField>(Rect::make(0, 0, 10, 22));
    row->addArrangedSubview(search);
    row->addArrangedSubview(hugging);
    for (platform::TextField* field : {static_cast<platform::TextField*>(search.get()),
                                       static_cast<platform::TextField*>(hugging.get())}) {
        const double before = field->frame().width();
        platform::testing::clickMiddleOf(*field);
        type({d, e, s, k});
        EXPECT_EQ(field->stringValue(), "desk");
        EXPECT_EQ(field->frame().width(), before + oneLine("desk").width - oneLine("").width);
    }
    EXPECT_EQ(hugging->frame().minX(), search->frame().maxX() + row->spacing());
}

}  // namespace
}  // namespace zelvana::gridpanel
