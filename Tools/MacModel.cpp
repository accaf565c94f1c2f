#include "Tools/MacModel.hpp"

#include <algorithm>
#include <cctype>

#include "platform/system/IORegistry.hpp"

namespace zelvana::tools {

namespace {

// The length of the UTF-8 sequence that `lead` starts, 0 for a byte that starts none.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xc2 && lead <= 0xdf) return 2;
    if (lead >= 0xe0 && lead <= 0xef) return 3;
    if (lead >= 0xf0 && lead <= 0xf4) return 4;
    return 0;
}

// Shortest forms only, no surrogates, nothing above U+10FFFF.
bool isValidUTF8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = sequenceLength(lead);
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80) return false;
        }
        const auto second = length > 1 ? static_cast<unsigned char>(text[i + 1]) : 0x80;
        if ((lead == 0xe0 && second < 0xa0) || (lead == 0xed && second > 0x9f) ||
            (lead == 0xf0 && second < 0x90) || (lead == 0xf4 && second > 0x8f)) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace

std::optional<std::string> MacModel::modelIdentifier() {
    const auto expert =
        platform::IORegistry::matchingService(platform::IORegistry::platformExpertDevice);
    if (!expert) return std::nullopt;
    const auto model = expert->property("model");
    if (!model || !model->dataValue()) return std::nullopt;
    std::string text(model->dataValue()->begin(), model->dataValue()->end());
    if (!isValidUTF8(text)) return std::nullopt;
    while (!text.empty() && text.back() == '\0') text.pop_back();
    if (text.empty()) return std::nullopt;
    return text;
}

bool MacModel::isLaptop() {
    auto model = modelIdentifier();
    if (!model) return false;
    std::transform(model->begin(), model->end(), model->begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return model->find("book") != std::string::npos;
}

}  // namespace zelvana::tools
