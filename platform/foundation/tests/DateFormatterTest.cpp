#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/dispatch/Clock.hpp"
#include "platform/foundation/Date.hpp"

namespace zelvana::platform {
namespace {

// 2024-03-05 14:07:09.123 UTC, a Tuesday, before daylight saving time in Europe and the US.
const Date kMarch{731340429.123};
// 2024-07-01 12:00:00 UTC, in summer time.
const Date kJuly{741528000.0};

TimeZone zone(const std::string& identifier) {
    return *TimeZone::fromIdentifier(identifier);
}

// Sets TZ for one scope and puts the old value back.
class ScopedTZ {
  public:
    explicit ScopedTZ(const char* value) {
        if (const char* old = std::getenv("TZ")) previous_ = old;
        ::setenv("TZ", value, 1);
    }
    ~ScopedTZ() {
        if (previous_) {
            ::setenv("TZ", previous_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
    }

  private:
    std::optional<std::string> previous_;
};

TEST(DateFormatterTest, RendersUnicodePatterns) {
    DateFormatter formatter;
    formatter.setTimeZone(TimeZone::utc());
    EXPECT_EQ(formatter.string(kMarch), "");  // no pattern yet

    formatter.setDateFormat("yyyy-MM-dd HH:mm:ss.SSS");
    EXPECT_EQ(formatter.string(kMarch), "2024-03-05 14:07:09.123");
    formatter.setDateFormat("HH:mm:ss.SSS");
    EXPECT_EQ(formatter.string(kMarch), "14:07:09.123");
    formatter.setDateFormat("yyyy");
    EXPECT_EQ(formatter.string(kMarch), "2024");
    formatter.setDateFormat("EEE d MMM, h:mm a");
    EXPECT_EQ(formatter.string(kMarch), "Tue 5 Mar, 2:07 PM");
    formatter.setDateFormat("'at' HH 'o''clock'");
    EXPECT_EQ(formatter.string(kMarch), "at 14 o'clock");
    EXPECT_EQ(formatter.dateFormat(), "'at' HH 'o''clock'");

    // Milliseconds are cut, not rounded up into the next second.
    formatter.setDateFormat("ss.SSS");
    EXPECT_EQ(formatter.string(Date{kJuly.sinceReferenceDate + 0.9996}), "00.999");
    formatter.setDateFormat("yyyy-MM-dd HH:mm:ss");
    EXPECT_EQ(formatter.string(Date{-1}), "2000-12-31 23:59:59");
    EXPECT_EQ(formatter.string(Date::fromTimeIntervalSince1970(0)), "1970-01-01 00:00:00");
}

TEST(DateFormatterTest, FollowsItsZoneWhenSwitchedBackAndForth) {
    DateFormatter formatter;
    formatter.setDateFormat("HH:mm");
    formatter.setTimeZone(TimeZone::utc());
    EXPECT_EQ(formatter.string(kMarch), "14:07");
    formatter.setTimeZone(zone("Europe/Berlin"));
    EXPECT_EQ(formatter.string(kMarch), "15:07");
    EXPECT_EQ(formatter.string(kJuly), "14:00");  // summer time
    formatter.setTimeZone(TimeZone::utc());
    EXPECT_EQ(formatter.string(kMarch), "14:07");
    formatter.setTimeZone(*TimeZone::fromAbbreviation("EST"));
    EXPECT_EQ(formatter.string(kMarch), "09:07");
    formatter.setTimeZone(zone("Europe/Berlin"));
    formatter.setDateFormat("HH:mm zzz");
    EXPECT_EQ(formatter.string(kMarch), "15:07 GMT+1");
    EXPECT_EQ(formatter.timeZone().identifier(), "Europe/Berlin");
}

TEST(DateFormatterTest, FormatsTheClocksNow) {
    VirtualClock virtualClock(kMarch.sinceReferenceDate);
    DateFormatter formatter;
    formatter.setTimeZone(TimeZone::utc());
    formatter.setDateFormat("HH:mm:ss.SSS");
    EXPECT_EQ(formatter.string(Date::now()), "14:07:09.123");
    virtualClock.advance(1500);
    EXPECT_EQ(formatter.string(Date::now()), "14:07:10.623");
}

TEST(TimeZoneTest, MapsAbbreviationsAndIdentifiers) {
    EXPECT_EQ(TimeZone::fromAbbreviation("UTC")->identifier(), "UTC");
    EXPECT_EQ(TimeZone::fromAbbreviation("CET")->identifier(), "Europe/Paris");
    EXPECT_EQ(TimeZone::fromAbbreviation("PST")->identifier(), "America/Los_Angeles");
    EXPECT_EQ(TimeZone::fromAbbreviation("pst")->identifier(), "America/Los_Angeles");
    EXPECT_EQ(TimeZone::fromAbbreviation("GMT+1")->identifier(), "GMT+01:00");
    EXPECT_FALSE(TimeZone::fromAbbreviation("XYZ"));
    EXPECT_FALSE(TimeZone::fromAbbreviation(""));

    // Every abbreviation must lead to a zone the tz database knows.
    for (const char* abbreviation :
         {"UTC",  "GMT",  "BST",  "CET",  "CEST", "EET", "EEST", "WET",  "WEST", "EST", "EDT",
          "CST",  "CDT",  "MST",  "MDT",  "PST",  "PDT", "AKST", "AKDT", "HST",  "JST", "IST",
          "AEST", "AEDT", "NZST", "NZDT", "MSK",  "HKT", "SGT",  "KST",  "BRT",  "ART"}) {
        auto mapped = TimeZone::fromAbbreviation(abbreviation);
        ASSERT_TRUE(mapped) << abbreviation;
        EXPECT_TRUE(TimeZone::fromIdentifier(mapped->identifier())) << abbreviation;
    }

    EXPECT_EQ(zone("Asia/Tokyo").identifier(), "Asia/Tokyo");
    EXPECT_FALSE(TimeZone::fromIdentifier("Mars/Olympus_Mons"));
    EXPECT_FALSE(TimeZone::fromIdentifier(""));
    EXPECT_EQ(zone("Europe/Berlin"), zone("Europe/Berlin"));
    EXPECT_NE(zone("Europe/Berlin"), TimeZone::utc());
}

TEST(TimeZoneTest, DefaultZoneHonoursTZ) {
    {
        ScopedTZ tz("Asia/Tokyo");
        EXPECT_EQ(TimeZone::defaultZone().identifier(), "Asia/Tokyo");
    }
    {
        ScopedTZ tz(":Europe/Berlin");
        EXPECT_EQ(TimeZone::defaultZone().identifier(), "Europe/Berlin");
    }
    {
        ScopedTZ tz("Nowhere/Land");
        const TimeZone fallback = TimeZone::defaultZone();
        EXPECT_NE(fallback.identifier(), "Nowhere/Land");
        EXPECT_TRUE(TimeZone::fromIdentifier(fallback.identifier()));
    }
}

}  // namespace
}  // namespace zelvana::platform
