#include "platform/appkit/Appearance.hpp"
#include "platform/core/MainThread.hpp"

#include <algorithm>
#include <array>

namespace zelvana::platform {
namespace {

constexpr std::array kDarkNames{Appearance::darkAqua, Appearance::vibrantDark,
                                Appearance::highContrastDarkAqua};
constexpr std::array kLightNames{Appearance::aqua, Appearance::vibrantLight,
                                 Appearance::highContrastAqua};

bool isIn(const auto& names, const std::string& name) {
    return std::ranges::find(names, name) != names.end();
}

Appearance& currentAppearance() {
    static Appearance appearance = *Appearance::named(Appearance::aqua);
    return appearance;
}

}  // namespace

std::optional<Appearance> Appearance::named(const std::string& name) {
    platform::assertMainThread();
    if (!isIn(kDarkNames, name) && !isIn(kLightNames, name)) return std::nullopt;
    return Appearance(name);
}

Appearance Appearance::current() {
    platform::assertMainThread();
    return currentAppearance();
}

void Appearance::setCurrent(const Appearance& appearance) {
    platform::assertMainThread();
    currentAppearance() = appearance;
}

bool Appearance::isDark() const {
    return isIn(kDarkNames, name_);
}

std::optional<std::string> Appearance::bestMatch(const std::vector<std::string>& names) const {
    if (std::ranges::find(names, name_) != names.end()) return name_;
    for (const auto& name : names) {
        if (isDark() ? isIn(kDarkNames, name) : isIn(kLightNames, name)) return name;
    }
    return std::nullopt;
}

}  // namespace zelvana::platform
