#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "platform/foundation/PropertyListSerialization.hpp"

namespace zelvana::platform {
namespace {

std::string fromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// {"a": 1}, laid out as the system writes it.
const std::string kSmallDocument = fromHex(
    "62706c6973743030d1010251611001080b0d000000000000010100000000000000030000000000000000"
    "000000000000000f");

// Negative and wide integers, a real, UTF-16 text with a surrogate pair, a date,
// data and an array of 1-, 2- and 4-byte integers, from another writer.
const std::string kMixedDocument = fromHex(
    "62706c6973743030d80102030405060708090a0b0f1011121353626967556279746573546c697374516e517251"
    "735174547768656e1300000100000000004200ffa30c0d0e100111012c120001117013ffffffffffffffff233f"
    "e00000000000006700630061006600e90020d83ddc22093340f518000000000008191d23282a2c2e30353e4145"
    "474a4f58617071000000000000010100000000000000140000000000000000000000000000007a");

std::string withByte(std::string bytes, std::size_t at, char value) {
    bytes[at] = value;
    return bytes;
}

// A document of these objects, with one-byte offsets and references.
std::string binaryList(const std::vector<std::string>& objects, std::size_t top = 0) {
    std::string out = "bplist00";
    std::string offsets;
    for (const auto& object : objects) {
        offsets.push_back(static_cast<char>(out.size()));
        out += object;
    }
    const auto table = static_cast<char>(out.size());
    out += offsets;
    out += std::string(6, '\0') + "\x01\x01";
    out += std::string(7, '\0') + static_cast<char>(objects.size());
    out += std::string(7, '\0') + static_cast<char>(top);
    out += std::string(7, '\0') + table;
    return out;
}

// A UTF-16 string object of these units.
std::string utf16Text(const std::vector<std::uint16_t>& units) {
    std::string object{static_cast<char>(0x60 | units.size())};
    for (const auto unit : units) {
        object += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
    }
    return object;
}

TEST(BinaryPropertyListTest, ReadsDocumentsOfOtherWriters) {
    std::string error;
    auto small = PropertyListSerialization::fromBinary(kSmallDocument, &error);
    ASSERT_TRUE(small) << error;
    EXPECT_EQ(*small, PropertyValue(PropertyDictionary{{"a", 1}}));

    auto mixed = PropertyListSerialization::fromBinary(kMixedDocument, &error);
    ASSERT_TRUE(mixed) << error;
    const PropertyValue expected = PropertyDictionary{
        {"big", std::int64_t{1} << 40},
        {"bytes", Data{0x00, 0xFF}},
        {"list", PropertyArray{1, 300, 70000}},
        {"n", -1},
        {"r", 0.5},
        {"s", "café 🐢"},
        {"t", true},
        {"when", Date{86400}},
    };
    EXPECT_EQ(*mixed, expected);
}

TEST(BinaryPropertyListTest, RoundTripsEveryKindAndWideTables) {
    PropertyArray many;
    for (std::int64_t i = 0; i < 300; ++i) many.emplace_back(i * 1000);  // two-byte references
    const PropertyValue original = PropertyDictionary{
        {"yes", true},
        {"no", false},
        {"lowest", std::numeric_limits<std::int64_t>::min()},
        {"highest", std::numeric_limits<std::int64_t>::max()},
        {"ratio", 0.1},
        {"text", "Grüße, 世界 🐢"},
        {"long text", std::string(40, 'x')},
        {"bytes", Data(20, 0x7F)},
        {"no bytes", Data{}},
        {"when", Date{-31536000.5}},
        {"many", many},
        {"nested", PropertyDictionary{{"inner", PropertyArray{PropertyDictionary{}}}}},
    };
    std::string error;
    auto parsed = PropertyListSerialization::fromBinary(
        PropertyListSerialization::toBinary(original), &error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(*parsed, original);
    EXPECT_EQ(PropertyListSerialization::fromBinary(PropertyListSerialization::toBinary("plain")),
              PropertyValue("plain"));
}

TEST(BinaryPropertyListTest, RefusesDamagedDocuments) {
    const auto refused = [](const std::string& bytes) {
        std::string error;
        const bool parsed = PropertyListSerialization::fromBinary(bytes, &error).has_value();
        return !parsed && !error.empty();
    };
    EXPECT_TRUE(refused(""));
    EXPECT_TRUE(refused("bplist00"));
    EXPECT_TRUE(refused(kSmallDocument.substr(0, kSmallDocument.size() - 1)));
    EXPECT_TRUE(refused(withByte(kSmallDocument, 0, 'x')));
    // The top object's offset points into the offset table.
    EXPECT_TRUE(refused(withByte(kSmallDocument, 0x0F, 0x0F)));
    // The key reference points at the integer.
    EXPECT_TRUE(refused(withByte(kSmallDocument, 0x09, 0x02)));
    // The integer becomes a null object.
    EXPECT_TRUE(refused(withByte(kSmallDocument, 0x0D, 0x00)));
    // A string claims more bytes than there are.
    EXPECT_TRUE(refused(withByte(kSmallDocument, 0x0B, 0x5E)));
    // Zero-width references.
    EXPECT_TRUE(refused(withByte(kSmallDocument, kSmallDocument.size() - 25, 0x00)));
}

TEST(BinaryPropertyListTest, AContainerHoldingItselfIsRefusedAsReferringToItself) {
    const std::string dictionaryAsItsOwnValue = withByte(kSmallDocument, 0x0A, 0x00);
    const std::string arrayInItself = binaryList({{'\xA1', '\x00'}});
    const std::string arraysInEachOther = binaryList({{'\xA1', '\x01'}, {'\xA1', '\x00'}});
    for (const auto& bytes : {dictionaryAsItsOwnValue, arrayInItself, arraysInEachOther}) {
        std::string error;
        EXPECT_FALSE(PropertyListSerialization::fromBinary(bytes, &error));
        EXPECT_EQ(error, "property list refers to itself");
    }
}

TEST(BinaryPropertyListTest, UnpairedSurrogatesReadAsReplacementMarks) {
    const std::string mark = "\uFFFD";
    const std::vector<std::pair<std::vector<std::uint16_t>, std::string>> cases{
        {{0xD800, 0xDC00}, "\U00010000"},   {{0xDBFF, 0xDFFF}, "\U0010FFFF"},
        {{0xD7FF, 0xE000}, "\uD7FF\uE000"}, {{0xDC00, 0xDC00}, mark + mark},
        {{0xDFFF, 0xDC00}, mark + mark},    {{0xDBFF, 0x0041}, mark + "A"},
        {{0x0041, 0xD800}, "A" + mark},
    };
    for (const auto& [units, text] : cases) {
        std::string error;
        const auto read =
            PropertyListSerialization::fromBinary(binaryList({utf16Text(units)}), &error);
        ASSERT_TRUE(read && read->stringValue()) << error;
        EXPECT_EQ(*read->stringValue(), text) << std::hex << units.front() << " " << units.back();
    }
}

TEST(BinaryPropertyListTest, FromDataTellsTheFormatByItsStart) {
    const PropertyValue value = PropertyDictionary{{"key", "value"}};
    EXPECT_EQ(PropertyListSerialization::fromData(PropertyListSerialization::toBinary(value)),
              value);
    EXPECT_EQ(PropertyListSerialization::fromData(PropertyListSerialization::toXml(value)), value);
    std::string error;
    EXPECT_FALSE(PropertyListSerialization::fromData("bplist15 something else", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(PropertyListSerialization::fromData("<plist><dict><key>k</key></dict></plist>"));
}

// Object k is an array holding object k - 1 twice, object 0 the integer 1:
// `levels` levels expand to 2^levels integers.
std::string doublingArrays(int levels) {
    std::vector<std::string> objects{{'\x10', '\x01'}};
    for (int k = 1; k <= levels; ++k) {
        objects.push_back({'\xA2', static_cast<char>(k - 1), static_cast<char>(k - 1)});
    }
    return binaryList(objects, static_cast<std::size_t>(levels));
}

TEST(BinaryPropertyListTest, SharedObjectsExpandOnlySoFar) {
    std::string error;
    const auto bomb = doublingArrays(60);
    ASSERT_LT(bomb.size(), 300U);
    EXPECT_FALSE(PropertyListSerialization::fromBinary(bomb, &error));
    EXPECT_NE(error.find("expands"), std::string::npos) << error;

    auto shared = PropertyListSerialization::fromBinary(doublingArrays(8), &error);
    ASSERT_TRUE(shared) << error << ": modest sharing reads";
    const PropertyValue* leaf = &*shared;
    for (int level = 0; level < 8; ++level) leaf = &leaf->arrayValue()->back();
    EXPECT_EQ(*leaf, PropertyValue(1));
}

}  // namespace
}  // namespace zelvana::platform
