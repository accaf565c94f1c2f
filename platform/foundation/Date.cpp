#include "platform/foundation/Date.hpp"

#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>

namespace zelvana::platform {
namespace {

// The abbreviations Foundation knows, each with the zone it stands for.
const std::map<std::string, std::string>& abbreviationTable() {
    static const std::map<std::string, std::string> table = {
        {"ADT", "America/Halifax"},
        {"AEDT", "Australia/Sydney"},
        {"AEST", "Australia/Sydney"},
        {"AKDT", "America/Juneau"},
        {"AKST", "America/Juneau"},
        {"ART", "America/Argentina/Buenos_Aires"},
        {"AST", "America/Halifax"},
        {"BDT", "Asia/Dhaka"},
        {"BRST", "America/Sao_Paulo"},
        {"BRT", "America/Sao_Paulo"},
        {"BST", "Europe/London"},
        {"CAT", "Africa/Harare"},
        {"CDT", "America/Chicago"},
        {"CEST", "Europe/Paris"},
        {"CET", "Europe/Paris"},
        {"CLST", "America/Santiago"},
        {"CLT", "America/Santiago"},
        {"COT", "America/Bogota"},
        {"CST", "America/Chicago"},
        {"EAT", "Africa/Addis_Ababa"},
        {"EDT", "America/New_York"},
        {"EEST", "Europe/Athens"},
        {"EET", "Europe/Athens"},
        {"EST", "America/New_York"},
        {"GMT", "GMT"},
        {"GST", "Asia/Dubai"},
        {"HKT", "Asia/Hong_Kong"},
        {"HST", "Pacific/Honolulu"},
        {"ICT", "Asia/Bangkok"},
        {"IRST", "Asia/Tehran"},
        {"IST", "Asia/Kolkata"},
        {"JST", "Asia/Tokyo"},
        {"KST", "Asia/Seoul"},
        {"MDT", "America/Denver"},
        {"MSD", "Europe/Moscow"},
        {"MSK", "Europe/Moscow"},
        {"MST", "America/Phoenix"},
        {"NDT", "America/St_Johns"},
        {"NST", "America/St_Johns"},
        {"NZDT", "Pacific/Auckland"},
        {"NZST", "Pacific/Auckland"},
        {"PDT", "America/Los_Angeles"},
        {"PET", "America/Lima"},
        {"PHT", "Asia/Manila"},
        {"PKT", "Asia/Karachi"},
        {"PST", "America/Los_Angeles"},
        {"SGT", "Asia/Singapore"},
        {"TRT", "Europe/Istanbul"},
        {"UTC", "UTC"},
        {"WAT", "Africa/Lagos"},
        {"WEST", "Europe/Lisbon"},
        {"WET", "Europe/Lisbon"},
        {"WIT", "Asia/Jakarta"},
    };
    return table;
}

std::string upperCased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::unique_ptr<icu::TimeZone> icuZone(const std::string& identifier) {
    return std::unique_ptr<icu::TimeZone>(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(identifier)));
}

bool isUnknown(const icu::TimeZone& zone) {
    return zone == icu::TimeZone::getUnknown();
}

// Through ICU's own default, which it detects once under its lock: its
// date formats reach it too, on whatever thread they run.
std::optional<std::string> hostZoneIdentifier() {
    std::unique_ptr<icu::TimeZone> host(icu::TimeZone::createDefault());
    if (!host || isUnknown(*host)) return std::nullopt;
    icu::UnicodeString id;
    std::string name;
    host->getID(id).toUTF8String(name);
    return name;
}

// "GMT+1", "UTC-05:30": a fixed offset from UTC.
bool isOffsetForm(const std::string& text) {
    return text.size() > 3 && (text.starts_with("GMT") || text.starts_with("UTC")) &&
           (text[3] == '+' || text[3] == '-');
}

}  // namespace

