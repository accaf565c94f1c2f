#include "platform/appkit/VisualEffectView.hpp"

#include "platform/appkit/Appearance.hpp"
#include "platform/appkit/GraphicsContext.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

// The tint each material lays over what lies behind it, in the light and the
// dark appearance.
Color tint(VisualEffectView::Material material, bool dark) {
    using Material = VisualEffectView::Material;
    switch (material) {
        case Material::titlebar:
            return dark ? Color::white(0.17, 0.9) : Color::white(0.91, 0.9);
        case Material::selection:
            return Color::controlAccentColor().withAlpha(0.9);
        case Material::popover:
            return dark ? Color::white(0.16, 0.9) : Color::white(0.97, 0.9);
        case Material::sidebar:
            return dark ? Color::white(0.2, 0.8) : Color::white(0.9, 0.8);
        case Material::hudWindow:
            return Color::white(0.12, 0.75);
        case Material::menu:
            break;
    }
    return dark ? Color::white(0.14, 0.85) : Color::white(0.94, 0.85);
}

}  // namespace

void VisualEffectView::drawRect(GraphicsContext& context, Rect /*dirtyRect*/) {
    assertMainThread();
    const Rect bounds = this->bounds();
    const double radius = layer() ? layer()->cornerRadius : 0;
    const bool dark = Appearance::current().bestMatch({Appearance::darkAqua, Appearance::aqua}) ==
                      Appearance::darkAqua;
    context.setFillColor(tint(material_, dark));
    context.fill(BezierPath::roundedRect(bounds, radius, radius));
    context.setStrokeColor(Color::white(dark ? 1 : 0, 0.12));
    context.stroke(BezierPath::roundedRect(bounds.insetBy(0.25, 0.25), radius, radius), 0.5);
}

}  // namespace zelvana::platform
