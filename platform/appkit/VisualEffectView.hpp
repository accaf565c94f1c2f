#pragma once

#include "platform/appkit/View.hpp"

namespace zelvana::platform {

// A translucent backdrop view; its effect settings are plain fields. It draws
// its material as a tint of what lies behind it, rounded by its layer's
// corner radius, with a hairline edge.
class VisualEffectView : public View {
public:
    enum class State { followsWindowActiveState = 0, active = 1, inactive = 2 };
    enum class BlendingMode { behindWindow = 0, withinWindow = 1 };
    enum class Material {
        titlebar = 3,
        selection = 4,
        menu = 5,
        popover = 6,
        sidebar = 7,
        hudWindow = 13
    };

    using View::View;

    State state() const { return state_; }
    void setState(State state) { state_ = state; }
    BlendingMode blendingMode() const { return blendingMode_; }
    void setBlendingMode(BlendingMode mode) { blendingMode_ = mode; }
    Material material() const { return material_; }
    void setMaterial(Material material) { material_ = material; }

    void drawRect(GraphicsContext& context, Rect dirtyRect) override;

private:
    State state_ = State::followsWindowActiveState;
    BlendingMode blendingMode_ = BlendingMode::behindWindow;
    Material material_ = Material::menu;
};

}  // namespace zelvana::platform
