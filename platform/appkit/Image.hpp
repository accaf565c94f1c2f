#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/BitmapImage.hpp"
#include "platform/appkit/Color.hpp"
#include "platform/appkit/ImageRep.hpp"
#include "platform/appkit/Pixel.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {

// How drawn colour combines with what is already there (S source, D destination).
enum class CompositingOperation {
    copy,        // S replaces D
    sourceOver,  // S over D
    sourceAtop,  // S where D is, keeping D's alpha
};

// A drop shadow under drawn images: offset in points (x right, y up).
struct Shadow {
    Point offset;
    double blurRadius = 0;
    Color color = Color::rgb(0, 0, 0, 1.0 / 3.0);
};

// An image (NSImage): a size in points and the RGBA8 pixels it draws with
// and into. Point coordinates have their origin at the bottom-left (y up), as
// AppKit images do; pixel rows are stored top first. A value type: copies are
// independent, sharing their pixels until one of them changes. Any number of
// threads may read one image, or its copies, at once; a change needs the
// image to itself.
class Image {
public:
    // A clear image of `size` points at one pixel per point (rounded).
    explicit Image(Size size);
    // A clear image of `size` points backed by the given pixel count.
    Image(Size size, int pixelsWide, int pixelsHigh);
    // An image of the representation's size holding it: its pixels are the
    // representation drawn at its pixel dimensions.
    explicit Image(const ImageRep& representation);
    // An image of the bitmap at `size` points; a zero size takes the
    // bitmap's own, one point a pixel.
    Image(const BitmapImage& bitmap, Size size);
    // The resource "<name>.png" of the main bundle, one point a pixel; names
    // ending in "Template" make template images. None when it is missing or
    // unreadable.
    static std::optional<Image> named(const std::string& name);
    // A PNG file, one point a pixel; none when it cannot be read.
    static std::optional<Image> contentsOfFile(const std::filesystem::path& path);
    // The system's symbol of that name ("x.circle.fill", "x.circle") at the
    // regular text size, as a template image at two pixels a point; none
    // for a name the system lacks.
    static std::optional<Image> systemSymbol(const std::string& name,
                                             std::string accessibilityDescription);
    // An image of `size` points, one pixel a point, whose pixels `make` gives
    // the first time anything needs them, as an image with a drawing handler
    // draws only when drawn: made, kept and copied for next to nothing until
    // then, its copies sharing what it makes. `make` gives an image of that
    // size (one of another is scaled to it) and runs once, on whichever
    // thread first reads the pixels of the image or of a copy.
    static Image drawnWhenNeeded(Size size, std::function<Image()> make);

    Size size() const { return size_; }
    int pixelsWide() const { return pixelsWide_; }
    int pixelsHigh() const { return pixelsHigh_; }
    // Template images are masks the system tints: a button draws them in its
    // text's colour; drawing them elsewhere keeps their pixels.
    bool isTemplate() const { return isTemplate_; }
    void setTemplate(bool isTemplate) {
        isTemplate_ = isTemplate;
        changed();
    }
    // What assistive technology reads for the image; empty for none.
    const std::string& accessibilityDescription() const { return accessibilityDescription_; }
    void setAccessibilityDescription(std::string description) {
        accessibilityDescription_ = std::move(description);
    }
    // Names this content: copies share it, every change gives a new one, so
    // equal ids mean equal images (different ids may still be equal). Lets
    // callers keep work derived from an image without comparing its pixels.
    std::uint64_t contentId() const { return contentId_; }

    // Column `x` from the left, row `y` from the top; clear outside the image.
    Pixel pixelAt(int x, int y) const;
    void setPixel(int x, int y, Pixel pixel);
    // Every pixel, rows top first: pixelsWide() * pixelsHigh() of them.
    const std::vector<Pixel>& pixels() const { return drawing_ ? drawnPixels() : *pixels_; }
    // Counts as a change: hold the reference no longer than the edit.
    std::vector<Pixel>& pixels() {
        changed();
        return *pixels_;
    }

    // Fills `rect` (points) with a colour.
    void fill(const Color& color, Rect rect, CompositingOperation operation);
    // Draws the `from` part of `source` (its points) scaled into `into` (ours),
    // smoothly; `fraction` scales the source's opacity.
    void draw(const Image& source, Rect into, Rect from, CompositingOperation operation,
              double fraction = 1.0, const std::optional<Shadow>& shadow = std::nullopt);

    // The representation it was made from, until its pixels change; then,
    // or for an image made from a size, a bitmap of its pixels. Empty for an
    // image without pixels.
    std::vector<ImageRep> representations() const;
    // The image drawn to fill a rectangle of the proposed size, at its own
    // pixel density, as a bitmap: at its own size, its pixels exactly as
    // stored. None for an image without pixels, an empty or infinite
    // rectangle, or one too large to hold.
    std::optional<BitmapImage> cgImageForProposedRect(Rect proposed) const;

    bool operator==(const Image& other) const;

private:
    struct Drawing;

    // Makes the pixels this image's own and names the new content; before
    // every change of the pixels.
    void changed();
    // An image drawn when needed, drawn by the first of its copies to need
    // it. Reads go through the drawing and never write the image, so readers
    // on several threads do not race.
    const Drawing& drawn() const;
    const std::vector<Pixel>& drawnPixels() const;
    const std::shared_ptr<const ImageRep>& representation() const;
    // Holds the drawing's pixels as its own, before a change.
    void takeDrawing();
    void store(int x, int y, Pixel pixel);
    // Pixels and a size to map them to.
    bool hasPixels() const;
    bool contains(int x, int y) const;

    Size size_;
    int pixelsWide_ = 0;
    int pixelsHigh_ = 0;
    // Taken from `drawing_` only when the image changes.
    std::shared_ptr<std::vector<Pixel>> pixels_;
    bool isTemplate_ = false;
    std::string accessibilityDescription_;
    std::uint64_t contentId_;
    // Dropped by every change of the pixels.
    std::shared_ptr<const ImageRep> representation_;
    // Shared by the copies of an image drawn when needed, until they change.
    std::shared_ptr<Drawing> drawing_;
};

}  // namespace zelvana::platform
