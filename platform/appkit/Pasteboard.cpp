#include "platform/appkit/Pasteboard.hpp"

#include <algorithm>
#include <map>

namespace zelvana::platform {

std::optional<PasteboardData> PasteboardItem::dataForType(const std::string& type) const {
    const auto found = data_.find(type);
    if (found == data_.end()) return std::nullopt;
    return found->second;
}

std::vector<std::string> PasteboardItem::types() const {
    std::vector<std::string> types;
    for (const auto& [type, data] : data_) types.push_back(type);
    return types;
}

Pasteboard& Pasteboard::withName(const std::string& name) {
    static auto* pasteboards = new std::map<std::string, Pasteboard>();
    return (*pasteboards)[name];
}

void Pasteboard::resetForTesting() {
    items_.reset();
    changeCount_ = 0;
}

void Pasteboard::writeObjects(std::vector<PasteboardItem> items) {
    ++changeCount_;
    if (!items_) items_.emplace();
    items_->insert(items_->end(), std::make_move_iterator(items.begin()),
                   std::make_move_iterator(items.end()));
}

bool Pasteboard::hasAnyType(const std::vector<std::string>& types) const {
    if (!items_) return false;
    return std::ranges::any_of(*items_, [&types](const PasteboardItem& item) {
        return std::ranges::any_of(
            types, [&item](const std::string& type) { return item.dataForType(type).has_value(); });
    });
}

}  // namespace zelvana::platform
