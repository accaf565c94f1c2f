#include "Logging/SecondDateCache.hpp"

#include <algorithm>
#include <cmath>
#include <span>
#include <string_view>

namespace zelvana::logging {

namespace {

constexpr char kMarker = '\x01';
// Beyond this many milliseconds from 1970 the cache's integer arithmetic is
// not exact; such dates are rendered directly.
constexpr double kMaxMillis = 1e15;

// A pattern letter is an ASCII letter outside quotes; "''" is a quote.
std::optional<std::string> markFractions(const std::string& pattern) {
    std::string marked;
    bool quoted = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == kMarker) return std::nullopt;
        if (c == '\'') {
            marked += c;
            if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                marked += pattern[++i];
            } else {
                quoted = !quoted;
            }
            continue;
        }
        if (!quoted && c == 'A') return std::nullopt;
        marked += !quoted && c == 'S' ? kMarker : c;
    }
    return marked;
}

std::int64_t floorDivide(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

}  // namespace

SecondDateCache::SecondDateCache(std::string pattern)
    : pattern_(std::move(pattern)), markedPattern_(markFractions(pattern_)) {}

void SecondDateCache::append(LineBuffer& line, platform::DateFormatter& formatter,
                             std::uint64_t zoneVersion, platform::Date date) {
    // The formatter's own reading of the moment, to the millisecond.
    const double millis = date.timeIntervalSince1970() * 1000.0;
    if (!markedPattern_ || !(std::abs(millis) < kMaxMillis)) {
        formatter.setDateFormat(pattern_);
        line.append(formatter.string(date));
        return;
    }
    auto whole = static_cast<std::int64_t>(millis);
    if (static_cast<double>(whole) > millis) --whole;
    const std::int64_t second = floorDivide(whole, 1000);
    if (zoneVersion != zoneVersion_ || second != second_ || !rendered_) {
        renderSecond(formatter, second);
        zoneVersion_ = zoneVersion;
    }
    const auto fraction = static_cast<int>(whole - second * 1000);
    const char digits[3] = {static_cast<char>('0' + fraction / 100),
                            static_cast<char>('0' + fraction / 10 % 10),
                            static_cast<char>('0' + fraction % 10)};
    // The second's text, its fraction digits filled in where they went.
    const std::span<char> written = line.appendForFilling(*rendered_);
    for (const Fraction& field : fractions_) {
        // Truncated to the digits asked for; zeros past the millisecond.
        const std::size_t end =
            std::min({field.offset + field.digits, field.offset + 3, written.size()});
        for (std::size_t at = field.offset; at < end; ++at) written[at] = digits[at - field.offset];
    }
}

void SecondDateCache::renderSecond(platform::DateFormatter& formatter, std::int64_t second) {
    formatter.setDateFormat(*markedPattern_);
    const std::string& rendered = rendered_.emplace(formatter.string(
        platform::Date::fromTimeIntervalSince1970(static_cast<platform::TimeInterval>(second))));
    second_ = second;
    fractions_.clear();
    for (std::size_t at = rendered.find(kMarker); at != std::string::npos;) {
        const std::size_t end = std::min(rendered.find_first_not_of(kMarker, at), rendered.size());
        fractions_.push_back({at, end - at});
        at = rendered.find(kMarker, end);
    }
    // Digits past the millisecond stay zeros; the first three are filled in per line.
    std::ranges::replace(*rendered_, kMarker, '0');
}

}  // namespace zelvana::logging
