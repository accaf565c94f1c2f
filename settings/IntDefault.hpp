#pragma once

#include <cstdint>

#include "settings/Default.hpp"

namespace zelvana::settings {

// An integer setting. A stored 0 cannot be told from an absent key, so with a
// non-zero default it reads as the default.
class IntDefault : public Default {
public:
    IntDefault(std::string key, std::int64_t defaultValue);

    std::int64_t value() const { return value_; }
    void setValue(std::int64_t value);

    void update(const CodableDefault& codable) override;
    CodableDefault toCodable() const override;

private:
    std::int64_t value_;
};

}  // namespace zelvana::settings
