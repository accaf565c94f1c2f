#include "platform/appkit/TextStorage.hpp"

#include <algorithm>

namespace zelvana::platform {

std::optional<TextAttributes> TextStorage::attributesAt(std::size_t index) const {
    auto it = std::ranges::find_if(runs_, [&](const Run& run) {
        return index >= run.location && index < run.location + run.length;
    });
    if (it == runs_.end()) return std::nullopt;
    return it->attributes;
}

void TextStorage::append(const std::string& text, const TextAttributes& attributes) {
    if (text.empty()) return;
    // Neighbouring runs with equal attributes merge, as attributed strings do.
    if (!runs_.empty() && runs_.back().attributes == attributes) {
        runs_.back().length += text.size();
    } else {
        runs_.push_back(Run{text_.size(), text.size(), attributes});
    }
    text_ += text;
    changed();
}

void TextStorage::setString(const std::string& text) {
    text_ = text;
    runs_.clear();
    if (!text.empty()) runs_.push_back(Run{0, text.size(), {}});
    changed();
}

void TextStorage::changed() const {
    if (onChange_) onChange_();
}

}  // namespace zelvana::platform
