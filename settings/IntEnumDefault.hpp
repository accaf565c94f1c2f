#pragma once

#include <cstdint>
#include <optional>
#include <type_traits>

#include "settings/Default.hpp"

namespace zelvana::settings {

// Lists the cases of an enumeration stored by its integer raw value, so a
// stored number can be checked: specialise with `static constexpr std::array
// all{...}` next to the enumeration.
template <typename E>
struct EnumCases;

template <typename E>
concept IntEnum = std::is_enum_v<E> && requires {
    { EnumCases<E>::all.size() } -> std::convertible_to<std::size_t>;
};

template <IntEnum E>
constexpr std::int64_t rawValue(E value) {
    return static_cast<std::int64_t>(value);
}

// The case with that raw value; none for any other number.
template <IntEnum E>
constexpr std::optional<E> enumCase(std::int64_t raw) {
    for (E value : EnumCases<E>::all) {
        if (rawValue(value) == raw) return value;
    }
    return std::nullopt;
}

// A setting holding one case of E, stored as its raw value. An absent key or
// a number that is no case reads as the default.
template <IntEnum E>
class IntEnumDefault : public Default {
public:
    IntEnumDefault(std::string key, E defaultValue)
        : Default(std::move(key)), defaultValue_(defaultValue), value_(readStored()) {}

    E defaultValue() const { return defaultValue_; }
    E value() const { return value_; }
    void setValue(E value) {
        if (isOffMainQueue()) return moveToMainQueue([this, value] { setValue(value); });
        if (rawValue(value) == rawValue(value_)) return;
        const E old = value_;
        value_ = value;
        writeDefault(rawValue(value), rawValue(old));
    }

    void update(const CodableDefault& codable) override {
        if (!codable.intValue || *codable.intValue == rawValue(value_)) return;
        value_ = enumCase<E>(*codable.intValue).value_or(defaultValue_);
        userDefaults().set(key(), rawValue(value_));
    }
    CodableDefault toCodable() const override {
        CodableDefault codable;
        codable.intValue = rawValue(value_);
        return codable;
    }

private:
    E readStored() const {
        const auto stored = storedInteger();
        if (!stored) return defaultValue_;
        if (auto value = enumCase<E>(*stored)) return *value;
        // 0 is what an absent key reads as, so it is no fault.
        if (*stored != 0) warnIgnored("no case has the raw value " + std::to_string(*stored));
        return defaultValue_;
    }

    E defaultValue_;
    E value_;
};

}  // namespace zelvana::settings
