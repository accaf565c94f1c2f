#pragma once

#include "settings/Default.hpp"

namespace zelvana::settings {

// A 32-bit floating-point setting; a stored 0.0 reads as a non-zero default.
class FloatDefault : public Default {
public:
    FloatDefault(std::string key, float defaultValue);

    float value() const { return value_; }
    double doubleValue() const { return value_; }
    void setValue(float value);

    void update(const CodableDefault& codable) override;
    CodableDefault toCodable() const override;

private:
    float value_;
};

}  // namespace zelvana::settings
