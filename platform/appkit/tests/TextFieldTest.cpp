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
    const double advance = font.averageCharacterWidth();
    EXPECT_EQ(label->lines(1e9), (std::vector<std::string>{"aaaa bb cccccccccc"}));
    // Room for seven characters: words where they fit, a long word cut.
    label->setPreferredMaxLayoutWidth(7 * advance + 4);
    EXPECT_EQ(label->lines(label->preferredMaxLayoutWidth()),
              (std::vector<std::string>{"aaaa bb", "ccccccc", "ccc"}));
    EXPECT_EQ(label->fittingSize().height, 3 * font.lineHeight());
    label->setLineBreakMode(LineBreakMode::byCharWrapping);
    EXPECT_EQ(label->lines(label->preferredMaxLayoutWidth()).front(), "aaaa bb");
    label->setLineBreakMode(LineBreakMode::byTruncatingHead);  // one line, whatever the width
    EXPECT_EQ(label->fittingSize().height, font.lineHeight());

    label->setPreferredMaxLayoutWidth(std::nan(""));
    EXPECT_EQ(label->preferredMaxLayoutWidth(), 0);
    TextField huge(std::string(10000, 'x'));
    huge.setLineBreakMode(LineBreakMode::byWordWrapping);
    huge.setPreferredMaxLayoutWidth(1);  // narrower than one character: one per line
    EXPECT_EQ(huge.lines(1).size(), 10000u);
}

}  // namespace
}  // namespace zelvana::platform
