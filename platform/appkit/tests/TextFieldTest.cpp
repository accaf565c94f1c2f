#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/Label.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/appkit/TextView.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::platform {
namespace {

struct RecordingDelegate : TextFieldDelegate {
    std::vector<std::string> calls;
    void controlTextDidBeginEditing(TextField&) override { calls.push_back("begin"); }
    void controlTextDidChange(TextField& field) override {
        calls.push_back("change " + field.stringValue());
    }
    void controlTextDidEndEditing(TextField&) override { calls.push_back("end"); }
};

struct KeyRecorder : View {
    std::vector<std::uint16_t> keys;
    void keyDown(const Event& event) override { keys.push_back(event.keyCode); }
};

Event key(std::uint16_t code, std::string characters, ModifierFlags flags = {}) {
    return Event::keyEvent(EventType::keyDown, code, flags, characters, characters);
}

TEST(TextFieldTest, FirstResponderEditsThroughTheFieldEditorAndTellsTheDelegate) {
    Window window(Rect::make(0, 0, 200, 50));
    auto root = std::make_shared<KeyRecorder>();
    auto field = std::make_shared<TextField>("ab");
    auto label = Label::labelWithString("fixed");
    root->addSubview(field);
    root->addSubview(label);
    window.setContentView(root);
    RecordingDelegate delegate;
    field->setDelegate(&delegate);

    EXPECT_FALSE(window.makeFirstResponder(label.get()));  // labels take no keys
    ASSERT_TRUE(window.makeFirstResponder(field.get()));
    window.makeFirstResponder(nullptr);
    EXPECT_EQ(delegate.calls, std::vector<std::string>{"end"}) << "focus alone begins nothing";
    delegate.calls.clear();
    ASSERT_TRUE(window.makeFirstResponder(field.get()));
    EXPECT_EQ(field->currentEditor(), &window.fieldEditor());
    EXPECT_EQ(window.fieldEditor().string(), "ab");
    window.sendEvent(key(0, "é"));
    window.sendEvent(key(51, ""));  // Delete takes the whole last character
    window.sendEvent(key(51, ""));
    window.sendEvent(key(8, "c", Event::command));  // commands and Return go on up
    window.sendEvent(key(36, "\r"));
    EXPECT_EQ(field->stringValue(), "a");
    EXPECT_EQ(window.fieldEditor().string(), "a");
    EXPECT_EQ(root->keys, (std::vector<std::uint16_t>{8, 36}));

    window.makeFirstResponder(nullptr);
    EXPECT_EQ(field->currentEditor(), nullptr);
    EXPECT_EQ(delegate.calls,
              (std::vector<std::string>{"begin", "change abé", "change ab", "change a", "end"}));
}

TEST(TextFieldTest, WrappingModesBreakAtThePreferredWidth) {
    auto label = Label::wrappingLabelWithString("aaaa bb cccccccccc", 0);
    const Font& font = label->font();
    EXPECT_EQ(label->lines(1e9), (std::vector<std::string>{"aaaa bb cccccccccc"}));
    // Room for the first two words: words where they fit, the long word cut.
    const double room = TextLayout("aaaa bb", font).size().width;
    label->setPreferredMaxLayoutWidth(room + 4);
    const auto lines = label->lines(label->preferredMaxLayoutWidth());
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front(), "aaaa bb");
    std::string rest;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_LE(TextLayout(lines[i], font).size().width, room) << lines[i];
        rest += lines[i];
    }
    EXPECT_EQ(rest, "cccccccccc");
    EXPECT_EQ(label->fittingSize().height, static_cast<double>(lines.size()) * font.lineHeight());
    label->setLineBreakMode(LineBreakMode::byCharWrapping);
    EXPECT_EQ(label->lines(label->preferredMaxLayoutWidth()).front(), "aaaa bb");
    label->setLineBreakMode(LineBreakMode::byTruncatingHead);  // one line, whatever the width
    EXPECT_EQ(label->fittingSize().height, font.lineHeight());

    label->setPreferredMaxLayoutWidth(std::nan(""));
    EXPECT_EQ(label->preferredMaxLayoutWidth(), 0);
    TextField huge(std::string(300, 'x'));
    huge.setLineBreakMode(LineBreakMode::byWordWrapping);
    huge.setPreferredMaxLayoutWidth(1);  // narrower than one character: one per line
    EXPECT_EQ(huge.lines(1).size(), 300u);
}

