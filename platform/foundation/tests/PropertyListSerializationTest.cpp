#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <limits>

#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/JSONText.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolders;

PropertyValue everyKind() {
    return PropertyDictionary{
        {"yes", true},
        {"no", false},
        {"count", std::int64_t{-9223372036854775807LL - 1}},
        {"big", std::int64_t{9223372036854775807LL}},
        {"ratio", 0.1},
        {"whole real", 3.0},
        {"huge", std::numeric_limits<double>::infinity()},
        {"text", "Grüße, 世界 🐢 & <tags> ]]> \"quoted\" 'single'"},
        {"spaces", "  padded\tand\r\nlines\n  "},
        {"empty text", ""},
        {"bytes", Data{0x00, 0xFF, 0x10, 0x80, 0x7F}},
        {"one byte", Data{0x42}},
        {"no bytes", Data{}},
        {"when", Date{731340429.0}},
        {"before 2001", Date{-86400.0 * 365}},
        {"list", PropertyArray{1, "two", PropertyArray{}, PropertyDictionary{}}},
        {"nested",
         PropertyDictionary{{"inner", PropertyDictionary{{"deeper", PropertyArray{true}}}}}},
        {"<key & escapes>", 1},
    };
}

TEST(PropertyListSerializationTest, XmlRoundTripsEveryKind) {
    const PropertyValue original = everyKind();
    std::string error;
    auto parsed =
        PropertyListSerialization::fromXml(PropertyListSerialization::toXml(original), &error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(*parsed, original);

    for (const PropertyValue& root : {PropertyValue(true), PropertyValue("just text"),
                                      PropertyValue(PropertyArray{}), PropertyValue(2.5)}) {
        EXPECT_EQ(PropertyListSerialization::fromXml(PropertyListSerialization::toXml(root)), root);
    }
}

TEST(PropertyListSerializationTest, WritesThePlistDocumentType) {
    const std::string xml = PropertyListSerialization::toXml(
        PropertyDictionary{{"on", true}, {"n", 5}, {"at", Date{0}}, {"d", Data{1, 2, 3}}});
    EXPECT_EQ(xml,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
              "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
              "<plist version=\"1.0\">\n"
              "<dict>\n"
              "\t<key>at</key>\n"
              "\t<date>2001-01-01T00:00:00Z</date>\n"
              "\t<key>d</key>\n"
              "\t<data>AQID</data>\n"
              "\t<key>n</key>\n"
              "\t<integer>5</integer>\n"
              "\t<key>on</key>\n"
              "\t<true/>\n"
              "</dict>\n"
              "</plist>\n");
}

TEST(PropertyListSerializationTest, ReadsHandWrittenPlists) {
    const std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<!-- a comment -->
<dict>
	<key>data</key>
	<data>
	SGVsbG8s
	IHdvcmxk
	</data>
	<key>hex</key>
	<integer> 0x1F </integer>
	<key>cdata</key>
	<string><![CDATA[a < b]]> &amp; c</string>
	<key>real</key>
	<real>-1.5e3</real>
	<key>empty</key>
	<string/>
	<key>date</key>
	<date>2024-03-05T14:07:09Z</date>
</dict>
</plist>
)";
    std::string error;
    auto parsed = PropertyListSerialization::fromXml(xml, &error);
    ASSERT_TRUE(parsed) << error;
    const std::string hello = "Hello, world";
    EXPECT_EQ(*parsed->find("data")->dataValue(), Data(hello.begin(), hello.end()));
    EXPECT_EQ(*parsed->find("hex")->integerValue(), 31);
    EXPECT_EQ(*parsed->find("cdata")->stringValue(), "a < b & c");
    EXPECT_EQ(*parsed->find("real")->realValue(), -1500.0);
    EXPECT_EQ(*parsed->find("empty")->stringValue(), "");
    EXPECT_EQ(parsed->find("date")->dateValue()->sinceReferenceDate, 731340429.0);
}

TEST(PropertyListSerializationTest, RefusesMalformedDocuments) {
    const auto plist = [](const std::string& body) {
        return "<?xml version=\"1.0\"?><plist version=\"1.0\">" + body + "</plist>";
    };
    std::string nested;
    for (int i = 0; i < 2000; ++i) nested += "<array>";
    for (int i = 0; i < 2000; ++i) nested += "</array>";

    for (const std::string& bad : {
             std::string(""),
             std::string("not xml at all"),
             std::string("<plist><dict><key>a</key></plist>"),
             plist(""),
             plist("<true/><false/>"),
             plist("<dict><key>a</key></dict>"),
             plist("<dict><string>a</string><true/></dict>"),
             plist("<integer>12x</integer>"),
             plist("<integer>18446744073709551616</integer>"),
             plist("<integer></integer>"),
             plist("<real>one</real>"),
             plist("<data>@@@@</data>"),
             plist("<date>2024-13-01T00:00:00Z</date>"),
             plist("<date>yesterday</date>"),
             plist("<string>a<b/></string>"),
             plist("<set/>"),
             plist(nested),
         }) {
        std::string error;
        EXPECT_FALSE(PropertyListSerialization::fromXml(bad, &error)) << bad.substr(0, 80);
        EXPECT_FALSE(error.empty()) << bad.substr(0, 80);
    }
}

