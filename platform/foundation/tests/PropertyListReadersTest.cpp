// What we write is read by other property-list readers too: every XML file
// must be well-formed XML 1.0 to a strict parser of its own (expat), and what
// that parser reads back must be what was stored. A preferences file we
// cannot read is refused whole and kept aside; one value we can read is not.
#include <expat.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/SystemFolders.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// The texts of the document's leaf elements (<key>, <string>, <integer>),
// as expat reads them; none when it refuses the document.
std::optional<std::vector<std::string>> expatTexts(const std::string& document) {
    struct Reading {
        std::vector<std::string> texts;
        bool inLeaf = false;
    } reading;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &reading);
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char* name, const XML_Char**) {
            auto& r = *static_cast<Reading*>(data);
            const std::string tag = name;
            r.inLeaf = tag == "key" || tag == "string" || tag == "integer";
            if (r.inLeaf) r.texts.emplace_back();
        },
        [](void* data, const XML_Char*) { static_cast<Reading*>(data)->inLeaf = false; });
    XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
        auto& r = *static_cast<Reading*>(data);
        if (r.inLeaf) r.texts.back().append(text, static_cast<std::size_t>(length));
    });
    const bool wellFormed = XML_Parse(parser, document.data(), static_cast<int>(document.size()),
                                      XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    if (!wellFormed) return std::nullopt;
    return reading.texts;
}

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(PropertyListReadersTest, WhatIsWrittenEveryReaderReadsBack) {
    const std::string nul("a\0b", 3);
    const struct {
        const char* name;
        std::string key;
        PropertyValue value;
        // What expat reads, when XML can carry it; else the file is binary.
        std::optional<std::vector<std::string>> texts;
    } rows[] = {
        {"markup", "<k&>", "</string> ]]> &amp; \"'", {{"<k&>", "</string> ]]> &amp; \"'"}}},
        {"line ends and tabs", "k", "a\r\nb\rc\td", {{"k", "a\r\nb\rc\td"}}},
        {"beyond the first plane", "🐢", "世界 🐢", {{"🐢", "世界 🐢"}}},
        {"the largest unsigned integer",
         "n",
         std::uint64_t{18446744073709551615U},
         {{"n", "18446744073709551615"}}},
        {"the smallest integer",
         "n",
         std::int64_t{-9223372036854775807 - 1},
         {{"n", "-9223372036854775808"}}},
        {"U+0000", "k", nul, std::nullopt},
        {"controls", "k", "\x01\x08\x0B\x0C\x1F", std::nullopt},
        {"U+FFFE", "k", "\xEF\xBF\xBE", std::nullopt},
        {"U+FFFF", "k", "\xEF\xBF\xBF", std::nullopt},
        {"a control in a key", "bell\a", "k", std::nullopt},
    };
    testing::TemporaryFolders folders;
    const auto file = folders.path("written.plist");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const PropertyValue stored = PropertyDictionary{{row.key, row.value}};
        std::string error;
        ASSERT_TRUE(PropertyListSerialization::writeFile(file, stored, &error)) << error;
        const auto bytes = contents(file);
        if (row.texts) {
            EXPECT_EQ(expatTexts(bytes), row.texts) << bytes;
        } else {
            EXPECT_TRUE(bytes.starts_with("bplist00"));
        }
        EXPECT_EQ(PropertyListSerialization::readFile(file, &error), stored) << error;
        // XML alone refuses it rather than write a text no parser accepts.
        EXPECT_EQ(PropertyListSerialization::writeXmlFile(file, stored), row.texts.has_value());
        EXPECT_TRUE(expatTexts(PropertyListSerialization::toXml(stored))) << "always well-formed";
    }
}

std::string plist(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>kept</key><string>yes</string>" +
           body + "</dict></plist>\n";
}

TEST(PropertyListReadersTest, APreferencesFileIsReadOrRefusedWhole) {
    const struct {
        const char* name;
        std::string file;
        std::optional<PropertyValue> value;  // none: refused whole, and kept aside
    } rows[] = {
        {"an unsigned integer", plist("<key>n</key><integer>18446744073709551615</integer>"),
         std::uint64_t{18446744073709551615U}},
        {"2^63", plist("<key>n</key><integer>9223372036854775808</integer>"),
         std::uint64_t{9223372036854775808U}},
        {"a control by reference", plist("<key>n</key><string>a&#1;b</string>"),
         "a\x01"
         "b"},
        {"bytes that are no UTF-8", plist("<key>n</key><string>\xFF\xFE</string>"), std::nullopt},
        {"a surrogate by reference", plist("<key>n</key><string>&#xD800;</string>"), std::nullopt},
        {"U+0000 by reference", plist("<key>n</key><string>a&#0;b</string>"), std::nullopt},
        {"a NUL byte", plist("<key>n</key><string>a\0b</string>"s), std::nullopt},
        {"a 23-digit integer", plist("<key>n</key><integer>12345678901234567890123</integer>"),
         std::nullopt},
        {"below the smallest integer", plist("<key>n</key><integer>-9223372036854775809</integer>"),
         std::nullopt},
        {"a real beyond doubles", plist("<key>n</key><real>1e400</real>"), std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        testing::TemporaryFolders folders;
        const auto file = *SystemFolders::preferences() / "com.example.Readers.plist";
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << row.file;
        {
            UserDefaults defaults("com.example.Readers");
            EXPECT_EQ(defaults.object("n"), row.value);
            EXPECT_EQ(defaults.stringForKey("kept"),
                      row.value ? "yes" : std::optional<std::string>());
            defaults.set("changed", true);
        }
        const auto written = PropertyListSerialization::readFile(file);
        ASSERT_TRUE(written);
        EXPECT_EQ(written->find("n") ? std::optional(*written->find("n")) : std::nullopt, row.value)
            << "written back as it was read";
        bool keptAside = false;
        for (const auto& entry : fs::directory_iterator(file.parent_path())) {
            keptAside |= entry.path().filename().string().find(".corrupt-") != std::string::npos &&
                         contents(entry.path()) == row.file;
        }
        EXPECT_EQ(keptAside, !row.value);
    }
}

TEST(PropertyListReadersTest, LargeUnsignedIntegersReadAsTheSystemsNumbersGiveThem) {
    const PropertyValue largest = std::uint64_t{18446744073709551615U};
    EXPECT_TRUE(largest.isInteger());
    EXPECT_EQ(largest.asInteger(), -1) << "the same 64 bits, signed";
    EXPECT_EQ(largest.asDouble(), 18446744073709551615.0);
    EXPECT_EQ(PropertyValue(std::uint64_t{5}), PropertyValue(5)) << "small ones are plain integers";
    EXPECT_EQ(PropertyListSerialization::fromBinary(PropertyListSerialization::toBinary(largest)),
              largest);
    const auto json = JSONSerialization::parse("18446744073709551615");
    EXPECT_EQ(json, largest);
    EXPECT_EQ(JSONSerialization::serialize(largest), "18446744073709551615");
}

}  // namespace
}  // namespace zelvana::platform
