#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/BezierPath.hpp"
#include "platform/appkit/Color.hpp"
#include "platform/appkit/Font.hpp"
#include "platform/appkit/Gradient.hpp"
#include "platform/appkit/Image.hpp"
#include "platform/appkit/Rect.hpp"
#include "platform/appkit/TextLayout.hpp"

namespace zelvana::platform {

// Draws into an image through cairo: paths, gradients, images and text (laid
// out by Pango), with
// y growing downwards from the image's top-left corner, in points (scaled to
// the image's pixels). The pixels go back into the image when the context
// ends. While one lives it is the thread's current context. Main thread.
class GraphicsContext {
public:
    // How strokes end, with the system's raw values.
    enum class LineCapStyle { butt = 0, round = 1, square = 2 };

    explicit GraphicsContext(Image& target);
    ~GraphicsContext();
    GraphicsContext(const GraphicsContext&) = delete;
    GraphicsContext& operator=(const GraphicsContext&) = delete;

    // Writes the image as a PNG file; false when it is empty or not written.
    static bool writePNG(const Image& image, const std::string& path);
    // The innermost living context of this thread, or null.
    static GraphicsContext* current();

    void saveGraphicsState();
    void restoreGraphicsState();
    void translate(double dx, double dy);
    void clip(const BezierPath& path);
    // Draws what follows at `alpha` as one layer, until the matching end.
    void beginTransparencyLayer(double alpha);
    void endTransparencyLayer();

    CompositingOperation compositingOperation() const { return operation_; }
    void setCompositingOperation(CompositingOperation operation);
    void setFillColor(const Color& color) { fill_ = color; }
    void setStrokeColor(const Color& color) { stroke_ = color; }
    void setLineCapStyle(LineCapStyle style) { lineCap_ = style; }

    void fillRect(Rect rect);
    void fill(const BezierPath& path);
    void stroke(const BezierPath& path, double lineWidth);
    // A linear gradient across `rect` at `angle` degrees (0: left to right,
    // 90: bottom to top, as in AppKit's flipped views).
    void drawGradient(const Gradient& gradient, Rect rect, double angle);
    // The `from` part of `image` (its points, y down) scaled into `into`.
    void drawImage(const Image& image, Rect into, Rect from, CompositingOperation operation,
                   double fraction);
    // The system's focus ring: a band a few points wide around the shape
    // that `mask` fills, drawn in `into` (the mask itself stays uncovered).
    void drawFocusRing(const Image& mask, Rect into);

    // Blurs what is drawn so far inside the shape, about `radius` points
    // wide, as a material blurs what lies behind its window.
    void blur(const BezierPath& shape, double radius);
    // One line of text with its top-left corner at `origin`.
    void drawText(const std::string& text, Point origin, const Font& font, const Color& color);
    // The laid-out lines, the first one's top at `origin.y`, each aligned
    // within `width` from `origin.x`.
    void drawText(const TextLayout& text, Point origin, double width, TextAlignment alignment,
                  const Color& color);

private:
    struct Cairo;
    void applyPath(const BezierPath& path);
    void setSource(const Color& color);

    Image& target_;
    std::unique_ptr<Cairo> cairo_;
    CompositingOperation operation_ = CompositingOperation::sourceOver;
    Color fill_ = Color::black();
    Color stroke_ = Color::black();
    LineCapStyle lineCap_ = LineCapStyle::butt;
    std::vector<double> layerAlphas_;
    GraphicsContext* previous_;
};

}  // namespace zelvana::platform
