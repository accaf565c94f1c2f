#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/Font.hpp"
#include "platform/appkit/LineBreakMode.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {

// How the lines of a text sit in the width they are given, with the system's values.
enum class TextAlignment { left = 0, center = 1, right = 2 };

// A text laid out by Pango in the fonts the platform carries, with fontconfig
// choosing a fallback font for every character the first one lacks: broken
// into lines at `width` (wrapping modes), shortened to fit it by one ellipsis
// at its start, middle or end, keeping as many characters as fit and no blank
// beside the ellipsis (truncating modes, one line a paragraph), or one line
// per paragraph (clipping, or no width).
// Lines lie the font's line height apart. Layouts of the same text are shared,
// so making one again is cheap. Any thread; the layouts themselves are
// immutable.
class TextLayout {
public:
    // A width of 0 (or not finite) sets no limit.
    TextLayout(const std::string& text, const Font& font,
               LineBreakMode mode = LineBreakMode::byClipping, double width = 0);

    // The widest line (whole points) by the line count times the line height.
    Size size() const;
    // The lines as drawn: ellipses included, breaking spaces left out.
    std::vector<std::string> lines() const;
    // Part of the text was replaced by an ellipsis.
    bool isTruncated() const;
    // Characters that no font of the platform has a glyph for.
    int missingGlyphCount() const;

    // For the graphics context: draws the lines with the top of the first at
    // `origin.y`, each aligned in `width` from `origin.x`.
    struct Drawing;
    const Drawing& drawing() const { return *laidOut_; }

private:
    std::shared_ptr<const Drawing> laidOut_;
};

}  // namespace zelvana::platform
