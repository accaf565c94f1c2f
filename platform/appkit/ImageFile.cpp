// Reading images from PNG files, through cairo.
#include <cairo.h>

#include <memory>

#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/Image.hpp"

namespace zelvana::platform {

namespace {

struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;

// Cairo keeps premultiplied alpha in native-endian 32-bit words.
Pixel unpremultiplied(std::uint32_t word) {
    const auto alpha = static_cast<std::uint8_t>(word >> 24);
    if (alpha == 0) return {};
    const auto channel = [alpha](std::uint32_t value) {
        return static_cast<std::uint8_t>(((value & 0xFF) * 255 + alpha / 2) / alpha);
    };
    return {channel(word >> 16), channel(word >> 8), channel(word), alpha};
}

}  // namespace

std::optional<Image> Image::named(const std::string& name) {
    const auto path = Bundle::main().pathForResource(name, "png");
    if (!path) return std::nullopt;
    auto image = contentsOfFile(*path);
    if (image && name.ends_with("Template")) image->setTemplate(true);
    return image;
}

std::optional<Image> Image::contentsOfFile(const std::filesystem::path& path) {
    Surface surface(cairo_image_surface_create_from_png(path.c_str()));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    cairo_surface_t* png = surface.get();
    // Any format the file had becomes 32-bit words with alpha.
    Surface converted;
    if (cairo_image_surface_get_format(png) != CAIRO_FORMAT_ARGB32) {
        converted.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32,
                                                   cairo_image_surface_get_width(png),
                                                   cairo_image_surface_get_height(png)));
        cairo_t* context = cairo_create(converted.get());
        cairo_set_source_surface(context, png, 0, 0);
        cairo_paint(context);
        cairo_destroy(context);
        png = converted.get();
    }
    cairo_surface_flush(png);
    const int width = cairo_image_surface_get_width(png);
    const int height = cairo_image_surface_get_height(png);
    const int stride = cairo_image_surface_get_stride(png);
    const unsigned char* data = cairo_image_surface_get_data(png);
    Image image(Size{static_cast<double>(width), static_cast<double>(height)}, width, height);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) image.setPixel(x, y, unpremultiplied(row[x]));
    }
    return image;
}

}  // namespace zelvana::platform
