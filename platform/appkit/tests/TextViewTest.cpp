#include <gtest/gtest.h>

#include "platform/appkit/TextView.hpp"

namespace zelvana::platform {
namespace {

// A 100-point-high view in the system font at 12 points: 15-point lines.
TextView makeTextView() {
    return TextView(Rect::make(0, 0, 300, 100));
}

bool atEnd(const TextView& view) {
    return view.visibleRect().maxY() == view.bounds().maxY();
}

TEST(TextViewTest, DocumentGrowsOneLineHeightPerLineAndScrollsWithinIt) {
    TextView view = makeTextView();
    const double line = view.font().lineHeight();
    ASSERT_EQ(line, 15);
    EXPECT_EQ(view.bounds(), Rect::make(0, 0, 300, 100));  // never smaller than the frame
    EXPECT_TRUE(atEnd(view));

    for (int i = 0; i < 10; ++i) view.textStorage()->append("line\n");
    EXPECT_EQ(view.lineCount(), 10u);
    EXPECT_EQ(view.bounds().height(), 10 * line);
    EXPECT_EQ(view.visibleRect(), Rect::make(0, 0, 300, 100));  // appending does not scroll
    EXPECT_FALSE(atEnd(view));

    view.scrollToEndOfDocument();
    EXPECT_EQ(view.visibleRect().minY(), 10 * line - 100);
    EXPECT_TRUE(atEnd(view));

    view.scrollTo(-20);
    EXPECT_EQ(view.visibleRect().minY(), 0);
    view.scrollTo(10000);
    EXPECT_TRUE(atEnd(view));

    view.textStorage()->append("open line");  // a last line without a line feed counts
    EXPECT_EQ(view.lineCount(), 11u);
}

TEST(TextViewTest, ClearingTheTextBringsTheScrollPositionBack) {
    TextView view = makeTextView();
    for (int i = 0; i < 20; ++i) view.textStorage()->append("line\n");
    view.scrollToEndOfDocument();
    view.setString("");
    EXPECT_EQ(view.visibleRect().minY(), 0);
    view.textStorage()->append("again\n");
    EXPECT_EQ(view.visibleRect().minY(), 0);
    EXPECT_TRUE(atEnd(view));
}

TEST(TextViewTest, StorageKeepsAttributeRunsAndMergesEqualNeighbours) {
    TextStorage storage;
    const TextAttributes red{std::nullopt, Color::rgb(1, 0, 0), std::nullopt};
    const TextAttributes text{Font::named("Monaco", 10), Color::textColor(), std::nullopt};
    storage.append("ab", red);
    storage.append("cd", red);
    storage.append("", text);  // nothing to attribute
    storage.append("ef", text);
    EXPECT_EQ(storage.string(), "abcdef");
    ASSERT_EQ(storage.runs().size(), 2u);
    EXPECT_EQ(storage.runs()[0], (TextStorage::Run{0, 4, red}));
    EXPECT_EQ(storage.runs()[1], (TextStorage::Run{4, 2, text}));
    EXPECT_EQ(storage.attributesAt(5), text);
    EXPECT_EQ(storage.attributesAt(6), std::nullopt);

    storage.setString("plain");
    ASSERT_EQ(storage.runs().size(), 1u);
    EXPECT_EQ(storage.attributesAt(0), TextAttributes{});
}

TEST(TextViewTest, KeyDownTypesOnlyWhenEditableAndCountsEveryEvent) {
    TextView view = makeTextView();
    const KeyEvent a{0, {}, "a", "a"};
    const KeyEvent commandA{0, KeyEvent::command, "a", "a"};
    view.keyDown(a);
    view.keyDown(commandA);
    EXPECT_EQ(view.string(), "a");

    view.setEditable(false);
    view.keyDown(a);
    EXPECT_EQ(view.string(), "a");
    EXPECT_EQ(view.handledKeyDownCount(), 3);
    EXPECT_EQ(view.lastHandledKeyEvent(), a);
}

TEST(FontTest, NamedFontsHaveFixedMetricsAndCanBeTakenAway) {
    auto monaco = Font::named("Monaco", 10);
    ASSERT_TRUE(monaco);
    EXPECT_EQ(monaco->lineHeight(), 14);
    EXPECT_DOUBLE_EQ(monaco->averageCharacterWidth(), 6);
    EXPECT_FALSE(Font::named("No Such Face", 10));
    EXPECT_FALSE(Font::named("Monaco", 0));

    Font::setInstalledFontsForTesting(std::vector<std::string>{"Menlo"});
    EXPECT_FALSE(Font::named("Monaco", 10));
    EXPECT_TRUE(Font::named("Menlo", 10));
    EXPECT_EQ(Font::systemFont(10).fontName(), Font::systemFontName());  // always there
    Font::setInstalledFontsForTesting(std::nullopt);
    EXPECT_TRUE(Font::named("Monaco", 10));

    EXPECT_EQ(Color::named("textColor"), Color::textColor());
    EXPECT_FALSE(Color::named("noSuchColor"));
    EXPECT_NE(Color::textColor(), Color::rgb(0, 0, 0));  // named colours keep their name
}

}  // namespace
}  // namespace zelvana::platform
