// The system's symbol images that the program names, drawn as the system
// draws them at the regular text size.
#include <functional>
#include <map>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/Image.hpp"

namespace zelvana::platform {

namespace {

// A circle symbol's square at 13-point text, its circle a little inside it.
constexpr double kSide = 15;
constexpr double kCircleInset = 0.7;
// Symbols are vector shapes; two pixels a point keeps their edges smooth on
// a Retina display and when drawn smaller.
constexpr int kPixelsPerPoint = 2;
// The cross: half its reach from the centre along each axis, and the
// stroke's width at the regular weight.
constexpr double kCrossReach = 2.7;
constexpr double kStrokeWidth = 1.6;
constexpr double kOutlineWidth = 1.2;

Rect circleRect() {
    return Rect::make(kCircleInset, kCircleInset, kSide - 2 * kCircleInset,
                      kSide - 2 * kCircleInset);
}

BezierPath cross() {
    const double c = kSide / 2;
    BezierPath path;
    path.moveTo({c - kCrossReach, c - kCrossReach});
    path.lineTo({c + kCrossReach, c + kCrossReach});
    path.moveTo({c - kCrossReach, c + kCrossReach});
    path.lineTo({c + kCrossReach, c - kCrossReach});
    return path;
}

// A filled circle with the cross cut out of it, letting through what lies under.
void drawFilledCircleWithCross(GraphicsContext& context) {
    context.setFillColor(Color::black());
    context.fill(BezierPath::oval(circleRect()));
    context.setCompositingOperation(CompositingOperation::copy);
    context.setStrokeColor(Color::clear());
    context.setLineCapStyle(GraphicsContext::LineCapStyle::round);
    context.stroke(cross(), kStrokeWidth);
}

// The outlined circle with the cross inside it.
void drawCircleWithCross(GraphicsContext& context) {
    context.setStrokeColor(Color::black());
    const double half = kOutlineWidth / 2;
    context.stroke(BezierPath::oval(circleRect().insetBy(half, half)), kOutlineWidth);
    context.setLineCapStyle(GraphicsContext::LineCapStyle::round);
    context.stroke(cross(), kStrokeWidth);
}

using Drawing = std::function<void(GraphicsContext&)>;

const std::map<std::string, Drawing>& symbols() {
    static const std::map<std::string, Drawing> table{
        {"x.circle.fill", drawFilledCircleWithCross},
        {"x.circle", drawCircleWithCross},
    };
    return table;
}

// Drawn once for the process, as the system keeps its symbols: every space's
// anchor asks for its close symbol, and copies share their pixels.
const std::map<std::string, Image>& drawnSymbols() {
    static const std::map<std::string, Image> images = [] {
        std::map<std::string, Image> drawn;
        const int pixels = static_cast<int>(kSide) * kPixelsPerPoint;
        for (const auto& [name, draw] : symbols()) {
            Image image(Size{kSide, kSide}, pixels, pixels);
            {
                GraphicsContext context(image);
                draw(context);
            }
            image.setTemplate(true);
            drawn.emplace(name, std::move(image));
        }
        return drawn;
    }();
    return images;
}

}  // namespace

std::optional<Image> Image::systemSymbol(const std::string& name,
                                         std::string accessibilityDescription) {
    const auto symbol = drawnSymbols().find(name);
    if (symbol == drawnSymbols().end()) return std::nullopt;
    Image image = symbol->second;
    image.setAccessibilityDescription(std::move(accessibilityDescription));
    return image;
}

}  // namespace zelvana::platform
