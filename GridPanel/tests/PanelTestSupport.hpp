#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GridPanel/DialogPopover.hpp"
#include "GridPanel/GridPanelOptions.hpp"
#include "GridPanel/GridPanelViewController.hpp"
#include "GridPanel/GridPanelWindow.hpp"
#include "GridPanel/GridPanelWindowController.hpp"
#include "GridPanel/GridUnitStackView.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/DraggingSession.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/input/KeyboardLayout.hpp"
#include "platform/simulator/Desktop.hpp"

namespace zelvana::gridpanel::test {

// A host's element with every field settable and its selections counted.
class TestElement final : public GridElement {
public:
    explicit TestElement(std::string title,
                         std::optional<platform::Size> size = platform::Size{100, 80})
        : title_(std::move(title)), size_(size), id_(title_) {}

    bool current = false;
    mutable int selections = 0;
    // Runs on select, as the host's switch may rebuild the grid.
    std::function<void()> onSelect;

    const std::optional<std::string>& id() const override { return id_; }
    void setId(std::optional<std::string> id) override { id_ = std::move(id); }
    const std::optional<platform::Image>& image() const override { return image_; }
    void setImage(std::optional<platform::Image> image) override { image_ = std::move(image); }
    const std::optional<platform::Image>& backgroundImage() const override { return background_; }
    void setBackgroundImage(std::optional<platform::Image> image) override {
        background_ = std::move(image);
    }
    const std::optional<std::string>& title() const override { return title_; }
    void setTitle(std::optional<std::string> title) override { title_ = std::move(title); }
    std::optional<platform::Size> size() const override { return size_; }
    void setSize(std::optional<platform::Size> size) { size_ = size; }
    const std::optional<platform::Color>& borderColor() const override { return border_; }
    void setBorderColor(std::optional<platform::Color> color) override { border_ = color; }
    std::optional<double> borderSize() const override { return std::nullopt; }
    void setBorderSize(std::optional<double>) override {}
    const std::optional<platform::Color>& color() const override { return color_; }
    void setColor(std::optional<platform::Color> color) override { color_ = color; }
    bool isCurrent() const override { return current; }
    bool isNewSelection() const override { return newSelection_; }
    void setIsNewSelection(bool value) override { newSelection_ = value; }
    void select() const override {
        ++selections;
        if (onSelect) onSelect();
    }

private:
    std::optional<std::string> title_;
    std::optional<platform::Size> size_;
    std::optional<std::string> id_;
    std::optional<platform::Image> image_;
    std::optional<platform::Image> background_;
    std::optional<platform::Color> border_;
    std::optional<platform::Color> color_;
    bool newSelection_ = false;
};

// Writes down what the panel reports.
struct RecordingDelegate final : GridPanelDelegate {
    std::vector<std::optional<std::string>> selections;  // titles, none for a cleared highlight
    int closes = 0;
    int moves = 0;
    std::vector<std::optional<std::int64_t>> gridChanges;
    std::vector<std::vector<std::string>> changedRows;  // titles of the last change
    std::vector<std::uint16_t> handledKeys;
    std::vector<std::uint16_t> flagChanges;

    void gridChanged(std::optional<std::int64_t> id, const ElementRows& rows) override {
        gridChanges.push_back(id);
        changedRows.clear();
        for (const auto& row : rows) {
            auto& titles = changedRows.emplace_back();
            for (const auto& element : row) titles.push_back(element->title().value_or("?"));
        }
    }
    void panelClosed() override { ++closes; }
    void panelMoved() override { ++moves; }
    void flagsChanged(const platform::Event& event) override {
        flagChanges.push_back(event.keyCode);
    }
    std::optional<platform::Event> handleKeyDown(const platform::Event& event) override {
        handledKeys.push_back(event.keyCode);
        return std::nullopt;
    }
    void selectionChanged(const GridElementRef& element) override {
        selections.push_back(element ? element->title() : std::nullopt);
    }
    platform::WeakFactory<RecordingDelegate> weak{this};
};

using Elements = std::vector<std::vector<std::shared_ptr<TestElement>>>;

// Rows of test elements with the given row lengths, titled "0,0", "0,1", ...
inline Elements elementsOf(const std::vector<int>& lengths) {
    Elements rows;
    for (std::size_t r = 0; r < lengths.size(); ++r) {
        auto& row = rows.emplace_back();
        for (int c = 0; c < lengths[r]; ++c) {
            row.push_back(
                std::make_shared<TestElement>(std::to_string(r) + "," + std::to_string(c)));
        }
    }
    return rows;
}

inline ElementRows rowsOf(const Elements& elements) {
    ElementRows rows;
    for (const auto& row : elements) rows.emplace_back(row.begin(), row.end());
    return rows;
}

// A main display, a fresh application and a panel whose delegate records.
class PanelTest : public ::testing::Test {
protected:
    PanelTest() {
        platform::Application::shared().resetForTesting();
        platform::EventMonitors::resetForTesting();
        auto& desktop = platform::Desktop::shared();
        desktop.resetForTesting();
        desktop.addDisplay(
            platform::Display::make(1, platform::Rect::make(0, 0, 1440, 900), "Main"));
        options->delegate = delegate->weak.ref();
        controller = std::make_unique<GridPanelWindowController>(options);
        platform::DraggingSession::resetForTesting();
    }
    ~PanelTest() override {
        controller.reset();
        platform::DraggingSession::resetForTesting();
        platform::KeyboardLayout::resetForTesting();
        platform::Desktop::shared().resetForTesting();
        platform::EventMonitors::resetForTesting();
    }

    GridPanelViewController& viewController() { return *controller->viewController(); }
    GridPanelWindow& window() { return *controller->panelWindow(); }
    GridUnitStackView& cell(std::int64_t row, std::int64_t col) {
        return *viewController().cellView(row, col);
    }
    void reload(const Elements& elements, std::optional<std::int64_t> id = std::nullopt) {
        controller->reload(id, rowsOf(elements));
    }
    // Moves the pointer to the middle of a cell (or far off the grid).
    void hover(std::optional<GridLoc> loc) {
        platform::Point point{-100, -100};
        if (loc) {
            GridUnitStackView& target = cell(loc->row, loc->col);
            const auto b = target.bounds();
            point = target.convertPointToView({b.width() / 2, b.height() / 2}, nullptr);
        }
        window().sendEvent(
            platform::Event::mouseEvent(platform::EventType::mouseMoved, point, &window()));
    }

    // A key event through the application's monitors: what gets delivered.
    std::optional<platform::Event> key(std::uint16_t code, platform::ModifierFlags flags = {},
                                       platform::EventType type = platform::EventType::keyDown) {
        return platform::EventMonitors::dispatchLocal(
            platform::Event::keyEvent(type, code, flags, "", ""));
    }
    // The middle of a cell in the window server's global coordinates.
    platform::Point globalCenter(GridLoc loc) {
        GridUnitStackView& target = cell(loc.row, loc.col);
        const auto b = target.bounds();
        const auto inWindow = target.convertPointToView({b.width() / 2, b.height() / 2}, nullptr);
        const auto origin = platform::Desktop::shared().boundsFromFrame(window().frame()).origin;
        return {origin.x + inWindow.x, origin.y + inWindow.y};
    }

    platform::VirtualClock clock;
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
    std::shared_ptr<GridPanelOptions> options = std::make_shared<GridPanelOptions>();
    std::unique_ptr<GridPanelWindowController> controller;
};

}  // namespace zelvana::gridpanel::test
