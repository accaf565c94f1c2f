#include "Zelvana/Space.hpp"

#include <cstdint>
#include <set>

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

// The icon stretched over a square of the standard side.
Image iconTile(const Image& icon) {
    Image tile(platform::Size{Space::iconSide, Space::iconSide});
    tile.draw(icon, boundsOf(tile), boundsOf(icon), CompositingOperation::sourceOver);
    return tile;
}

// One icon per process, in the order of each process's first window.
std::vector<Image> applicationIcons(const std::vector<tools::WindowInfo>& windows) {
    std::vector<Image> icons;
    std::set<std::int32_t> seen;
    for (const auto& window : windows) {
        // Noted first, so a process without a bundle is not asked again.
        if (!seen.insert(window.pid).second) continue;
        const auto bundleURL = window.runningApplicationBundleURL();
        if (!bundleURL) continue;
        icons.push_back(iconTile(platform::Workspace::shared().iconForFile(*bundleURL)));
    }
    return icons;
}

// The icons side by side from the left, each overlapping the next, the first
// on top.
std::optional<Image> composite(const std::vector<Image>& icons, double widthBase) {
    const auto count = static_cast<std::int64_t>(icons.size());
    const std::int64_t side = static_cast<std::int64_t>(widthBase) / 3;
    if (side < 1) return std::nullopt;
    const std::int64_t step = side * 10 / 7 / count + 15;
    Image picture(
        platform::Size{static_cast<double>(side + step * (count - 1)), static_cast<double>(side)});
    const platform::Shadow shadow{{2.0, 0.0}, 2.0};
    for (auto k = count - 1; k >= 0; --k) {
        const Rect into = Rect::make(static_cast<double>(k * step), 0, static_cast<double>(side),
                                     static_cast<double>(side));
        const auto& icon = icons[static_cast<std::size_t>(k)];
        picture.draw(icon, into, boundsOf(icon), CompositingOperation::sourceOver, 1.0, shadow);
    }
    return picture;
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
      title_(std::move(fields.title)),
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
    const auto found = coordinates_.find(display);
    if (found == coordinates_.end() || !found->second.isUsable()) return std::nullopt;
    return found->second;
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
    image_ = composite(icons, widthBase());
    if (!image_ || !isStale_) return;
    // Keep the colour picture should the filter be missing.
    if (auto sepia = tools::ImageUtil::applyFilter(*image_, "CISepiaTone")) {
        image_ = std::move(sepia);
    }
}

CodableSpace Space::makeCodable() const {
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
