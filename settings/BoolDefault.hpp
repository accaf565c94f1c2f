#pragma once

#include "settings/Default.hpp"

namespace zelvana::settings {

// A boolean setting; an absent key reads false.
class BoolDefault : public Default {
public:
    explicit BoolDefault(std::string key);

    bool value() const { return value_; }
    void setValue(bool value);

    void update(const CodableDefault& codable) override;
    CodableDefault toCodable() const override;

private:
    bool value_;
};

}  // namespace zelvana::settings
