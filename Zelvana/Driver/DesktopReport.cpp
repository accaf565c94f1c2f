#include "Zelvana/Driver/DesktopReport.hpp"

#include <algorithm>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

#include "GridPanel/GridElement.hpp"
#include "GridPanel/GridPanelWindow.hpp"
#include "GridPanel/GridUnitStackView.hpp"
#include "platform/appkit/ControlState.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/appkit/StatusBar.hpp"
#include "platform/appkit/StatusItem.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/simulator/Keyboard.hpp"

namespace zelvana::driver {

namespace {

using gridpanel::GridUnitStackView;
using gridpanel::GridUnitType;

void collectCells(platform::View& view, std::vector<const GridUnitStackView*>& cells) {
    if (view.isHidden()) return;
    if (const auto* cell = dynamic_cast<const GridUnitStackView*>(&view)) {
        cells.push_back(cell);
        return;
    }
    for (const auto& subview : view.subviews()) collectCells(*subview, cells);
}

std::string describeCell(const GridUnitStackView& cell, int& number) {
    // A dragged cell's way: the place it would land, and the one it left.
    if (cell.unit() && cell.unit()->type() == GridUnitType::target) return "(target)";
    if (!cell.unit() || cell.unit()->type() == GridUnitType::fill ||
        cell.unit()->type() == GridUnitType::initial || !cell.unit()->element()) {
        return "(empty)";
    }
    const auto& element = *cell.unit()->element();
    std::string text = std::to_string(++number);
    if (const auto& title = element.title(); title && !title->empty())
        text += " \"" + lineText(*title) + "\"";
    if (element.isCurrent()) text += " (current)";
    if (element.isNewSelection()) text += " (highlighted)";
    return text;
}

void describeItems(const platform::Menu& menu, const std::string& path,
                   std::vector<std::string>& lines) {
    for (const auto& item : shownMenuItems(menu)) {
        if (item->isSeparatorItem()) {
            lines.push_back("menu: " + path + "---");
            continue;
        }
        lines.push_back("menu: " + path + menuItemText(*item));
        if (item->submenu())
            describeItems(*item->submenu(), path + lineText(item->title()) + " > ", lines);
    }
}

}  // namespace

std::string lineText(const std::string& text) {
    // Bytes that are not UTF-8 show as U+FFFD rather than stopping the line.
    const auto quoted =
        nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return quoted.substr(1, quoted.size() - 2);
}

std::vector<std::string> describeShownSpaces() {
    std::vector<std::string> lines;
    for (const auto& display : platform::Desktop::shared().displays()) {
        const auto shown =
            std::find(display.spaces.begin(), display.spaces.end(), display.shownSpace);
        std::string line =
            "display " + std::to_string(display.number) + " \"" + lineText(display.name) + "\": ";
        if (shown == display.spaces.end()) {
            line += "no space shown";
        } else {
            line += "space " + std::to_string(shown - display.spaces.begin() + 1) + " of " +
                    std::to_string(display.spaces.size());
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

platform::StatusItem* ourStatusItem() {
    auto* bar = platform::StatusBar::system();
    if (!bar) return nullptr;
    const auto items = bar->items();
    return items.empty() ? nullptr : items.front().get();
}

platform::Window* openPanel() {
    for (auto* window : platform::Desktop::shared().applicationWindows()) {
        if (dynamic_cast<gridpanel::GridPanelWindow*>(window) && window->isVisible()) return window;
    }
    return nullptr;
}

std::vector<std::string> describePanel(platform::Window& panel) {
    std::vector<const GridUnitStackView*> cells;
    if (panel.contentView()) collectCells(*panel.contentView(), cells);
    std::map<std::int64_t, std::vector<const GridUnitStackView*>> rows;
    for (const auto* cell : cells) rows[cell->loc.row].push_back(cell);
    std::vector<std::string> lines;
    int number = 0;
    for (auto& [row, rowCells] : rows) {
        std::ranges::sort(rowCells, {}, [](const GridUnitStackView* c) { return c->loc.col; });
        std::string line = "panel: row " + std::to_string(row + 1) + ":";
        for (std::size_t k = 0; k < rowCells.size(); ++k) {
            line += (k == 0 ? " " : " | ") + describeCell(*rowCells[k], number);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::shared_ptr<platform::MenuItem>> shownMenuItems(const platform::Menu& menu) {
    return menu.shownItems(platform::Keyboard::shared().modifierFlags());
}

std::string menuItemText(const platform::MenuItem& item) {
    switch (item.state()) {
        case platform::ControlState::on:
            return "\xE2\x9C\x93 " + lineText(item.title());  // ✓
        case platform::ControlState::mixed:
            return "- " + lineText(item.title());
        default:
            return lineText(item.title());
    }
}

namespace {

std::string withThreeDots(std::string_view title) {
    static constexpr std::string_view ellipsis = "\xE2\x80\xA6";  // …
    std::string text(title);
    for (auto at = text.find(ellipsis); at != std::string::npos; at = text.find(ellipsis, at)) {
        text.replace(at, ellipsis.size(), "...");
    }
    return text;
}

}  // namespace

bool titleReads(std::string_view shown, std::string_view typed) {
    return withThreeDots(shown) == withThreeDots(typed);
}

std::vector<std::string> describeMenu(const platform::Menu& menu) {
    std::vector<std::string> lines;
    describeItems(menu, "", lines);
    return lines;
}

}  // namespace zelvana::driver
