#include "platform/input/CarbonModifiers.hpp"

#include <array>
#include <utility>

namespace zelvana::platform {
namespace {

constexpr std::array<std::pair<Modifier, std::uint32_t>, 4> kPairs{{
    {Modifier::control, controlKey},
    {Modifier::option, optionKey},
    {Modifier::shift, shiftKey},
    {Modifier::command, cmdKey},
}};

}  // namespace

std::uint32_t carbonModifiers(ModifierFlags flags) {
    std::uint32_t carbon = 0;
    for (const auto& [flag, bit] : kPairs) {
        if (flags.contains(flag)) carbon |= bit;
    }
    return carbon;
}

ModifierFlags modifierFlagsFromCarbon(std::uint32_t carbonModifiers) {
    ModifierFlags flags;
    for (const auto& [flag, bit] : kPairs) {
        if ((carbonModifiers & bit) != 0) flags |= flag;
    }
    return flags;
}

}  // namespace zelvana::platform
