// The key window's focus: a person moves it by clicking and with Tab, and
// the window rings the view that has it.

#include <gtest/gtest.h>

#include <memory>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/simulator/Keyboard.hpp"
#include "platform/testing/FocusRingPixels.hpp"
#include "platform/testing/SimulatedInput.hpp"
#include "platform/testing/TwoDisplayTest.hpp"

namespace zelvana::platform {
namespace {

// A view that takes the focus and fills `shape` as its mask; its ring keeps
// to the part of it within `maskBounds`.
class Target final : public View {
public:
    using View::View;
    Rect shape;
    Rect maskBounds;
    bool acceptsFirstResponder() const override { return true; }
    void drawFocusRingMask(GraphicsContext& context) const override {
        context.fill(BezierPath::rect(shape));
    }
    Rect focusRingMaskBounds() const override { return maskBounds; }
};

class FocusRingTest : public testing::TwoDisplayTest {
protected:
    FocusRingTest() {
        testing::resetSimulatedInput();
        auto content = std::make_shared<View>(Rect::make(0, 0, 300, 150));
        content->addSubview(first);
        content->addSubview(second);
        content->addSubview(target);
        window.setContentView(content);
        window.makeKeyAndOrderFront(nullptr);
        Application::shared().activate(true);
    }
    ~FocusRingTest() override { testing::resetSimulatedInput(); }

    // Whether the ring shows a point and a half outside the left edge of
    // `rect` (window coordinates), half way down.
    bool ringedLeftOf(Rect rect) const {
        return testing::showsFocusRingAt(window,
                                         {rect.minX() - 1.5, rect.minY() + rect.height() / 2});
    }
    bool ringed(const View& view) const {
        return ringedLeftOf(view.convertRectToView(view.bounds(), nullptr));
    }
    static void press(std::uint16_t key, ModifierFlags flags = {}) {
        Keyboard::shared().press(key, flags);
    }

    static std::shared_ptr<TextField> fieldAt(double y) {
        auto field = std::make_shared<TextField>();
        field->setFrame(Rect::make(20, y, 120, 22));
        return field;
    }

    std::shared_ptr<TextField> first = fieldAt(20);
    std::shared_ptr<TextField> second = fieldAt(60);
    std::shared_ptr<Target> target = std::make_shared<Target>(Rect::make(20, 100, 120, 30));
    Window window{Rect::make(100, 100, 300, 178)};
};

TEST_F(FocusRingTest, TheKeyWindowRingsTheFieldClickedOrTabbedTo) {
    EXPECT_FALSE(ringed(*first));
    testing::clickMiddleOf(*first);
    EXPECT_TRUE(ringed(*first));
    EXPECT_FALSE(ringed(*second));

    press(kVK_Tab);
    EXPECT_EQ(window.firstResponder(), second.get());
    EXPECT_FALSE(ringed(*first));
    EXPECT_TRUE(ringed(*second));
    press(kVK_Tab);
    press(kVK_Tab);
    EXPECT_EQ(window.firstResponder(), first.get()) << "round to the first";
    press(kVK_Tab, Modifier::shift);
    EXPECT_EQ(window.firstResponder(), target.get());

    testing::clickMiddleOf(*second);
    Window other(Rect::make(600, 100, 100, 100));
    other.setContentView(std::make_shared<View>(Rect::make(0, 0, 100, 72)));
    other.makeKeyAndOrderFront(nullptr);
    EXPECT_FALSE(ringed(*second)) << "only the key window shows its ring";
}

TEST_F(FocusRingTest, TheRingKeepsToTheMaskBoundsAndMovesOnceTheViewNotesIt) {
    target->shape = target->bounds();
    target->maskBounds = Rect::make(40, 0, 80, 30);
    testing::clickMiddleOf(*target);
    const Rect inWindow = target->frame();
    EXPECT_FALSE(ringedLeftOf(inWindow)) << "the mask is cut to its bounds";
    EXPECT_TRUE(ringedLeftOf(inWindow.offsetBy(40, 0)));

    target->shape = Rect::make(60, 0, 60, 30);
    EXPECT_TRUE(ringedLeftOf(inWindow.offsetBy(40, 0))) << "kept until noted";
    target->noteFocusRingMaskChanged();
    EXPECT_FALSE(ringedLeftOf(inWindow.offsetBy(40, 0)));
    EXPECT_TRUE(ringedLeftOf(inWindow.offsetBy(60, 0)));
}

}  // namespace
}  // namespace zelvana::platform
