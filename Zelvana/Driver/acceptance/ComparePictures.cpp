// Compares a picture with its reference, pixel by pixel: a pixel has changed
// when one of its channels differs by more than the tolerance, and the two
// agree when no more than the allowed share of pixels has changed. Writes a
// picture of the changes (changed pixels red over a faded reference) when
// they do not agree.
//
//   ComparePictures <reference.png> <picture.png> <changes.png>
//
// Exit status: 0 when they agree, 1 when they do not, 2 when a file cannot
// be read or the sizes differ.

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kChannelTolerance = 16;
constexpr double kChangedShare = 0.001;

struct Surface {
    explicit Surface(const char* path) : surface(cairo_image_surface_create_from_png(path)) {}
    ~Surface() { cairo_surface_destroy(surface); }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    bool ok() const { return cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(surface); }
    int height() const { return cairo_image_surface_get_height(surface); }
    const std::uint32_t* row(int y) const {
        return reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                                      y * cairo_image_surface_get_stride(surface));
    }
    cairo_surface_t* surface;
};

int channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xff);
}

bool changed(std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16, 24}) {
        if (std::abs(channel(a, shift) - channel(b, shift)) > kChannelTolerance) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s reference.png picture.png changes.png\n", argv[0]);
        return 2;
    }
    const Surface reference(argv[1]);
    const Surface picture(argv[2]);
    if (!reference.ok() || !picture.ok()) {
        std::fprintf(stderr, "cannot read %s\n", reference.ok() ? argv[2] : argv[1]);
        return 2;
    }
    if (reference.width() != picture.width() || reference.height() != picture.height()) {
        std::fprintf(stderr, "the picture is %dx%d, the reference %dx%d\n", picture.width(),
                     picture.height(), reference.width(), reference.height());
        return 2;
    }
    cairo_surface_t* changes =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, reference.width(), reference.height());
    cairo_t* cr = cairo_create(changes);
    cairo_set_source_surface(cr, reference.surface, 0, 0);
    cairo_paint_with_alpha(cr, 0.25);
    cairo_set_source_rgb(cr, 1, 0, 0);
    long count = 0;
    for (int y = 0; y < reference.height(); ++y) {
        for (int x = 0; x < reference.width(); ++x) {
            if (!changed(reference.row(y)[x], picture.row(y)[x])) continue;
            ++count;
            cairo_rectangle(cr, x, y, 1, 1);
        }
    }
    cairo_fill(cr);
    cairo_destroy(cr);
    const long allowed = static_cast<long>(kChangedShare * reference.width() * reference.height());
    std::printf("%ld of %d pixels changed (at most %ld may)\n", count,
                reference.width() * reference.height(), allowed);
    const bool agree = count <= allowed;
    if (!agree) cairo_surface_write_to_png(changes, argv[3]);
    cairo_surface_destroy(changes);
    return agree ? 0 : 1;
}
