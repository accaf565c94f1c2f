#include "Zelvana/Driver/Snapshot.hpp"

#include <unistd.h>

#include <algorithm>
#include <ranges>

#include "Zelvana/Driver/DesktopReport.hpp"
#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/appkit/StatusItem.hpp"
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
constexpr double kTitleBarHeight = 28;
constexpr double kMenuRowHeight = 22;
constexpr double kMenuSeparatorHeight = 11;
constexpr double kMenuWidth = 240;

// One window of the window list, in the display's picture coordinates.
struct ListedWindow {
    std::int64_t number = 0;
    std::int64_t layer = 0;
    std::int64_t owner = 0;
    Rect bounds{};
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

// Another application's window: a frame, a title bar and its name.
void drawOtherWindow(GraphicsContext& context, const ListedWindow& window) {
    if (window.layer < 0) return;  // the desktop picture is drawn already
    if (window.layer > 0) {
        // The Dock and its like: a translucent shelf.
        context.setFillColor(Color::white(1, 0.35));
        context.fill(platform::BezierPath::roundedRect(window.bounds, 12, 12));
        return;
    }
    const auto frame = platform::BezierPath::roundedRect(window.bounds, 10, 10);
    context.setFillColor(Color::white(0.96, 0.97));
    context.fill(frame);
    context.setFillColor(Color::white(0.85, 1));
    context.fillRect(Rect::make(window.bounds.minX(), window.bounds.minY(), window.bounds.width(),
                                std::min(kTitleBarHeight, window.bounds.height())));
    context.setStrokeColor(Color::white(0.55, 1));
    context.stroke(frame, 1);
    context.drawText(window.name, {window.bounds.minX() + 76, window.bounds.minY() + 7},
                     platform::Font::systemFont(13), Color::black());
}

void drawOurWindow(GraphicsContext& context, const platform::Window& window, Rect bounds) {
    const auto image = platform::ViewRenderer::imageOf(window);
    if (!image) return;
    const Rect whole{{}, image->size()};
    context.drawImage(*image, bounds, whole, platform::CompositingOperation::sourceOver, 1);
}

void drawMenuBar(GraphicsContext& context, double width) {
    context.setFillColor(Color::white(0.93, 0.85));
    context.fillRect(Rect::make(0, 0, width, platform::Display::menuBarHeight));
}

double menuHeight(const platform::Menu& menu) {
    double height = 8;
    for (const auto& item : shownMenuItems(menu)) {
        height += item->isSeparatorItem() ? kMenuSeparatorHeight : kMenuRowHeight;
    }
    return height;
}

// The open menu hangs below its status item's button.
void drawMenu(GraphicsContext& context, const platform::Menu& menu, Point topLeft) {
    const auto area = Rect::make(topLeft.x, topLeft.y, kMenuWidth, menuHeight(menu));
    const auto shape = platform::BezierPath::roundedRect(area, 6, 6);
    context.setFillColor(Color::white(0.97, 0.98));
    context.fill(shape);
    context.setStrokeColor(Color::white(0.7, 1));
    context.stroke(shape, 1);
    double y = area.minY() + 4;
    for (const auto& item : shownMenuItems(menu)) {
        if (item->isSeparatorItem()) {
            context.setFillColor(Color::white(0.8, 1));
            context.fillRect(Rect::make(area.minX() + 8, y + 5, kMenuWidth - 16, 1));
            y += kMenuSeparatorHeight;
            continue;
        }
        context.drawText(menuItemText(*item), {area.minX() + 12, y + 3},
                         platform::Font::systemFont(13),
                         item->isEnabled() ? Color::black() : Color::grayColor());
        y += kMenuRowHeight;
    }
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

// A menu near the display's right edge opens leftwards, to fit.
void drawOpenMenu(GraphicsContext& context, Point origin, double width) {
    const auto* menu = platform::Menu::trackingMenu();
    auto* item = ourStatusItem();
    if (!menu || !item || !item->window()) return;
    const auto bounds = platform::Desktop::shared().boundsFromFrame(item->window()->frame());
    double x = bounds.minX() - origin.x;
    if (x >= 0 && x < width) x = std::min(x, width - kMenuWidth - 4);
    drawMenu(context, *menu, {x, bounds.maxY() - origin.y});
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
        drawOpenMenu(context, bounds.origin, area.width());
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
