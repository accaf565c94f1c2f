#include "input/Keyset.hpp"

#include <unordered_map>
#include <utility>

namespace zelvana::input {

namespace {

using DirectionTable = std::unordered_map<std::int64_t, Cardinal>;

DirectionTable makeDirectionTable() {
    const std::pair<std::int64_t, Cardinal> pairs[] = {
        {123, Cardinal::l}, {124, Cardinal::r}, {126, Cardinal::u}, {125, Cardinal::d},
        {4, Cardinal::l},   {37, Cardinal::r},  {40, Cardinal::u},  {38, Cardinal::d},
    };
    return DirectionTable(std::begin(pairs), std::end(pairs));
}

}  // namespace

const std::vector<std::uint16_t>& arrowKeyCodes() {
    static const std::vector<std::uint16_t> codes{123, 124, 126, 125};
    return codes;
}

const std::vector<std::uint16_t>& vimKeyCodes() {
    static const std::vector<std::uint16_t> codes{4, 37, 40, 38};
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
