#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Logging/LineBuffer.hpp"
#include "platform/foundation/Date.hpp"

namespace zelvana::logging {

// Renders one date pattern through a destination's formatter, asking the
// formatter only when the second, the zone or the pattern changes: within a
// second only the fraction-of-second digits differ, and those are filled in.
// The formatter's locale is fixed. Used on the destination's queue only.
class SecondDateCache {
public:
    explicit SecondDateCache(std::string pattern);

    const std::string& pattern() const { return pattern_; }
    // Appends `date` in the pattern, exactly as the formatter renders it;
    // `zoneVersion` changes whenever the formatter's zone does.
    void append(LineBuffer& line, platform::DateFormatter& formatter, std::uint64_t zoneVersion,
                platform::Date date);

private:
    struct Fraction {
        std::size_t offset;
        std::size_t digits;
    };

    void renderSecond(platform::DateFormatter& formatter, std::int64_t second);

    std::string pattern_;
    // The pattern with each fraction digit made a marker; absent when a field
    // depends on more than the second and the fraction ("A", milliseconds in
    // the day) or the pattern holds the marker itself.
    std::optional<std::string> markedPattern_;
    // The second last rendered, with zeros where the fraction goes.
    std::optional<std::string> rendered_;
    std::int64_t second_ = 0;
    std::uint64_t zoneVersion_ = 0;
    std::vector<Fraction> fractions_;
};

}  // namespace zelvana::logging
