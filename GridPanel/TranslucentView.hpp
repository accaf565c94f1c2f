#pragma once

#include "platform/appkit/Color.hpp"
#include "platform/appkit/View.hpp"

namespace zelvana::gridpanel {

// The faint fill behind a cell without a background image; every instance
// shares one colour, which follows the appearance. Main thread only.
class TranslucentView : public platform::View {
public:
    using View::View;

    bool allowsVibrancy() const { return true; }
    // Grey at alpha 0.1 until the first appearance change.
    static const platform::Color& fillColor();
    // Dark grey in a dark appearance, light grey in a light one, at alpha 0.1.
    void viewDidChangeEffectiveAppearance();
    void drawRect(platform::GraphicsContext& context, platform::Rect dirtyRect) override;
};

}  // namespace zelvana::gridpanel
