#include "Zelvana/Space.hpp"

#include <cstdint>
#include <map>
#include <set>
#include <utility>

#include "Tools/ImageUtil.hpp"
#include "Zelvana/AppNotifications.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::core {

namespace {

using platform::CompositingOperation;
using platform::Image;
using platform::Rect;

Rect boundsOf(const Image& image) {
    return Rect{{}, image.size()};
}

// Each tile casts this shadow on what lies under it; a margin this wide
// around the tile holds all of it.
const platform::Shadow kTileShadow{{2.0, 0.0}, 2.0};
constexpr double kShadowMargin = 4;

// The icon stretched over a square of the standard side, drawn at the
// picture's side with its shadow around it: drawing it draws the shadow, then
// the tile.
Image iconTile(const Image& icon, std::int64_t side) {
    Image tile(platform::Size{Space::iconSide, Space::iconSide});
    tile.draw(icon, boundsOf(tile), boundsOf(icon), CompositingOperation::sourceOver);
    const auto length = static_cast<double>(side);
    Image shadowed(platform::Size{length + 2 * kShadowMargin, length + 2 * kShadowMargin});
    shadowed.draw(tile, Rect::make(kShadowMargin, kShadowMargin, length, length), boundsOf(tile),
                  CompositingOperation::sourceOver, 1.0, kTileShadow);
    return shadowed;
}

// The step from one tile to the next, and the picture's size, for `count` tiles.
std::int64_t tileStep(std::int64_t count, std::int64_t side) {
    return side * 10 / 7 / count + 15;
}

platform::Size pictureSize(std::int64_t count, std::int64_t side) {
    return {static_cast<double>(side + tileStep(count, side) * (count - 1)),
            static_cast<double>(side)};
}

// The tiles side by side from the left, each overlapping the next, the first
// on top.
Image composite(const std::vector<Image>& tiles, std::int64_t side) {
    const auto count = static_cast<std::int64_t>(tiles.size());
    const std::int64_t step = tileStep(count, side);
    Image picture(pictureSize(count, side));
    for (auto k = count - 1; k >= 0; --k) {
        const auto& tile = tiles[static_cast<std::size_t>(k)];
        const Rect into{{static_cast<double>(k * step) - kShadowMargin, -kShadowMargin},
                        tile.size()};
        picture.draw(tile, into, boundsOf(tile), CompositingOperation::sourceOver);
    }
    return picture;
}

// Thousands of spaces show a few applications in a few combinations: each
// application's tile is drawn once, and each picture once per list of icons,
// size and tone. Keys are content ids, so a changed icon is drawn afresh.
// Tiles and pictures are drawn only when something draws them or reads their
// pixels: a panel of a thousand cells shows a few dozen. Main thread only.
class Pictures {
public:
    static Pictures& shared() {
        static auto* pictures = new Pictures();
        return *pictures;
    }

    const std::optional<Image>& picture(const std::vector<Image>& icons, std::int64_t side,
                                        bool stale) {
        Key key{{}, side, stale};
        for (const auto& icon : icons) key.icons.push_back(icon.contentId());
        if (pictures_.size() >= kLimit) pictures_.clear();
        auto found = pictures_.find(key);
        if (found == pictures_.end()) {
            found = pictures_.emplace(std::move(key), draw(icons, side, stale)).first;
        }
        return found->second;
    }

private:
    static constexpr std::size_t kLimit = 1024;
    struct Key {
        std::vector<std::uint64_t> icons;
        std::int64_t side = 0;
        bool stale = false;
        auto operator<=>(const Key&) const = default;
    };

    // Kept at the picture's side, so pictures are composed without scaling.
    const Image& tile(const Image& icon, std::int64_t side) {
        if (tiles_.size() >= kLimit) tiles_.clear();
        const std::pair key{icon.contentId(), side};
        auto found = tiles_.find(key);
        if (found == tiles_.end()) {
            const auto length = static_cast<double>(side) + 2 * kShadowMargin;
            found = tiles_
                        .emplace(key, Image::drawnWhenNeeded(
                                          {length, length},
                                          [icon, side] { return iconTile(icon, side); }))
                        .first;
        }
        return found->second;
    }

    std::optional<Image> draw(const std::vector<Image>& icons, std::int64_t side, bool stale) {
        if (side < 1) return std::nullopt;
        std::vector<Image> tiles;
        for (const auto& icon : icons) tiles.push_back(tile(icon, side));
        const auto size = pictureSize(static_cast<std::int64_t>(tiles.size()), side);
        return Image::drawnWhenNeeded(size, [tiles = std::move(tiles), side, stale] {
            Image picture = composite(tiles, side);
            if (!stale) return picture;
            // Keep the colour picture should the filter be missing.
            auto sepia = tools::ImageUtil::applyFilter(picture, "CISepiaTone");
            return sepia ? std::move(*sepia) : picture;
        });
    }

    std::map<std::pair<std::uint64_t, std::int64_t>, Image> tiles_;
    std::map<Key, std::optional<Image>> pictures_;
};

// One icon per process, in the order of each process's first window.
std::vector<Image> applicationIcons(const std::vector<tools::WindowInfo>& windows) {
    std::vector<Image> icons;
    std::set<std::int32_t> seen;
    for (const auto& window : windows) {
        // Noted first, so a process without a bundle is not asked again.
        if (!seen.insert(window.pid).second) continue;
        const auto bundleURL = window.runningApplicationBundleURL();
        if (!bundleURL) continue;
        icons.push_back(platform::Workspace::shared().iconForFile(*bundleURL));
    }
    return icons;
}

}  // namespace

