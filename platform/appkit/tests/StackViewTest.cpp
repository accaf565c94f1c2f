#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "platform/appkit/Label.hpp"
#include "platform/appkit/LayoutConstraint.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/appkit/VisualEffectView.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::platform {
namespace {

TEST(StackViewTest, FittingSizeAddsArrangedViewsSpacingAndInsets) {
    auto label = Label::labelWithString("4F2A9C");
    const Font font = Font::systemFont(13);
    // The text as drawn, two points in from each side.
    const double labelWidth = TextLayout("4F2A9C", font).size().width + 4;
    EXPECT_EQ(label->fittingSize(), (Size{labelWidth, font.lineHeight()}));
    EXPECT_GT(labelWidth, 20);
    EXPECT_EQ(Label().fittingSize().width, 4);

    auto button = std::make_shared<View>(Rect::make(0, 0, 16, 40));
    StackView stack;
    stack.setSpacing(4);
    stack.setEdgeInsets({4, 4, 4, 4});
    EXPECT_EQ(stack.fittingSize(), (Size{8, 8}));
    stack.addArrangedSubview(label);
    stack.addArrangedSubview(button);
    EXPECT_EQ(stack.subviews().size(), 2u);
    EXPECT_EQ(stack.fittingSize(), (Size{labelWidth + 4 + 16 + 8, 40 + 8}));

    stack.setOrientation(StackView::Orientation::vertical);
    EXPECT_EQ(stack.fittingSize(), (Size{labelWidth + 8, font.lineHeight() + 4 + 40 + 8}));

    button->setHidden(true);  // hidden views take no room, nor spacing
    stack.setOrientation(StackView::Orientation::horizontal);
    EXPECT_EQ(stack.fittingSize(), (Size{labelWidth + 8, font.lineHeight() + 8}));
    stack.addArrangedSubview(label);  // again: moves it, no duplicate
    EXPECT_EQ(stack.arrangedSubviews().size(), 2u);
    stack.removeArrangedSubview(label.get());
    EXPECT_EQ(stack.arrangedSubviews().size(), 1u);
    EXPECT_EQ(stack.subviews().size(), 2u);
}

TEST(StackViewTest, LayersAndConstraintsAreRecordedFields) {
    VisualEffectView backdrop(Rect::make(0, 0, 200, 30));
    EXPECT_EQ(backdrop.layer(), nullptr);
    backdrop.setWantsLayer(true);
    backdrop.layer()->cornerRadius = 8;
    backdrop.setWantsLayer(true);  // keeps the layer it has
    EXPECT_EQ(backdrop.layer()->cornerRadius, 8);
    backdrop.setMaterial(VisualEffectView::Material::popover);
    EXPECT_EQ(static_cast<int>(backdrop.material()), 6);
    backdrop.setFrameSize({1, 1});
    EXPECT_EQ(backdrop.fittingSize(), (Size{1, 1}));
    backdrop.setWantsLayer(false);
    EXPECT_FALSE(backdrop.wantsLayer());

    StackView stack;
    using Attribute = LayoutConstraint::Attribute;
    std::vector<LayoutConstraint> constraints{
        LayoutConstraint::equal(stack, Attribute::top, backdrop),
        LayoutConstraint::equal(stack, Attribute::trailing, backdrop, -4)};
    EXPECT_FALSE(constraints[0].isActive);
    LayoutConstraint::activate(constraints);
    EXPECT_TRUE(constraints[0].isActive && constraints[1].isActive);
    EXPECT_EQ(constraints[1].secondItem, &backdrop);
    EXPECT_EQ(constraints[1].constant, -4);
    LayoutConstraint::deactivate(constraints);
    EXPECT_FALSE(constraints[1].isActive);
}

TEST(StackViewTest, ViewsAddedToAStackInAWindowTakeTheirPlaceAtOnce) {
    const auto sized = [](double width) {
        return std::make_shared<View>(Rect::make(0, 0, width, 10));
    };
    auto stack = std::make_shared<StackView>(Rect::make(20, 20, 260, 24));
    auto field = sized(130);
    stack->addArrangedSubview(field);  // not yet in a window: placed when it joins one
    Window window(Rect::make(0, 0, 300, 100));
    auto content = std::make_shared<View>(Rect::make(0, 0, 300, 100));
    content->addSubview(stack);
    window.setContentView(content);
    EXPECT_EQ(field->frame(), Rect::make(0, 7, 130, 10));

    auto info = sized(22);
    stack->addArrangedSubview(info);
    EXPECT_EQ(info->frame(), Rect::make(138, 7, 22, 10));
    stack->insertArrangedSubview(sized(40), 0);
    EXPECT_EQ(field->frame().minX(), 48);
    stack->removeArrangedSubview(field.get());
    EXPECT_EQ(info->frame().minX(), 48);
}

}  // namespace
}  // namespace zelvana::platform
