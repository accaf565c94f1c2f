#include "platform/appkit/Font.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>

namespace zelvana::platform {

namespace {

struct Metrics {
    const char* name;
    double lineFactor;
    double widthFactor;
};

// Line height and average advance per point of size, close to the real faces.
constexpr std::array kInstalled{
    Metrics{".AppleSystemUIFont", 1.193, 0.52},
    Metrics{"Monaco", 1.333, 0.6},
    Metrics{"Menlo", 1.164, 0.602},
    Metrics{"Courier", 1.133, 0.6},
    Metrics{"Helvetica", 1.149, 0.52},
    Metrics{"Helvetica Neue", 1.193, 0.52},
    Metrics{"Lucida Grande", 1.221, 0.55},
};

std::mutex gMutex;
std::optional<std::vector<std::string>> gInstalledOverride;

bool isInstalled(const std::string& name) {
    std::lock_guard lock(gMutex);
    if (!gInstalledOverride) return true;
    return std::ranges::find(*gInstalledOverride, name) != gInstalledOverride->end();
}

const Metrics* findMetrics(const std::string& name) {
    auto it = std::ranges::find_if(kInstalled, [&](const Metrics& m) { return name == m.name; });
    return it == kInstalled.end() ? nullptr : &*it;
}

}  // namespace

std::optional<Font> Font::named(const std::string& name, double pointSize) {
    const Metrics* metrics = findMetrics(name);
    if (!metrics || pointSize <= 0 || !isInstalled(name)) return std::nullopt;
    return Font(name, pointSize, metrics->lineFactor, metrics->widthFactor);
}

Font Font::systemFont(double pointSize) {
    const Metrics& metrics = kInstalled.front();
    return Font(metrics.name, pointSize, metrics.lineFactor, metrics.widthFactor);
}

Font Font::boldSystemFont(double pointSize) {
    Font font = systemFont(pointSize);
    font.bold_ = true;
    return font;
}

const std::string& Font::systemFontName() {
    static const std::string name = kInstalled.front().name;
    return name;
}

void Font::setInstalledFontsForTesting(std::optional<std::vector<std::string>> names) {
    std::lock_guard lock(gMutex);
    gInstalledOverride = std::move(names);
}

double Font::lineHeight() const {
    return std::ceil(pointSize_ * lineFactor_);
}

}  // namespace zelvana::platform
