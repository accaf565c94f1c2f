#pragma once

#include "settings/Default.hpp"

namespace zelvana::settings {

// A 64-bit floating-point setting; a stored 0.0 reads as a non-zero default.
class DoubleDefault : public Default {
public:
    DoubleDefault(std::string key, double defaultValue);

    double value() const { return value_; }
    void setValue(double value);

    void update(const CodableDefault& codable) override;
    CodableDefault toCodable() const override;

private:
    double value_;
};

}  // namespace zelvana::settings
