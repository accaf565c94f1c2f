#pragma once

// Inside the platform only: where the graphics context meets Pango.

#include <cairo.h>

#include "platform/appkit/TextLayout.hpp"

namespace zelvana::platform {

// Draws the layout's lines, the first one's top at `origin.y`, each aligned
// within `width` from `origin.x`, in the cairo context's current source.
void showTextLayout(cairo_t* cr, const TextLayout& layout, Point origin, double width,
                    TextAlignment alignment);

}  // namespace zelvana::platform
