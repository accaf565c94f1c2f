#include "GridPanel/TranslucentView.hpp"

#include "GridPanel/DarkAppearance.hpp"
#include "platform/appkit/Appearance.hpp"
#include "platform/appkit/GraphicsContext.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

using platform::Color;

namespace {

Color& sharedFill() {
    static Color fill = Color::grayColor().withAlpha(0.1);
    return fill;
}

}  // namespace

const Color& TranslucentView::fillColor() {
    platform::assertMainThread();
    return sharedFill();
}

void TranslucentView::viewDidChangeEffectiveAppearance() {
    platform::assertMainThread();
    const bool dark = isDarkAppearance(platform::Appearance::current());
    sharedFill() = (dark ? Color::darkGrayColor() : Color::lightGrayColor()).withAlpha(0.1);
}

void TranslucentView::drawRect(platform::GraphicsContext& context, platform::Rect dirtyRect) {
    platform::assertMainThread();
    context.setFillColor(fillColor());
    context.fillRect(dirtyRect);
}

}  // namespace zelvana::gridpanel
