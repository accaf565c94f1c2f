#pragma once

#include <optional>
#include <string>

#include "platform/dispatch/Clock.hpp"

namespace zelvana::platform {

// A moment, as seconds since 2001-01-01 00:00:00 UTC.
struct Date {
    TimeInterval sinceReferenceDate = 0;

    static Date now() { return Date{clock().now()}; }
    static Date fromTimeIntervalSince1970(TimeInterval s) {
        return Date{s - kTimeIntervalSince1970ToReferenceDate};
    }
    TimeInterval timeIntervalSince1970() const {
        return sinceReferenceDate + kTimeIntervalSince1970ToReferenceDate;
    }
    TimeInterval timeIntervalSince(Date other) const {
        return sinceReferenceDate - other.sinceReferenceDate;
    }
    // Finite and within the years 1 to 9999, where every calendar and every
    // stored form of a date can follow it.
    bool hasFourDigitYear() const {
        return sinceReferenceDate >= startOfYear1 && sinceReferenceDate < startOfYear10000;
    }
    auto operator<=>(const Date&) const = default;

private:
    static constexpr TimeInterval startOfYear1 = -63113904000.0;
    static constexpr TimeInterval startOfYear10000 = 252423993600.0;
};

// A time zone: UTC, a fixed offset or a zone of the tz database.
class TimeZone {
public:
    // The zone of an abbreviation such as "UTC", "GMT", "CET", "PST", "EST".
    static std::optional<TimeZone> fromAbbreviation(const std::string& abbreviation);
    // A zone by tz-database identifier, such as "Europe/Berlin".
    static std::optional<TimeZone> fromIdentifier(const std::string& identifier);
    // The process default: $TZ when set and known, else the system's zone, else UTC.
    static TimeZone defaultZone();
    static TimeZone utc();

    const std::string& identifier() const { return identifier_; }
    bool operator==(const TimeZone&) const = default;

private:
    explicit TimeZone(std::string identifier) : identifier_(std::move(identifier)) {}
    std::string identifier_;
};

// Renders dates with Unicode date patterns ("yyyy-MM-dd HH:mm:ss.SSS", "EEE",
// quoted 'text', ...), in its time zone. Not thread-safe: one owner at a time.
class DateFormatter {
public:
    DateFormatter();
    ~DateFormatter();
    DateFormatter(const DateFormatter&) = delete;
    DateFormatter& operator=(const DateFormatter&) = delete;

    void setDateFormat(const std::string& pattern);
    const std::string& dateFormat() const;
    void setTimeZone(const TimeZone& zone);
    const TimeZone& timeZone() const;
    std::string string(Date date);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zelvana::platform
