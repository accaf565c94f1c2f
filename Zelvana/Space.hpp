#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "GridPanel/GridElement.hpp"
#include "Tools/WindowInfo.hpp"
#include "Zelvana/CodableSpace.hpp"
#include "Zelvana/Coordinates.hpp"
#include "Zelvana/DisplayNumber.hpp"
#include "platform/appkit/Color.hpp"
#include "platform/appkit/Image.hpp"
#include "platform/appkit/Rect.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/foundation/Date.hpp"
#include "switcher/SpaceAnchor.hpp"

namespace zelvana::core {

// One known desktop space: the anchor that marks it, its cell in the grid of
// every display it has been placed on, the user's title and colour, the
// windows last seen on it and the picture of their applications' icons. One
// object is shared by the grid, the hub and the panel, so a change through
// one holder is seen by all; it is the grid panel's element. Main thread
// only.
class Space final : public gridpanel::GridElement {
public:
    using Anchor = std::shared_ptr<switcher::SpaceAnchor>;
    using CoordinateMap = std::map<DisplayNumber, Coordinates>;

    // The side of one application icon before it is scaled into the picture.
    static constexpr double iconSide = 70;
    // The picture's width base without an anchor on a screen.
    static constexpr double defaultWidthBase = 210;

    // The setting spaceSizeFactor.
    static double settingsSizeFactor();

    // What a space is made from; whatever is left out starts empty. The
    // picture is always built from the window list, never given.
    struct Fields {
        std::optional<std::string> id{};
        Anchor anchor{};
        std::optional<platform::Image> backgroundImage{};
        std::optional<std::string> title{};
        std::optional<platform::Color> borderColor{};
        std::optional<double> borderSize{};
        std::optional<platform::Color> color{};
        bool isNewSelection = false;
        bool isStale = false;
        bool isActiveOnLoad = false;
        std::vector<tools::WindowInfo> windowList{};
        CoordinateMap coordinates{};
        // Handed to the anchor, when there is one; a space keeps no date.
        std::optional<platform::Date> lastActive{};
        std::optional<DisplayNumber> lastDisplayID{};
        // What the anchor's screen size is scaled by; by default the setting.
        std::function<double()> sizeFactor = settingsSizeFactor;
    };

    // Every field empty.
    Space();
    // Without an id the anchor's id is taken.
    explicit Space(Fields fields);
    Space(const Space&) = delete;
    Space& operator=(const Space&) = delete;

    const std::optional<std::string>& id() const override { return id_; }
    void setId(std::optional<std::string> id) override {
        id_ = std::move(id);
        record_.reset();
    }
    const Anchor& anchor() const { return anchor_; }
    void setAnchor(Anchor anchor) {
        anchor_ = std::move(anchor);
        record_.reset();
    }

    // Every display the space has a cell on, as stored. A change drops the
    // stored record, so the next save makes it afresh; an unchanged cell keeps it.
    const CoordinateMap& coordinates() const { return coordinates_; }
    void setCoordinates(CoordinateMap coordinates);
    void setCell(DisplayNumber display, Coordinates cell);
    // The cell stored under a display's former number goes to its current one.
    void moveCell(DisplayNumber from, DisplayNumber to);
    // The cell on one display, when there is a usable one.
    std::optional<Coordinates> cellOn(DisplayNumber display) const;
    // The displays it has a cell stored for, usable or not.
    std::set<DisplayNumber> cellDisplays() const;

    // Drawn when first asked for after the window list changed, so that
    // hundreds of restored spaces cost nothing until the panel shows them.
    const std::optional<platform::Image>& image() const override;
    void setImage(std::optional<platform::Image> image) override {
        image_ = std::move(image);
        imageIsDue_ = false;
        ++appearanceRevision_;
    }
    const std::optional<platform::Image>& backgroundImage() const override {
        return backgroundImage_;
    }
    void setBackgroundImage(std::optional<platform::Image> image) override {
        backgroundImage_ = std::move(image);
        ++appearanceRevision_;
    }
    const std::optional<std::string>& title() const override { return title_; }
    // An empty name is no name: the space is shown by its number alone.
    void setTitle(std::optional<std::string> title) override {
        title_ = withoutEmpty(std::move(title));
        record_.reset();
        ++appearanceRevision_;
    }
    const std::optional<platform::Color>& borderColor() const override { return borderColor_; }
    void setBorderColor(std::optional<platform::Color> color) override {
        borderColor_ = color;
        ++appearanceRevision_;
    }
    std::optional<double> borderSize() const override { return borderSize_; }
    void setBorderSize(std::optional<double> size) override { borderSize_ = size; }
    const std::optional<platform::Color>& color() const override { return color_; }
    void setColor(std::optional<platform::Color> color) override {
        color_ = color;
        record_.reset();
        ++appearanceRevision_;
    }