double Space::settingsSizeFactor() {
    return GlobalDefaults::spaceSizeFactor().value();
}

Space::Space() : Space(Fields{}) {}

Space::Space(Fields fields)
    : id_(fields.id       ? std::move(fields.id)
          : fields.anchor ? std::optional(fields.anchor->id())
                          : std::nullopt),
      anchor_(std::move(fields.anchor)),
      coordinates_(std::move(fields.coordinates)),
      backgroundImage_(std::move(fields.backgroundImage)),
      title_(withoutEmpty(std::move(fields.title))),
      borderColor_(fields.borderColor),
      borderSize_(fields.borderSize),
      color_(fields.color),
      isNewSelection_(fields.isNewSelection),
      isStale_(fields.isStale),
      isActiveOnLoad_(fields.isActiveOnLoad),
      windowList_(std::move(fields.windowList)),
      lastDisplayID_(fields.lastDisplayID),
      sizeFactor_(std::move(fields.sizeFactor)) {
    platform::assertMainThread();
    if (fields.lastActive && anchor_) anchor_->setLastActive(fields.lastActive);
}

std::optional<Coordinates> Space::cellOn(DisplayNumber display) const {
    if (lastCellOn_ && lastCellOn_->display == display) return lastCellOn_->cell;
    const auto found = coordinates_.find(display);
    const bool usable = found != coordinates_.end() && found->second.isUsable();
    lastCellOn_ = CellOn{display, usable ? std::optional(found->second) : std::nullopt};
    return lastCellOn_->cell;
}

std::set<DisplayNumber> Space::cellDisplays() const {
    std::set<DisplayNumber> displays;
    for (const auto& [display, cell] : coordinates_) displays.insert(display);
    return displays;
}

void Space::setCoordinates(CoordinateMap coordinates) {
    coordinates_ = std::move(coordinates);
    lastCellOn_.reset();
    record_.reset();
}

void Space::setCell(DisplayNumber display, Coordinates cell) {
    // Mostly the cell it has: known without the map.
    if (cell.isUsable() && cellOn(display) == cell) return;
    const auto [found, added] = coordinates_.try_emplace(display, cell);
    if (!added && found->second == cell) return;
    found->second = cell;
    lastCellOn_.reset();
    record_.reset();
}

void Space::moveCell(DisplayNumber from, DisplayNumber to) {
    auto entry = coordinates_.extract(from);
    if (!entry) return;
    entry.key() = to;
    coordinates_.erase(to);
    coordinates_.insert(std::move(entry));
    lastCellOn_.reset();
    record_.reset();
}

std::optional<platform::Screen> Space::screen() const {
    return anchor_ ? anchor_->screen() : std::nullopt;
}

std::optional<platform::Size> Space::size() const {
    const auto onScreen = screen();
    if (!onScreen) return std::nullopt;
    const double factor = sizeFactor_();
    const auto frame = onScreen->frame();
    return platform::Size{frame.width() * factor, frame.height() * factor};
}

bool Space::isCurrent() const {
    return anchor_ && anchor_->isOnActiveSpace() && anchor_->isActive();
}

void Space::select() const {
    platform::assertMainThread();
    postAppNotification(AppNotification::spaceSelected, id_);
}

double Space::widthBase() const {
    const auto scaled = size();
    return scaled ? scaled->width : defaultWidthBase;
}

const std::optional<platform::Image>& Space::image() const {
    platform::assertMainThread();
    if (imageIsDue_) drawImage();
    return image_;
}

void Space::drawImage() const {
    imageIsDue_ = false;
    image_.reset();
    if (windowList_.empty()) return;
    const auto icons = applicationIcons(windowList_);
    if (icons.empty()) return;
    const std::int64_t side = static_cast<std::int64_t>(widthBase()) / 3;
    image_ = Pictures::shared().picture(icons, side, isStale_);
}

// The inverse of makeRecord, kept beside it.
std::shared_ptr<Space> CodableSpace::makeSpace(StoredStaleness staleness) const {
    return std::make_shared<Space>(Space::Fields{
        .id = id,
        .title = title,
        .color = color ? std::optional(settings::decodeColor(*color)) : std::nullopt,
        .isStale = staleness == StoredStaleness::keep ? isStale.value_or(false) : true,
        .isActiveOnLoad = isActive.value_or(true),
        .windowList = windowList,
        .coordinates = coordinates,
        .lastActive = lastActive,
        .lastDisplayID = lastDisplayID,
    });
}

std::shared_ptr<const CodableSpace> Space::record() const {
    // The anchor's date and state change without telling the space.
    const bool anchorChanged =
        record_ && anchor_ &&
        (record_->lastActive != anchor_->lastActive() || record_->isActive != anchor_->isActive());
    if (!record_ || anchorChanged) record_ = std::make_shared<const CodableSpace>(makeRecord());
    return record_;
}

CodableSpace Space::makeRecord() const {
    CodableSpace codable;
    codable.id = id_;
    codable.title = title_;
    codable.windowList = windowList_;
    codable.coordinates = coordinates_;
    codable.lastDisplayID = lastDisplayID_;
    if (anchor_) codable.lastActive = anchor_->lastActive();
    if (isStale_) codable.isStale = true;
    if (color_) codable.color = settings::encodeColor(*color_);
    codable.isActive = anchor_ && anchor_->isActive();
    return codable;
}

std::string Space::shortId() const {
    if (!id_) return "";
    return id_->size() <= 4 ? *id_ : id_->substr(id_->size() - 4);
}

}  // namespace zelvana::core
