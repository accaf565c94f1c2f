#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace zelvana::platform {

// A random (version 4) UUID; text form is 36 upper-case characters, 8-4-4-4-12.
class UUID {
public:
    UUID();  // a new random one
    static std::optional<UUID> fromString(const std::string& text);
    std::string uuidString() const;
    const std::array<std::uint8_t, 16>& bytes() const { return bytes_; }
    bool operator==(const UUID&) const = default;

private:
    std::array<std::uint8_t, 16> bytes_{};
};

}  // namespace zelvana::platform
