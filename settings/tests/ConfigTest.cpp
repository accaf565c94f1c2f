#include "settings/Config.hpp"

#include <gtest/gtest.h>

#include <limits>

#include <nlohmann/json.hpp>

namespace zelvana::settings {
namespace {

CodableDefault integer(std::int64_t value) {
    CodableDefault codable;
    codable.intValue = value;
    return codable;
}

TEST(ConfigTest, EncodesSortedPrettyJSONThatDecodesBack) {
    CodableDefault everything;
    everything.boolValue = true;
    everything.floatValue = 1.5F;
    everything.doubleValue = 0.13;
    everything.stringValue = "text";
    everything.dateValue = platform::Date{12.5};
    const Config config{"com.quorrim.Zelvana",
                        "42",
                        platform::Date{800000000},
                        {{"gridWidth", integer(4)}, {"all", everything}, {"none", {}}}};

    const auto text = config.encode();
    ASSERT_TRUE(text);
    EXPECT_LT(text->find("\"bundleId\""), text->find("\"defaults\""));
    EXPECT_LT(text->find("\"timestamp\""), text->find("\"version\""));
    EXPECT_NE(text->find("\n  \"bundleId\": \"com.quorrim.Zelvana\""), std::string::npos);
    const auto json = nlohmann::json::parse(*text);
    EXPECT_EQ(json["defaults"]["gridWidth"], nlohmann::json::parse(R"({"int":4})"));
    EXPECT_EQ(json["defaults"]["none"], nlohmann::json::object());
    EXPECT_EQ(json["timestamp"], 800000000.0);
    EXPECT_EQ(Config::decode(*text), config);
}

TEST(ConfigTest, RejectsSnapshotsWithMissingOrMistypedMembers) {
    const auto parsed = [](const char* text) { return Config::decode(text); };
    EXPECT_TRUE(parsed(R"({"bundleId":"b","version":"1","timestamp":5,"defaults":{}})"));
    EXPECT_FALSE(parsed(R"({"bundleId":"b","timestamp":5,"defaults":{}})"));
    EXPECT_FALSE(parsed(R"({"bundleId":"b","version":1,"timestamp":5,"defaults":{}})"));
    EXPECT_FALSE(parsed(R"({"bundleId":"b","version":"1","timestamp":"now","defaults":{}})"));
    EXPECT_FALSE(parsed(R"({"bundleId":"b","version":"1","timestamp":5,"defaults":[]})"));
    EXPECT_FALSE(
        parsed(R"({"bundleId":"b","version":"1","timestamp":5,"defaults":{"k":{"int":1.5}}})"));
    EXPECT_FALSE(
        parsed(R"({"bundleId":"b","version":"1","timestamp":5,"defaults":{"k":{"bool":1}}})"));
    EXPECT_FALSE(parsed(R"({"bundleId":"b","version":"1","timestamp":5,"defaults":{"k":3}})"));
    EXPECT_FALSE(parsed("{\"bundleId\":"));
    EXPECT_FALSE(parsed(""));

    const auto extra = parsed(
        R"({"bundleId":"b","version":"1","timestamp":5,"more":0,"defaults":{"k":{"int":2,"x":1}}})");
    ASSERT_TRUE(extra);
    EXPECT_EQ(extra->defaults.at("k"), integer(2));
}

TEST(ConfigTest, RefusesStampsNoCalendarCanFollow) {
    const auto stamped = [](const std::string& seconds, const std::string& date = "1") {
        return Config::decode(R"({"bundleId":"b","version":"1","timestamp":)" + seconds +
                              R"(,"defaults":{"d":{"date":)" + date + "}}}");
    };
    // The first second of year 1 and the last of year 9999.
    EXPECT_TRUE(stamped("-63113904000"));
    EXPECT_TRUE(stamped("252423993599"));
    for (const char* far : {"1e12", "-1e12", "-63113904001", "252423993600", "1e400"}) {
        EXPECT_FALSE(stamped(far)) << far;
        EXPECT_FALSE(stamped("5", far)) << "a date setting " << far;
    }
    Config config{"b", "1", platform::Date{std::numeric_limits<double>::quiet_NaN()}, {}};
    EXPECT_FALSE(config.encode());
}

TEST(ConfigTest, RefusesFloatsBeyondTheFloatRange) {
    const auto withFloat = [](const std::string& value) {
        return Config::decode(
            R"({"bundleId":"b","version":"1","timestamp":5,"defaults":{"f":{"float":)" + value +
            "}}}");
    };
    for (const char* within : {"3.4028234e38", "-3.4028234e38", "0.5"}) {
        const auto config = withFloat(within);
        ASSERT_TRUE(config) << within;
        EXPECT_EQ(Config::decode(*config->encode()), config) << within;
    }
    for (const char* beyond : {"1e39", "-1e39", "3.5e38"})
        EXPECT_FALSE(withFloat(beyond)) << beyond;
}

}  // namespace
}  // namespace zelvana::settings
