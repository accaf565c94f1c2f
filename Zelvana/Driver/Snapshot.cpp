#include "Zelvana/Driver/Snapshot.hpp"

#include <unistd.h>

#include <ranges>

#include "Zelvana/Driver/MenuPicture.hpp"
#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/TitleBar.hpp"
#include "platform/appkit/ViewRenderer.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/desktop/WindowList.hpp"
#include "platform/simulator/Desktop.hpp"

namespace zelvana::driver {

namespace {

using platform::Color;
using platform::GraphicsContext;
using platform::Point;
using platform::PropertyDictionary;
using platform::Rect;
using platform::WindowList;

// The menu bar's layer: windows below it are covered by the bar, status
// items and menus above it are not.
constexpr std::int64_t kMenuBarLayer = 24;
// How far a material behind its window spreads what lies beneath it.
constexpr double kBackdropBlur = 12;

// One window of the window list, in the display's picture coordinates.
struct ListedWindow {
    std::int64_t number = 0;
    std::int64_t layer = 0;
    std::int64_t owner = 0;
    Rect bounds{};
    double alpha = 1;
    std::string name{};
};

std::int64_t integer(const PropertyDictionary& description, const char* key) {
    const auto found = description.find(key);
    return found == description.end() ? 0 : found->second.asInteger().value_or(0);
}

std::optional<ListedWindow> listed(const platform::PropertyValue& value, Point origin) {
    const auto* description = value.dictionaryValue();
    if (!description || !description->count(WindowList::windowBoundsKey)) return std::nullopt;
    const auto bounds =
        platform::rectFromDictionaryRepresentation(description->at(WindowList::windowBoundsKey));
    if (!bounds) return std::nullopt;
    ListedWindow window{integer(*description, WindowList::windowNumberKey),
                        integer(*description, WindowList::windowLayerKey),
                        integer(*description, WindowList::windowOwnerPIDKey),
                        Rect::make(bounds->minX() - origin.x, bounds->minY() - origin.y,
                                   bounds->width(), bounds->height())};
    if (const auto alpha = description->find(WindowList::windowAlphaKey);
        alpha != description->end()) {
        window.alpha = alpha->second.asDouble().value_or(1);
    }
    if (description->count(WindowList::windowNameKey)) {
        window.name = description->at(WindowList::windowNameKey).stringValue()
                          ? *description->at(WindowList::windowNameKey).stringValue()
                          : "";
    }
    return window;
}

platform::Window* ourWindow(std::int64_t number) {
    for (auto* window : platform::Desktop::shared().applicationWindows()) {
        if (static_cast<std::int64_t>(window->windowNumber()) == number) return window;
    }
    return nullptr;
}

void drawDesktop(GraphicsContext& context, Rect area) {
    const platform::Gradient gradient{{Color::rgb(0.16, 0.29, 0.47), Color::rgb(0.45, 0.36, 0.58)},
                                      {}};
    context.drawGradient(gradient, area, 90);
}

// The soft shadow the window server casts under a window's shape: rings of
// faint shade, a little below the shape, fading outwards.
void drawShadow(GraphicsContext& context, Rect shape, double radius) {
    constexpr int kRings = 12;
    const Rect below = Rect::make(shape.minX(), shape.minY() + 4, shape.width(), shape.height());
    context.setFillColor(Color::white(0, 0.022));
    for (int ring = kRings; ring >= 1; --ring) {
        const double grow = ring;
        context.fill(platform::BezierPath::roundedRect(below.insetBy(-grow, -grow), radius + grow,
                                                       radius + grow));
    }
}

// Another application's window: an opaque frame under its title bar, at the
// window's alpha; not the key window, since ours or another is.
void drawOtherWindow(GraphicsContext& context, const ListedWindow& window) {
    if (window.layer < 0) return;  // the desktop picture is drawn already
    if (window.layer > 0) {
        // The Dock and its like: a translucent shelf.
        context.setFillColor(Color::white(1, 0.35));
        context.fill(platform::BezierPath::roundedRect(window.bounds, 12, 12));
        return;
    }
    drawShadow(context, window.bounds, platform::TitleBar::cornerRadius);
    context.saveGraphicsState();
    context.translate(window.bounds.minX(), window.bounds.minY());
    const bool seeThrough = window.alpha < 1;
    if (seeThrough) context.beginTransparencyLayer(window.alpha);
    const Rect bounds{{}, window.bounds.size};
    const double radius = platform::TitleBar::cornerRadius;
    context.setFillColor(Color::white(0.98, 1));
    context.fill(platform::BezierPath::roundedRect(bounds, radius, radius));
    platform::TitleBar bar;
    bar.title = window.name;
    bar.draw(context, bounds);
    if (seeThrough) context.endTransparencyLayer();
    context.restoreGraphicsState();
}

void drawOurWindow(GraphicsContext& context, const platform::Window& window, Rect bounds) {
    const auto image = platform::ViewRenderer::imageOf(window);
    if (!image) return;
    // A material blends a blur of what lies beneath, so no edge behind it reads as a line.
    if (window.alphaValue() > 0) {
        for (const auto& backdrop : platform::ViewRenderer::backdropsOf(window)) {
            const Rect shape = backdrop.rect.offsetBy(bounds.minX(), bounds.minY());
            context.blur(platform::BezierPath::roundedRect(shape, backdrop.cornerRadius,
                                                           backdrop.cornerRadius),
                         kBackdropBlur);
        }
    }
    // An invisible window casts none, nor does a speck such as a hidden anchor.
    if (window.hasShadow() && window.alphaValue() > 0 && bounds.width() > 2 &&
        bounds.height() > 2) {
        // Under the window's body: a titled window's rounded frame, or its content.
        const bool titled = window.styleMask().contains(platform::Window::Style::titled);
        const Rect frame = window.frame();
        const Rect content = window.contentRectForFrameRect(frame);
        const Rect body = titled ? bounds
                                 : Rect::make(bounds.minX() + content.minX() - frame.minX(),
                                              bounds.minY() + frame.maxY() - content.maxY(),
                                              content.width(), content.height());
        drawShadow(context, body, platform::TitleBar::cornerRadius);
    }
    const Rect whole{{}, image->size()};
    context.drawImage(*image, bounds, whole, platform::CompositingOperation::sourceOver,
                      window.alphaValue());
}

void drawMenuBar(GraphicsContext& context, double width) {
    context.setFillColor(Color::white(0.93, 0.85));
    context.fillRect(Rect::make(0, 0, width, platform::Display::menuBarHeight));
}

std::optional<platform::Display> displayNumbered(std::uint32_t number) {
    auto& desktop = platform::Desktop::shared();
    if (number != 0) return desktop.display(number);
    if (const auto main = desktop.mainDisplay()) return desktop.display(*main);
    if (!desktop.displays().empty()) return desktop.displays().front();
    return std::nullopt;
}

void drawWindows(GraphicsContext& context, Rect area, Point origin) {
    auto list = WindowList::copyWindowInfo(platform::WindowListOption::onScreenOnly, 0);
    bool menuBarDrawn = false;
    for (const auto& value : std::views::reverse(list.value_or(platform::PropertyArray{}))) {
        const auto window = listed(value, origin);
        if (!window) continue;
        if (!menuBarDrawn && window->layer >= kMenuBarLayer) {
            drawMenuBar(context, area.width());
            menuBarDrawn = true;
        }
        auto* ours = window->owner == ::getpid() ? ourWindow(window->number) : nullptr;
        if (ours) {
            drawOurWindow(context, *ours, window->bounds);
        } else if (window->owner != ::getpid()) {
            drawOtherWindow(context, *window);
        }
    }
    if (!menuBarDrawn) drawMenuBar(context, area.width());
}

// An open menu lies where it opened: a pop-up's over its button, the status
// item's below its button.
void drawOpenMenu(GraphicsContext& context, Point origin) {
    const auto* menu = platform::Menu::trackingMenu();
    if (!menu || !menu->frame()) return;
    const auto bounds = platform::Desktop::shared().boundsFromFrame(*menu->frame());
    const MenuPicture picture(*menu);
    const Point topLeft{bounds.minX() - origin.x, bounds.minY() - origin.y};
    drawShadow(context, Rect{topLeft, picture.size()}, MenuPicture::cornerRadius);
    picture.draw(context, topLeft);
}

}  // namespace

std::optional<platform::Image> Snapshot::picture(std::uint32_t number) {
    platform::assertMainThread();
    const auto display = displayNumbered(number);
    if (!display) return std::nullopt;
    const auto bounds = platform::Desktop::shared().boundsFromFrame(display->frame);
    platform::Image image(display->frame.size);
    {
        GraphicsContext context(image);
        const Rect area{{}, display->frame.size};
        drawDesktop(context, area);
        drawWindows(context, area, bounds.origin);
        drawOpenMenu(context, bounds.origin);
    }
    return image;
}

Refusal Snapshot::write(const std::string& path, std::uint32_t display) {
    const auto image = picture(display);
    if (!image) return "there is no display " + std::to_string(display);
    if (!GraphicsContext::writePNG(*image, path)) return "cannot write " + path;
    return std::nullopt;
}

}  // namespace zelvana::driver