TEST(PropertyListSerializationTest, WritesFilesAtomically) {
    TemporaryFolders folders;
    const fs::path file = folders.path("prefs.plist");
    std::string error;
    ASSERT_TRUE(PropertyListSerialization::writeXmlFile(file, everyKind(), &error)) << error;
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(PropertyListSerialization::writeXmlFile(file, PropertyValue(42), &error)) << error;

    EXPECT_EQ(PropertyListSerialization::readXmlFile(file, &error), PropertyValue(42)) << error;
    std::vector<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(folders.root()))
        if (entry.is_regular_file()) entries.push_back(entry.path());
    EXPECT_EQ(entries, std::vector<fs::path>{file});  // no temporary file left behind
    struct stat info {};
    ::stat(file.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);  // a replaced file keeps its permissions

    EXPECT_FALSE(
        PropertyListSerialization::writeXmlFile(folders.path("missing/x.plist"), 1, &error));
    EXPECT_NE(error.find("missing/x.plist"), std::string::npos) << error;
    EXPECT_FALSE(PropertyListSerialization::readXmlFile(folders.path("absent.plist"), &error));
    EXPECT_NE(error.find("absent.plist"), std::string::npos) << error;

    std::ofstream(folders.path("broken.plist")) << "<plist><dict>";
    EXPECT_FALSE(PropertyListSerialization::readXmlFile(folders.path("broken.plist"), &error));
    EXPECT_NE(error.find("broken.plist"), std::string::npos) << error;
}

