#pragma once

#include <type_traits>

namespace zelvana::platform {

// A typed set of the bits of a flag enum. The raw value stays at hand for where it is stored
// or posted (rawValue(), fromRaw()); elsewhere the names are used.
//   enum class Behavior : unsigned { stationary = 16, ignoresCycle = 64 };
//   ZELVANA_FLAGS(Behavior)
//   Flags<Behavior> b = Behavior::stationary | Behavior::ignoresCycle;
template <class E>
class Flags {
public:
    using Raw = std::underlying_type_t<E>;

    constexpr Flags() = default;
    constexpr Flags(E flag) : raw_(static_cast<Raw>(flag)) {}  // NOLINT: a flag is a set of one
    static constexpr Flags fromRaw(Raw raw) {
        Flags flags;
        flags.raw_ = raw;
        return flags;
    }
    constexpr Raw rawValue() const { return raw_; }

    constexpr bool contains(Flags other) const { return (raw_ & other.raw_) == other.raw_; }
    constexpr bool intersects(Flags other) const { return (raw_ & other.raw_) != 0; }
    constexpr bool isEmpty() const { return raw_ == 0; }

    constexpr Flags operator|(Flags other) const { return fromRaw(raw_ | other.raw_); }
    constexpr Flags operator&(Flags other) const { return fromRaw(raw_ & other.raw_); }
    constexpr Flags operator^(Flags other) const { return fromRaw(raw_ ^ other.raw_); }
    constexpr Flags without(Flags other) const { return fromRaw(raw_ & ~other.raw_); }
    constexpr Flags& operator|=(Flags other) { return *this = *this | other; }
    constexpr Flags& operator&=(Flags other) { return *this = *this & other; }
    constexpr bool operator==(const Flags&) const = default;

private:
    Raw raw_ = 0;
};

}  // namespace zelvana::platform

// Lets two flags of E combine into a Flags<E>.
#define ZELVANA_FLAGS(E)                                                            \
    constexpr ::zelvana::platform::Flags<E> operator|(E a, E b) {                   \
        return ::zelvana::platform::Flags<E>(a) | ::zelvana::platform::Flags<E>(b); \
    }
