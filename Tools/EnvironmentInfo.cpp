#include "Tools/EnvironmentInfo.hpp"

#include <algorithm>
#include <cctype>

#include "Tools/MacModel.hpp"
#include "Tools/MainBundleName.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/ProcessInfo.hpp"
#include "platform/foundation/UserDefaults.hpp"

namespace zelvana::tools {

namespace {

std::string lowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

std::string withoutControlEnds(const std::string& text) {
    const auto first = std::find_if_not(text.begin(), text.end(), isControl);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isControl).base();
    return first < last ? std::string(first, last) : std::string();
}

}  // namespace

bool EnvironmentInfo::isDark(const platform::Appearance& appearance) {
    return appearance.bestMatch({platform::Appearance::darkAqua, platform::Appearance::aqua}) ==
           platform::Appearance::darkAqua;
}

bool EnvironmentInfo::systemIsDarkMode() {
    const auto style = platform::UserDefaults::standard().object("AppleInterfaceStyle");
    return style && style->stringValue() &&
           lowercased(*style->stringValue()).find("dark") != std::string::npos;
}

std::string EnvironmentInfo::environmentDescription() {
    const auto& bundle = platform::Bundle::main();
    std::string text;
    if (auto name = mainBundleName()) text = *name + " ";
    // Both keys come with every build, but a bundle without them still gets a description.
    text += "v" + bundle.infoString("CFBundleShortVersionString").value_or("") + " (" +
            bundle.infoString("CFBundleVersion").value_or("") + ")";
    text += "\nmacOS: " + platform::ProcessInfo::shared().operatingSystemVersionString();
    if (auto model = MacModel::modelIdentifier()) text += "\nModel: " + withoutControlEnds(*model);
    return text;
}

}  // namespace zelvana::tools
