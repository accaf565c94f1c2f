#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/Default.hpp"

namespace zelvana::core {

// A numeric setting with a range of sensible values: greater than `above`
// and, when given, at most `atMost`. A stored value outside the range (zero
// included) is logged and reads as the default; the stored value itself is
// left as it is. Assignments are not checked: a value written now is what the
// user chose, and the next launch reads it by the rule above.
template <typename Number>
class BoundedDefault : public settings::Default {
public:
    struct Bounds {
        Number above;
        std::optional<Number> atMost;
    };

    BoundedDefault(std::string key, Number defaultValue, Bounds bounds);

    Number value() const { return value_; }
    Number defaultValue() const { return defaultValue_; }
    void setValue(Number value);
    bool isInRange(Number value) const;

    void update(const settings::CodableDefault& codable) override;
    settings::CodableDefault toCodable() const override;

private:
    Number readStored() const;

    Number defaultValue_;
    Bounds bounds_;
    Number value_;
};

extern template class BoundedDefault<std::int64_t>;
extern template class BoundedDefault<double>;

// Counts that must be positive.
using PositiveIntDefault = BoundedDefault<std::int64_t>;
// Fractions in (0, 1] and other bounded reals.
using BoundedDoubleDefault = BoundedDefault<double>;

}  // namespace zelvana::core
