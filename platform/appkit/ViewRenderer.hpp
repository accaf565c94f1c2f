#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/Image.hpp"

namespace zelvana::platform {

class View;
class Window;

// Draws view trees: each shown view clipped to its bounds, its layer's
// background under its content, its subviews over it, its layer's border on
// top, all at the view's alpha. Main thread.
class ViewRenderer {
public:
    // Draws `view` and its subviews with the context's origin at the view's
    // bounds origin.
    static void draw(View& view, GraphicsContext& context);
    // The view's bounds as an image (one pixel per point, `scale` pixels
    // per point when given); empty for an empty or non-finite size, and
    // capped at 16384 pixels a side.
    static Image imageOf(View& view, double scale = 1);
    // The window as it is drawn on screen: its background, its content and
    // its title bar; none without content.
    static std::optional<Image> imageOf(const Window& window, double scale = 1);
    // Where window coordinates start in that image: the content area's
    // top-left corner, in points from the frame's.
    static Point contentAreaOrigin(const Window& window);
    // The shown visual-effect views of the window that blend what lies
    // behind it, where they lie in the window's image (y down from its
    // top-left corner): the window server blurs what is beneath there.
    struct Backdrop {
        Rect rect;
        double cornerRadius = 0;
    };
    static std::vector<Backdrop> backdropsOf(const Window& window);
};

}  // namespace zelvana::platform