    // The highlighted target of a pending step.
    bool isNewSelection() const override { return isNewSelection_; }
    void setIsNewSelection(bool value) override { isNewSelection_ = value; }
    // The window list is from an earlier run; the picture is sepia.
    bool isStale() const { return isStale_; }
    void setIsStale(bool value) {
        if (value == isStale_) return;
        isStale_ = value;
        record_.reset();
    }
    // The anchor's stored isActive, for the hub to hand back.
    bool isActiveOnLoad() const { return isActiveOnLoad_; }
    void setIsActiveOnLoad(bool value) { isActiveOnLoad_ = value; }

    const std::vector<tools::WindowInfo>& windowList() const { return windowList_; }
    void setWindowList(std::vector<tools::WindowInfo> windows) {
        windowList_ = std::move(windows);
        record_.reset();
    }
    std::optional<DisplayNumber> lastDisplayID() const { return lastDisplayID_; }
    void setLastDisplayID(std::optional<DisplayNumber> display) {
        if (display == lastDisplayID_) return;
        lastDisplayID_ = display;
        record_.reset();
    }

    // The screen of the anchor panel; none without anchor.
    std::optional<platform::Screen> screen() const;
    // The anchor's screen size scaled by the size factor.
    std::optional<platform::Size> size() const override;
    // The anchor is active and its panel is on a shown space.
    bool isCurrent() const override;
    // Asks the hub to switch here: posts spaceSelected with the id.
    void select() const override;
    // The picture is drawn again from the window list, the anchor's screen
    // and the staleness the next time it is asked for.
    void rebuildImage() {
        imageIsDue_ = true;
        ++appearanceRevision_;
    }
    // Counted by the setters of the picture, background, title and colours,
    // and by rebuildImage: the picture changes only when drawn after that.
    std::optional<std::uint64_t> appearanceRevision() const override { return appearanceRevision_; }

    // The stored record, kept until something it holds changes, so a save
    // shares it instead of copying windows and strings. Immutable: a save
    // queue may read it on any thread.
    std::shared_ptr<const CodableSpace> record() const;
    // The last four characters of the id, for log lines.
    std::string shortId() const;

private:
    static std::optional<std::string> withoutEmpty(std::optional<std::string> title) {
        return title && title->empty() ? std::nullopt : std::move(title);
    }
    double widthBase() const;
    CodableSpace makeRecord() const;
    void drawImage() const;

    std::optional<std::string> id_;
    Anchor anchor_;
    // Beside the anchor: both are read for every cell each time the panel shows.
    std::uint64_t appearanceRevision_ = 0;
    // The cell on the display last asked about: the grid asks for the main
    // display's cell of every space several times a refresh, and a map node
    // apart from the space costs a cache miss each time. Dropped by every
    // change of the coordinates.
    struct CellOn {
        DisplayNumber display;
        std::optional<Coordinates> cell;
    };
    mutable std::optional<CellOn> lastCellOn_;
    CoordinateMap coordinates_;
    mutable std::optional<platform::Image> image_;
    mutable bool imageIsDue_ = true;
    std::optional<platform::Image> backgroundImage_;
    std::optional<std::string> title_;
    std::optional<platform::Color> borderColor_;
    std::optional<double> borderSize_;
    std::optional<platform::Color> color_;
    bool isNewSelection_ = false;
    bool isStale_ = false;
    bool isActiveOnLoad_ = false;
    std::vector<tools::WindowInfo> windowList_;
    std::optional<DisplayNumber> lastDisplayID_;
    std::function<double()> sizeFactor_;
    // Dropped by every change to what it holds; none until asked for.
    mutable std::shared_ptr<const CodableSpace> record_;
};

}  // namespace zelvana::core
