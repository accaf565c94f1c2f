#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <type_traits>

#include "settings/Default.hpp"

namespace zelvana::settings {

// A set of flags: a type with an integral `rawValue` member that can be made
// from its raw value, as in `Flags{raw}`.
template <typename T>
concept OptionSet = std::is_integral_v<decltype(T::rawValue)> &&
    std::constructible_from<T, decltype(T::rawValue)> && requires(T set) {
    { set.rawValue } -> std::convertible_to<std::int64_t>;
};

// A setting holding a set of flags, stored as its raw integer. An empty stored
// set reads as the default, when one is given.
template <OptionSet T>
class OptionSetDefault : public Default {
public:
    OptionSetDefault(std::string key, std::optional<T> defaultValue)
        : Default(std::move(key)),
          defaultValue_(defaultValue),
          value_(orDefault(fromRaw(storedInteger().value_or(0)))) {}

    const std::optional<T>& defaultValue() const { return defaultValue_; }
    T value() const { return value_; }
    void setValue(T value) {
        if (isOffMainQueue()) return moveToMainQueue([this, value] { setValue(value); });
        if (raw(value) == raw(value_)) return;
        const T old = value_;
        value_ = value;
        writeDefault(raw(value), raw(old));
    }

    // Removes the flags when all of them are set, else adds them; always writes.
    void toggle(T member) {
        if (isOffMainQueue()) return moveToMainQueue([this, member] { toggle(member); });
        const T old = value_;
        const bool contained = (raw(value_) & raw(member)) == raw(member);
        value_ = fromRaw(contained ? raw(value_) & ~raw(member) : raw(value_) | raw(member));
        writeDefault(raw(value_), raw(old));
    }

    void update(const CodableDefault& codable) override {
        if (!codable.intValue || *codable.intValue == raw(value_)) return;
        value_ = orDefault(fromRaw(*codable.intValue));
        userDefaults().set(key(), raw(value_));
    }
    CodableDefault toCodable() const override {
        CodableDefault codable;
        codable.intValue = raw(value_);
        return codable;
    }

private:
    using Raw = decltype(T::rawValue);

    static std::int64_t raw(const T& set) { return static_cast<std::int64_t>(set.rawValue); }
    static T fromRaw(std::int64_t raw) { return T{static_cast<Raw>(raw)}; }
    T orDefault(T set) const { return raw(set) == 0 && defaultValue_ ? *defaultValue_ : set; }

    std::optional<T> defaultValue_;
    T value_;
};

}  // namespace zelvana::settings