TEST(TextFieldTest, TruncatingModesEndInAnEllipsisWhereTheTextDoesNotFit) {
    Label label("The space where I keep my mail");
    const double room = TextLayout("The space", label.font()).size().width;
    label.setLineBreakMode(LineBreakMode::byTruncatingTail);
    const auto tail = label.lines(room + 4);
    ASSERT_EQ(tail.size(), 1u);
    EXPECT_TRUE(tail.front().starts_with("The")) << tail.front();
    EXPECT_TRUE(tail.front().ends_with("…")) << tail.front();
    label.setLineBreakMode(LineBreakMode::byTruncatingHead);
    EXPECT_TRUE(label.lines(room + 4).front().starts_with("…"));
    EXPECT_TRUE(label.lines(room + 4).front().ends_with("mail"));
    label.setLineBreakMode(LineBreakMode::byTruncatingMiddle);
    const auto middle = label.lines(room + 4).front();
    EXPECT_TRUE(middle.starts_with("Th") && middle.ends_with("il")) << middle;
    EXPECT_EQ(label.lines(1e4).front(), "The space where I keep my mail");  // room enough
    // Clipping keeps the whole text, and the cell still asks for all of it.
    label.setLineBreakMode(LineBreakMode::byClipping);
    EXPECT_EQ(label.lines(room + 4).front(), "The space where I keep my mail");
    EXPECT_GT(label.fittingSize().width, room + 4);

    // A name too long for the rename field keeps every letter that fits,
    // with no blank left beside its one ellipsis.
    const std::string name = "The quick brown fox jumps over the lazy dog again";
    const auto width = [&](const std::string& text) {
        return TextLayout(text, label.font()).size().width;
    };
    label.setStringValue(name);
    for (const auto mode : {LineBreakMode::byTruncatingHead, LineBreakMode::byTruncatingMiddle,
                            LineBreakMode::byTruncatingTail}) {
        label.setLineBreakMode(mode);
        const std::string shown = label.lines(200 + 2 * label.textInset()).front();
        EXPECT_LE(width(shown), 200) << shown;
        EXPECT_EQ(shown.find("…"), shown.rfind("…")) << shown;
        EXPECT_EQ(shown.find(" …"), std::string::npos) << shown;
        EXPECT_EQ(shown.find("… "), std::string::npos) << shown;
    }
    label.setLineBreakMode(LineBreakMode::byTruncatingHead);
    const std::string kept = label.lines(200 + 2 * label.textInset()).front().substr(3);
    auto next = name.rfind(kept) - 1;
    while (name[next] == ' ') --next;
    EXPECT_GT(width("…" + name.substr(next)), 200) << "a letter that fits was lost: " << kept;

    // Characters of several code points are kept or dropped whole: an accent
    // stays on its letter, a flag's two halves stay together.
    const auto repeated = [](const std::string& unit, int times) {
        std::string text;
        for (int n = 0; n < times; ++n) text += unit;
        return text;
    };
    struct Row {
        std::string unit;
        std::string text;
    };
    for (const auto& [unit, text] :
         {Row{"e\u0301", repeated("e\u0301", 40)}, Row{"🇩🇪", repeated("🇩🇪🇫🇷🇮🇹🇪🇸", 6)}}) {
        label.setStringValue(text);
        for (const auto mode : {LineBreakMode::byTruncatingHead, LineBreakMode::byTruncatingMiddle,
                                LineBreakMode::byTruncatingTail}) {
            label.setLineBreakMode(mode);
            for (const double room : {41.0, 62.0, 93.0}) {
                const std::string shown = label.lines(room).front();
                const auto ellipsis = shown.find("…");
                ASSERT_NE(ellipsis, std::string::npos) << shown;
                const std::size_t tail = shown.size() - ellipsis - std::string("…").size();
                EXPECT_EQ(ellipsis % unit.size(), 0u) << shown;
                EXPECT_EQ(tail % unit.size(), 0u) << shown;
            }
        }
    }

    TextField field("Mail");
    field.setFrame(Rect::make(0, 0, 230, 22));
    EXPECT_GE(field.textFrame().minX(), 4) << "the text keeps clear of the bezel";
}

}  // namespace
}  // namespace zelvana::platform