// A file-size limit makes the write itself fail half way, as a full disk would.
TEST(PropertyListSerializationTest, FailedWriteKeepsTheOldFile) {
    TemporaryFolders folders;
    const fs::path file = folders.path("prefs.plist");
    ASSERT_TRUE(PropertyListSerialization::writeXmlFile(file, PropertyValue("old")));
    const auto before = FileManager::defaultManager().contentsAtPath(file);

    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &tight);
    std::string error;
    const bool written = PropertyListSerialization::writeXmlFile(
        file, PropertyValue(std::string(4096, 'x')), &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_NE(error.find("prefs.plist"), std::string::npos) << error;
    EXPECT_EQ(FileManager::defaultManager().contentsAtPath(file), before);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folders.root()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST(PropertyListSerializationTest, JsonRoundTripsAndKeepsIntegersApartFromReals) {
    const PropertyValue original = PropertyDictionary{
        {"name", "Grüße \"quoted\" \\ / \n 🐢"},
        {"on", true},
        {"list", PropertyArray{1, 2.5, "x", PropertyDictionary{}, PropertyArray{}}},
        {"nested", PropertyDictionary{{"n", -7}}},
    };
    auto text = JSONSerialization::serialize(original);
    ASSERT_TRUE(text);
    std::string error;
    EXPECT_EQ(JSONSerialization::parse(*text, &error), original) << error;
    EXPECT_EQ(JSONSerialization::serialize(
                  PropertyDictionary{{"b", PropertyArray{1, 2.5, true}}, {"a", "x"}}),
              R"({"a":"x","b":[1,2.5,true]})");

    EXPECT_TRUE(JSONSerialization::parse("1")->isInteger());
    EXPECT_TRUE(JSONSerialization::parse("1.5")->isReal());
    EXPECT_EQ(JSONSerialization::parse("2.0"), PropertyValue(2));
    EXPECT_EQ(JSONSerialization::parse("-9223372036854775808"),
              PropertyValue(std::numeric_limits<std::int64_t>::min()));
    EXPECT_TRUE(JSONSerialization::parse("18446744073709551616")->isReal());
    EXPECT_TRUE(JSONSerialization::parse("1e300")->isReal());
    EXPECT_EQ(JSONSerialization::parse(R"({"a":1,"a":2})"),
              PropertyValue(PropertyDictionary{{"a", 2}}))
        << "a repeated name keeps its last value";

    EXPECT_FALSE(JSONSerialization::serialize(Data{1}));
    EXPECT_FALSE(JSONSerialization::serialize(PropertyArray{Date{0}}));
    EXPECT_FALSE(JSONSerialization::serialize(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(JSONSerialization::serialize(std::string("\xFF\xFE")));
}

TEST(PropertyListSerializationTest, JsonRefusesNullAndMalformedText) {
    for (const char* bad :
         {"null", R"({"a":null})", "[1,null]", "", "{", "[1,]", "{'a':1}", "\"\xFF\""}) {
        std::string error;
        EXPECT_FALSE(JSONSerialization::parse(bad, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    std::string error;
    JSONSerialization::parse(R"({"a":null})", &error);
    EXPECT_NE(error.find("null"), std::string::npos) << error;
    EXPECT_FALSE(JSONSerialization::parse(std::string(100000, '[') + std::string(100000, ']')));
}

TEST(PropertyListSerializationTest, DatesOfAnyYearReadBackAndOnlyUnwritableOnesAreRefused) {
    // Years 33689, -29716, 0 and 10000: outside the four digits of ordinary dates.
    for (const double seconds : {1e12, -1e12, -63113990400.0, 252423993600.0, 731340429.0}) {
        const PropertyValue date = Date{seconds};
        EXPECT_TRUE(PropertyListSerialization::isWritable(date)) << seconds;
        EXPECT_EQ(PropertyListSerialization::fromXml(PropertyListSerialization::toXml(date)), date)
            << PropertyListSerialization::toXml(date);
    }
    TemporaryFolders folders;
    const auto file = folders.path("dates.plist");
    for (const double seconds : {std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::infinity(), 1e300}) {
        const PropertyValue inside = PropertyArray{Date{seconds}};
        EXPECT_FALSE(PropertyListSerialization::isWritable(inside)) << seconds;
        std::string error;
        EXPECT_FALSE(PropertyListSerialization::writeXmlFile(file, inside, &error)) << seconds;
        EXPECT_FALSE(error.empty());
    }
}

TEST(PropertyListSerializationTest, JsonBeyondItsLimitsIsRefusedWithoutQuotingIt) {
    const std::string deep = std::string(300, '[') + std::string(300, ']');
    const std::string fine = std::string(200, '[') + "\"[[[\"" + std::string(200, ']');
    std::string error;
    EXPECT_FALSE(JSONText::parse(deep, &error));
    EXPECT_NE(error.find("deeper"), std::string::npos) << error;
    EXPECT_TRUE(JSONText::parse(fine)) << "brackets inside strings do not count";
    const std::string huge = "[\"" + std::string(JSONText::maxSize, 'x') + "\"]";
    EXPECT_FALSE(JSONText::parse(huge, &error));
    EXPECT_LT(error.size(), 100U);
    EXPECT_FALSE(JSONText::parse("[\"secret\", oops]", &error));
    EXPECT_EQ(error.find("secret"), std::string::npos) << error;

    EXPECT_EQ(JSONText::dump(nlohmann::json::array({1.5, "a"})), R"([1.5,"a"])");
    EXPECT_FALSE(
        JSONText::dump(nlohmann::json{{"x", std::numeric_limits<double>::quiet_NaN()}}, -1, &error))
        << "it would be written as null";
    EXPECT_FALSE(JSONText::dump(nlohmann::json::array({-std::numeric_limits<double>::infinity()})));
}

// Feeds `value` to the writer item by item, as a saver walks its records.
void write(JSONText::Writer& out, const nlohmann::json& value) {
    if (value.is_object()) {
        out.beginObject();
        for (const auto& [key, item] : value.items()) {
            out.key(key);
            write(out, item);
        }
        out.endObject();
    } else if (value.is_array()) {
        out.beginArray();
        for (const auto& item : value) write(out, item);
        out.endArray();
    } else if (value.is_boolean()) {
        out.value(value.get<bool>());
    } else if (value.is_number_unsigned()) {
        out.value(value.get<std::uint64_t>());
    } else if (value.is_number_integer()) {
        out.value(value.get<std::int64_t>());
    } else if (value.is_number_float()) {
        out.value(value.get<double>());
    } else {
        out.value(value.get<std::string>());
    }
}

TEST(PropertyListSerializationTest, JsonWriterWritesWhatDumpWrites) {
    const auto value = nlohmann::json::parse(R"({"b": [1, -2, 18446744073709551615, 2.5, 1200.0,
        -40.0, 0.0, -0.0, 999999999999999.0, 1e15, 1e300, true, "Grüße \"q\" \\ \n\u0001", {}, [], [[]], {"x": {"y": []}}], "a": {}})");
    for (const int indent : {-1, 2}) {
        JSONText::Writer out(indent);
        write(out, value);
        EXPECT_FALSE(out.failed());
        EXPECT_EQ(out.take(), value.dump(indent)) << indent;
    }
    JSONText::Writer out;
    out.beginArray();
    out.value(std::numeric_limits<double>::infinity());
    out.endArray();
    EXPECT_TRUE(out.failed()) << "it would be read back as null";
    JSONText::Writer notText;
    notText.value("\xFF");
    EXPECT_TRUE(notText.failed());
}

}  // namespace
}  // namespace zelvana::platform