std::optional<TimeZone> TimeZone::fromAbbreviation(const std::string& abbreviation) {
    const std::string key = upperCased(abbreviation);
    if (isOffsetForm(key)) return fromIdentifier("GMT" + key.substr(3));
    const auto& table = abbreviationTable();
    auto found = table.find(key);
    if (found == table.end()) return std::nullopt;
    return TimeZone(found->second);
}

std::optional<TimeZone> TimeZone::fromIdentifier(const std::string& identifier) {
    if (identifier.empty()) return std::nullopt;
    auto zone = icuZone(identifier);
    if (!zone || isUnknown(*zone)) return std::nullopt;
    // Offset zones come back in ICU's normal form ("GMT+01:00"); named ones keep their name.
    if (isOffsetForm(identifier)) {
        icu::UnicodeString id;
        std::string normal;
        zone->getID(id).toUTF8String(normal);
        return TimeZone(normal);
    }
    return TimeZone(identifier);
}

TimeZone TimeZone::defaultZone() {
    if (const char* tz = std::getenv("TZ"); tz && *tz) {
        std::string name = tz[0] == ':' ? tz + 1 : tz;
        if (auto zone = fromIdentifier(name)) return *zone;
        if (auto zone = fromAbbreviation(name)) return *zone;
    }
    // Detecting the host's zone is not thread safe, and the zone stays for
    // the life of the process: detect it once.
    static std::once_flag detected;
    static std::optional<TimeZone> host;
    std::call_once(detected, [] {
        if (const auto name = hostZoneIdentifier()) host = fromIdentifier(*name);
    });
    return host.value_or(utc());
}

TimeZone TimeZone::utc() {
    return TimeZone("UTC");
}

struct DateFormatter::Impl {
    std::string pattern;
    TimeZone zone = TimeZone::defaultZone();
    std::unique_ptr<icu::SimpleDateFormat> format;
    // Zones already built, so a formatter switched between a few zones stays cheap.
    std::map<std::string, std::unique_ptr<icu::TimeZone>> zones;
    bool patternChanged = true;
    bool zoneChanged = true;

    icu::SimpleDateFormat* prepared();
    const icu::TimeZone& icuZoneFor(const TimeZone& zone);
};

const icu::TimeZone& DateFormatter::Impl::icuZoneFor(const TimeZone& wanted) {
    auto& slot = zones[wanted.identifier()];
    if (!slot) slot = icuZone(wanted.identifier());
    return *slot;
}

icu::SimpleDateFormat* DateFormatter::Impl::prepared() {
    if (!format) {
        UErrorCode status = U_ZERO_ERROR;
        format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(),
                                                         icu::Locale("en_US_POSIX"), status);
        if (U_FAILURE(status)) {
            format.reset();
            return nullptr;
        }
    }
    if (patternChanged) {
        format->applyPattern(icu::UnicodeString::fromUTF8(pattern));
        patternChanged = false;
    }
    if (zoneChanged) {
        format->setTimeZone(icuZoneFor(zone));
        zoneChanged = false;
    }
    return format.get();
}

DateFormatter::DateFormatter() : impl_(std::make_unique<Impl>()) {}
DateFormatter::~DateFormatter() = default;

void DateFormatter::setDateFormat(const std::string& pattern) {
    if (pattern == impl_->pattern) return;
    impl_->pattern = pattern;
    impl_->patternChanged = true;
}

const std::string& DateFormatter::dateFormat() const {
    return impl_->pattern;
}

void DateFormatter::setTimeZone(const TimeZone& zone) {
    if (zone == impl_->zone) return;
    impl_->zone = zone;
    impl_->zoneChanged = true;
}

const TimeZone& DateFormatter::timeZone() const {
    return impl_->zone;
}

std::string DateFormatter::string(Date date) {
    if (impl_->pattern.empty()) return {};
    icu::SimpleDateFormat* format = impl_->prepared();
    if (!format) return {};
    const UDate millisSince1970 = date.timeIntervalSince1970() * 1000.0;
    icu::UnicodeString rendered;
    format->format(millisSince1970, rendered);
    std::string text;
    rendered.toUTF8String(text);
    return text;
}

}  // namespace zelvana::platform
