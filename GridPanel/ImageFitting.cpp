#include "GridPanel/ImageFitting.hpp"

#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "Logging/Logging.hpp"
#include "Tools/ImageUtil.hpp"

namespace zelvana::gridpanel {

namespace {

// Enough for every cell of a busy desktop; past it the cache starts over.
constexpr std::size_t kCachedFits = 512;

// Fitted pictures by their source's content and the largest dimension, so a
// show does not resample pictures that have not changed. Main thread only.
using FitKey = std::pair<std::uint64_t, double>;
std::map<FitKey, platform::Image>& fitCache() {
    static std::map<FitKey, platform::Image> cache;
    return cache;
}

}  // namespace

platform::Image fittedImage(const platform::Image& image, double largestDimension) {
    if (!std::isfinite(largestDimension) || largestDimension < 0) {
        logging::Logging::error("Not fitting an image into a largest dimension of " +
                                std::to_string(largestDimension));
        return image;
    }
    auto& cache = fitCache();
    const FitKey key{image.contentId(), largestDimension};
    if (const auto found = cache.find(key); found != cache.end()) return found->second;
    if (cache.size() >= kCachedFits) cache.clear();
    return cache.emplace(key, tools::ImageUtil::resized(image, largestDimension)).first->second;
}

}  // namespace zelvana::gridpanel
