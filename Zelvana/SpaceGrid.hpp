#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Zelvana/CodableSpace.hpp"
#include "Zelvana/Coordinates.hpp"
#include "Zelvana/DisplayNumber.hpp"
#include "Zelvana/Space.hpp"
#include "platform/appkit/Screen.hpp"

namespace zelvana::core {

class ScreenManager;

// A step from one space to another. The eight directions share their order
// with the panel's directions; none leaves the selection where it is.
enum class GridStep : std::uint8_t {
    up = 0,
    down = 1,
    left = 2,
    right = 3,
    upLeft = 4,
    upRight = 5,
    downLeft = 6,
    downRight = 7,
    forward = 8,
    backward = 9,
    none = 10,
};

// The known spaces laid out in rows and columns, one layout per display: each
// space keeps a cell for every display it has been placed on. A space "counts"
// on a display when its anchor is active and it has a usable cell there.
// Owned by the hub; main thread only.
class SpaceGrid {
public:
    using SpacePtr = std::shared_ptr<Space>;
    using SpaceList = std::vector<SpacePtr>;
    using Rows = std::vector<SpaceList>;
    using SpaceMap = std::map<std::string, SpacePtr>;
    // The stored display number under which a screen was recorded before,
    // among the given ones.
    using StoredDisplayLookup = std::function<std::optional<DisplayNumber>(
        const platform::Screen& screen, const std::set<DisplayNumber>& among)>;

    // The grid width setting, the desktop's main screen and the shared
    // switcher's anchors.
    static std::int64_t settingsGridWidth();
    static std::optional<platform::Screen> desktopMainScreen();
    static bool switcherHoldsAnchor(const switcher::SpaceAnchor& anchor);

    // What the grid reads from around it; by default the live ones above.
    struct Surroundings {
        std::function<std::int64_t()> gridWidth = settingsGridWidth;
        std::function<std::optional<platform::Screen>()> mainScreen = desktopMainScreen;
        std::function<bool(const switcher::SpaceAnchor& anchor)> holdsAnchor = switcherHoldsAnchor;
    };

    // Of two spaces with one id the later is kept in the map.
    explicit SpaceGrid(SpaceList spaces = {});
    SpaceGrid(SpaceList spaces, Surroundings surroundings);

    // In the order they were given to the grid.
    const SpaceList& spaces() const { return spaces_; }
    // The spaces that have an id, by id.
    const SpaceMap& map() const { return map_; }
    SpacePtr space(const std::string& id) const;

    // The spaces whose active anchors the switcher holds, on the main screen.
    SpaceList mainScreenActiveSpaces() const;
    // Whether there are at least `count` of them; stops counting there.
    bool hasMainScreenActiveSpaces(std::size_t count) const;
    // The next free cell in reading order on the display.
    Coordinates nextCoordinates(DisplayNumber display) const;

    // Gives a new space its cell on its anchor's display and keeps it. False,
    // and logged, for a space without id, anchor or screen, or one whose id
    // is known already.
    bool add(SpacePtr space);
    // Forgets every space with the id.
    void remove(const std::string& id);
    // Forgets every space.
    void clear();

    // Re-places a space after its anchor moved to another display.
    void updateSpace(const std::string& id, ScreenManager& screenManager);
    void updateSpace(const std::string& id, const StoredDisplayLookup& storedId);

    // The main display's spaces as dense rows in reading order; their cells
    // there are renumbered to match. Empty without a main screen.
    Rows mainScreenGrid();

    // The space a step away from `space` on its anchor's display; the space
    // itself at an edge; none when it has no cell on a screen.
    SpacePtr neighbour(GridStep step, const SpacePtr& space) const;

    // The stored records of every space, in order, shared with the spaces.
    StoredRecords records() const;

private:
    // Calls `found` with each space mainScreenActiveSpaces holds until it returns false.
    void forEachMainScreenActiveSpace(const std::function<bool(const SpacePtr&)>& found) const;
    std::optional<Coordinates> countingCell(const Space& space, DisplayNumber display) const;
    std::optional<Coordinates> lastCell(DisplayNumber display) const;
    std::optional<std::int64_t> lastRow(DisplayNumber display) const;
    Coordinates cellAfter(const std::optional<Coordinates>& last) const;
    SpacePtr spaceAt(const Coordinates& cell, DisplayNumber display) const;
    bool sharesCell(const Space& space, DisplayNumber display) const;
    void placeFreshly(Space& space, DisplayNumber display);

    void placeCandidates(const SpaceList& candidates, DisplayNumber display);
    Rows compactCandidates(const SpaceList& candidates, DisplayNumber display) const;

    SpacePtr directionalNeighbour(GridStep step, const SpacePtr& space, Coordinates cell,
                                  DisplayNumber display) const;
    SpacePtr forward(Coordinates cell, DisplayNumber display) const;
    SpacePtr backward(Coordinates cell, DisplayNumber display) const;

    SpaceList spaces_;
    SpaceMap map_;
    Surroundings surroundings_;
};

}  // namespace zelvana::core
