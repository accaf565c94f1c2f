#include "input/Keyset.hpp"

#include <unordered_map>
#include <utility>

#include "platform/appkit/VirtualKeyCodes.hpp"

namespace zelvana::input {

namespace {

using DirectionTable = std::unordered_map<std::int64_t, Cardinal>;

DirectionTable makeDirectionTable() {
    const std::pair<std::int64_t, Cardinal> pairs[] = {
        {platform::kVK_LeftArrow, Cardinal::l}, {platform::kVK_RightArrow, Cardinal::r},
        {platform::kVK_UpArrow, Cardinal::u},   {platform::kVK_DownArrow, Cardinal::d},
        {platform::kVK_ANSI_H, Cardinal::l},    {platform::kVK_ANSI_L, Cardinal::r},
        {platform::kVK_ANSI_K, Cardinal::u},    {platform::kVK_ANSI_J, Cardinal::d},
    };
    return DirectionTable(std::begin(pairs), std::end(pairs));
}

}  // namespace

const std::vector<std::uint16_t>& arrowKeyCodes() {
    static const std::vector<std::uint16_t> codes{platform::kVK_LeftArrow, platform::kVK_RightArrow,
                                                  platform::kVK_UpArrow, platform::kVK_DownArrow};
    return codes;
}

const std::vector<std::uint16_t>& vimKeyCodes() {
    static const std::vector<std::uint16_t> codes{platform::kVK_ANSI_H, platform::kVK_ANSI_L,
                                                  platform::kVK_ANSI_K, platform::kVK_ANSI_J};
    return codes;
}

const std::vector<std::uint16_t>& keyCodes(Keyset keyset) {
    return keyset == Keyset::vim ? vimKeyCodes() : arrowKeyCodes();
}

std::optional<Cardinal> keyDirection(std::int64_t keyCode) {
    static const DirectionTable table = makeDirectionTable();
    const auto found = table.find(keyCode);
    if (found == table.end()) return std::nullopt;
    return found->second;
}

}  // namespace zelvana::input
