#include "GridPanel/ViewHelpers.hpp"

#include "Tools/ImageUtil.hpp"
#include "platform/appkit/ViewRenderer.hpp"

namespace zelvana::gridpanel {

platform::Image snapshot(platform::View& view) {
    return platform::ViewRenderer::imageOf(view);
}

platform::Image tinted(const platform::Image& image, const platform::Color& color) {
    return tools::ImageUtil::tinted(image, color);
}

}  // namespace zelvana::gridpanel
