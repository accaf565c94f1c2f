#include "Zelvana/GridRestoration.hpp"

#include <set>
#include <string>

#include "Logging/Logging.hpp"
#include "Tools/WindowUtil.hpp"
#include "Zelvana/CodableScreen.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/ScreenManager.hpp"
#include "Zelvana/UnreadableSetting.hpp"
#include "switcher/SpaceSwitcher.hpp"

namespace zelvana::core::restoration {

namespace {

using logging::Logging;
using switcher::SpaceAnchor;
using AnchorMap = switcher::SpaceSwitcher::AnchorMap;

constexpr const char* kSystemWindowOwner = "WindowManager";
constexpr double kMinimumWindowSide = 40;

bool isIdleTooLong(const CodableSpace& stored) {
    return stored.lastActive &&
           platform::Date::now().timeIntervalSince(*stored.lastActive) > kInactivityLimit;
}

// Cells stored under the display's former number move to its current one.
void moveCellsToCurrentDisplay(Space& space, ScreenManager& screenManager) {
    const auto screen = space.screen();
    if (!screen) return;
    const auto display = displayNumber(*screen);
    if (space.coordinates().contains(display)) return;
    if (const auto former = screenManager.storedId(*screen, space.cellDisplays())) {
        space.moveCell(*former, display);
    }
}

std::shared_ptr<Space> adopt(const CodableSpace& stored, const std::shared_ptr<SpaceAnchor>& anchor,
                             ScreenManager& screenManager, StoredStaleness staleness) {
    auto space = stored.makeSpace(staleness);
    space->setAnchor(anchor);
    anchor->setIsActive(space->isActiveOnLoad());
    // Marking the anchor active dates it now; the stored date is the truth,
    // or a month away from the program would close every space.
    if (stored.lastActive) anchor->setLastActive(stored.lastActive);
    moveCellsToCurrentDisplay(*space, screenManager);
    return space;
}

}  // namespace

bool keepUnreadableGridAside() {
    const auto& grid = GlobalDefaults::grid();
    if (grid.typedValue()) return true;
    return keepUnreadableAside(grid,
                               {.subject = "the stored grid",
                                .possessive = "its",
                                .ifNotKept = "no grid is saved until the spaces are cleared"});
}

std::shared_ptr<Space> spaceForAnchor(const std::shared_ptr<SpaceAnchor>& anchor) {
    return std::make_shared<Space>(Space::Fields{.anchor = anchor});
}

std::unique_ptr<SpaceGrid> restoreGrid(switcher::SpaceSwitcher& switcher,
                                       ScreenManager& screenManager, StoredStaleness staleness) {
    const std::vector<CodableSpace> none;
    const auto& typed = GlobalDefaults::grid().typedValue();
    const auto& stored = typed ? *typed : none;
    AnchorMap unmatched = switcher.idAnchors();
    SpaceGrid::SpaceList spaces;
    for (const auto& record : stored) {
        const auto id = record.id.value_or("");
        const auto found = unmatched.find(id);
        if (found == unmatched.end()) {
            Logging::info("codable space without matching anchor " + id);
            continue;
        }
        const auto anchor = found->second;
        unmatched.erase(found);
        if (isIdleTooLong(record)) {
            Logging::info("inactive for 30 days, closing " + id);
            anchor->close();
            continue;
        }
        spaces.push_back(adopt(record, anchor, screenManager, staleness));
    }
    auto grid = std::make_unique<SpaceGrid>(std::move(spaces));
    for (const auto& [id, anchor] : unmatched) {
        Logging::info("restored anchor without matching codable space <SpaceAnchor " +
                      anchor->id() + ">");
        grid->add(spaceForAnchor(anchor));
    }
    return grid;
}

std::optional<std::vector<tools::WindowInfo>> guaranteedWindowList(
    const switcher::SpaceSwitcher& switcher) {
    const auto ownPid = static_cast<std::int32_t>(::getpid());
    std::set<DisplayNumber> screensWithAnchor;
    std::vector<tools::WindowInfo> result;
    for (const auto& window : tools::WindowUtil::windowList()) {
        if (window.layer != 0 || window.processName == kSystemWindowOwner) continue;
        const bool large = window.frame.size.width > kMinimumWindowSide &&
                           window.frame.size.height > kMinimumWindowSide;
        // Our own windows (the panel over every space, the settings) are no
        // windows of a space; only small ones can be anchors.
        if (window.pid != ownPid) {
            if (large) result.push_back(window);
            continue;
        }
        if (large) continue;
        for (const auto& anchor : switcher.anchors()) {
            if (anchor->windowNumber() != window.id || !anchor->isActive()) continue;
            const auto screen = anchor->screen();
            if (!screen) continue;
            if (!screensWithAnchor.insert(displayNumber(*screen)).second) {
                Logging::info("multiple active anchors found, window list is being ignored");
                return std::nullopt;
            }
        }
    }
    return result;
}

}  // namespace zelvana::core::restoration
