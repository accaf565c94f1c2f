#pragma once

#include <optional>
#include <string>

#include "settings/Default.hpp"

namespace zelvana::settings {

// A text setting; absent when the key is. Setting none removes the key.
class StringDefault : public Default {
public:
    explicit StringDefault(std::string key);

    const std::optional<std::string>& value() const { return value_; }
    void setValue(std::optional<std::string> value);

    void update(const CodableDefault& codable) override;
    CodableDefault toCodable() const override;

protected:
    // Runs whenever the cached text changes through setValue or update, after
    // the cache and before the write and its notification.
    virtual void textDidChange() {}
    // Takes text already written into the user defaults (off the main queue)
    // as the cached value: announced like a change, not written again.
    void adoptWrittenValue(std::optional<std::string> value);

private:
    std::optional<std::string> value_;
};

}  // namespace zelvana::settings
