#include "platform/foundation/PropertyListSerialization.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <concepts>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <string_view>
#include <utility>
#include <variant>

#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/JSONText.hpp"
#include "platform/foundation/Utf8.hpp"

namespace zelvana::platform {
namespace {

// Deeper nesting than this is refused rather than risking the stack.
constexpr int kMaxDepth = 512;

std::nullopt_t refuse(std::string* error, const std::string& text) {
    if (error) *error = text;
    return std::nullopt;
}

// ---- base64 ----

constexpr char kBase64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64Encode(const Data& data) {
    std::string text;
    text.reserve((data.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < data.size(); i += 3) {
        const std::size_t left = data.size() - i;
        std::uint32_t group = data[i] << 16;
        if (left > 1) group |= data[i + 1] << 8;
        if (left > 2) group |= data[i + 2];
        text.push_back(kBase64Digits[(group >> 18) & 63]);
        text.push_back(kBase64Digits[(group >> 12) & 63]);
        text.push_back(left > 1 ? kBase64Digits[(group >> 6) & 63] : '=');
        text.push_back(left > 2 ? kBase64Digits[group & 63] : '=');
    }
    return text;
}

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// Whitespace is ignored, as line-wrapped data is common in property lists.
std::optional<Data> base64Decode(const std::string& text) {
    Data data;
    std::uint32_t bits = 0;
    int count = 0;
    bool padded = false;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) continue;
        if (c == '=') {
            padded = true;
            continue;
        }
        const int value = base64Value(c);
        if (value < 0 || padded) return std::nullopt;
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        if (++count == 4) {
            data.push_back(static_cast<std::uint8_t>(bits >> 16));
            data.push_back(static_cast<std::uint8_t>(bits >> 8));
            data.push_back(static_cast<std::uint8_t>(bits));
            bits = 0;
            count = 0;
        }
    }
    if (count == 1) return std::nullopt;
    if (count >= 2) data.push_back(static_cast<std::uint8_t>(bits >> (count == 2 ? 4 : 10)));
    if (count == 3) data.push_back(static_cast<std::uint8_t>(bits >> 2));
    return data;
}

// ---- ISO-8601 dates (UTC, whole seconds) ----

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct CivilDate {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

CivilDate civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

// Dates this far from 1970 either way (about 31 million years) are written
// with as many year digits as they need; beyond them, or not finite, a date
// has no text that would read back.
constexpr double kWritableDateSeconds = 1e15;

bool isWritableDate(Date date) {
    return std::abs(date.timeIntervalSince1970()) < kWritableDateSeconds;
}

// "YYYY-MM-DDTHH:MM:SSZ"; years past 9999 get more digits and years before 0
// a minus sign, as the reader accepts.
std::string isoDate(Date date) {
    const auto seconds = static_cast<std::int64_t>(std::floor(date.timeIntervalSince1970()));
    const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const std::int64_t rest = seconds - days * 86400;
    const CivilDate civil = civilFromDays(days);
    char text[64];
    std::snprintf(text, sizeof text, "%s%04lld-%02u-%02uT%02d:%02d:%02dZ",
                  civil.year < 0 ? "-" : "", static_cast<long long>(std::abs(civil.year)),
                  civil.month, civil.day, static_cast<int>(rest / 3600),
                  static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    return text;
}

std::optional<unsigned> digits(const std::string& text, std::size_t at, std::size_t count) {
    unsigned value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return value;
}

// "[-]YYYY-MM-DDTHH:MM:SSZ" with four to nine year digits.
std::optional<Date> parseIsoDate(const std::string& text) {
    const std::size_t sign = text.starts_with('-') ? 1 : 0;
    const std::size_t yearDigits = text.find('-', sign) - sign;
    if (yearDigits < 4 || yearDigits > 9 || text.size() != sign + yearDigits + 16) {
        return std::nullopt;
    }
    const std::string rest = text.substr(sign + yearDigits);  // "-MM-DDTHH:MM:SSZ"
    if (rest[0] != '-' || rest[3] != '-' || rest[6] != 'T' || rest[9] != ':' || rest[12] != ':' ||
        rest[15] != 'Z')
        return std::nullopt;
    auto year = digits(text, sign, yearDigits), month = digits(rest, 1, 2),
         day = digits(rest, 4, 2);
    auto hour = digits(rest, 7, 2), minute = digits(rest, 10, 2), second = digits(rest, 13, 2);
    if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
    if (*month < 1 || *month > 12 || *day < 1 || *day > 31 || *hour > 23 || *minute > 59 ||
        *second > 60)
        return std::nullopt;
    const std::int64_t signedYear = sign ? -std::int64_t{*year} : std::int64_t{*year};
    const std::int64_t days = daysFromCivil(signedYear, *month, *day);
    const double seconds =
        static_cast<double>(days * 86400 + *hour * 3600 + *minute * 60 + *second);
    return Date::fromTimeIntervalSince1970(seconds);
}

// ---- numbers ----

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// A whole number the system's property lists hold: signed 64-bit, or
// unsigned up to 2^64 - 1.
std::optional<PropertyValue> parseInteger(const std::string& raw) {
    std::string text = trimmed(raw);
    bool negative = false;
    std::size_t at = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) negative = text[at++] == '-';
    int base = 10;
    if (text.compare(at, 2, "0x") == 0 || text.compare(at, 2, "0X") == 0) {
        base = 16;
        at += 2;
    }
    std::uint64_t magnitude = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data() + at, end, magnitude, base);
    if (ec != std::errc() || ptr != end || at == text.size()) return std::nullopt;
    constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int64_t>::max();
    if (!negative) return PropertyValue(magnitude);
    if (magnitude > kMaxPositive + 1) return std::nullopt;
    return PropertyValue(static_cast<std::int64_t>(0 - magnitude));
}

std::optional<double> parseReal(const std::string& raw) {
    std::string text = trimmed(raw);
    std::string lower;
    for (char c : text)
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    if (lower == "nan") return std::numeric_limits<double>::quiet_NaN();
    if (lower == "inf" || lower == "+inf" || lower == "infinity" || lower == "+infinity")
        return std::numeric_limits<double>::infinity();
    if (lower == "-inf" || lower == "-infinity") return -std::numeric_limits<double>::infinity();
    const std::size_t at = !text.empty() && text[0] == '+' ? 1 : 0;
    double value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data() + at, end, value);
    if (ec != std::errc() || ptr != end || at == text.size()) return std::nullopt;
    return value;
}

std::string realText(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "+infinity" : "-infinity";
    char buffer[64];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, ptr);
}

// ---- text ----

// Printable ASCII, nearly all of a stored grid's hundreds of kilobytes, is
// passed over without decoding.
bool isPrintableAscii(char c) {
    return c >= 0x20 && c < 0x7F;
}

// Whether the text is UTF-8 whose every character passes `passes`.
template <typename Test>
bool allCharacters(std::string_view text, Test passes) {
    for (std::size_t at = 0; at < text.size();) {
        if (isPrintableAscii(text[at])) {
            ++at;
            continue;
        }
        const auto point = utf8::decode(text, at);
        if (!point || !passes(point->value)) return false;
        at += point->length;
    }
    return true;
}

bool isUtf8(std::string_view text) {
    return allCharacters(text, [](char32_t) { return true; });
}

// The characters an XML 1.0 document may hold, raw or as a reference.
bool isXmlCharacter(char32_t c) {
    return c == '\t' || c == '\n' || c == '\r' || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

bool xmlCarries(std::string_view text) {
    return allCharacters(text, isXmlCharacter);
}

// ---- XML writing ----

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

// The text as XML character data: what markup would read escaped, a carriage
// return as a reference (a raw one would be lost to line-end normalisation),
// and a character XML 1.0 cannot carry, or a byte that is not UTF-8, as U+FFFD.
void appendEscaped(std::string& out, std::string_view text) {
    // Runs that need no escaping are copied whole: a stored grid is hundreds
    // of kilobytes with hardly anything to escape.
    std::size_t plain = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const bool plainAscii = byte < 0x80 && (byte >= 0x20 || byte == '\t' || byte == '\n') &&
                                byte != '&' && byte != '<' && byte != '>';
        if (plainAscii) {
            ++at;
            continue;
        }
        const auto point = utf8::decode(text, at);
        if (point && point->length > 1 && isXmlCharacter(point->value)) {
            at += point->length;
            continue;
        }
        out.append(text.substr(plain, at - plain));
        at += point ? point->length : 1;
        plain = at;
        if (!point || !isXmlCharacter(point->value)) {
            out += kReplacementCharacter;
        } else if (point->value == '&') {
            out += "&amp;";
        } else if (point->value == '<') {
            out += "&lt;";
        } else if (point->value == '>') {
            out += "&gt;";
        } else {
            out += "&#13;";
        }
    }
    out.append(text.substr(plain));
}

class XmlWriter {
public:
    std::string document(const PropertyValue& value) {
        out_ =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
            "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
            "<plist version=\"1.0\">\n";
        write(value, 0);
        out_ += "</plist>\n";
        return std::move(out_);
    }

private:
    void element(int depth, const char* tag, const std::string& escapedText) {
        out_.append(depth, '\t');
        out_ += '<';
        out_ += tag;
        out_ += '>';
        out_ += escapedText;
        out_ += "</";
        out_ += tag;
        out_ += ">\n";
    }

    void textElement(int depth, const char* tag, const std::string& text) {
        std::string escaped;
        appendEscaped(escaped, text);
        element(depth, tag, escaped);
    }

    void emptyElement(int depth, const char* tag) {
        out_.append(depth, '\t');
        out_ += '<';
        out_ += tag;
        out_ += "/>\n";
    }

    void container(int depth, const char* tag, bool empty) {
        if (empty) return emptyElement(depth, tag);
        out_.append(depth, '\t');
        out_ += '<';
        out_ += tag;
        out_ += ">\n";
    }

    void close(int depth, const char* tag) {
        out_.append(depth, '\t');
        out_ += "</";
        out_ += tag;
        out_ += ">\n";
    }

    void write(const PropertyValue& value, int depth) {
        std::visit([&](const auto& v) { writeValue(v, depth); }, value.storage());
    }

    void writeValue(bool v, int depth) { emptyElement(depth, v ? "true" : "false"); }
    void writeValue(std::int64_t v, int depth) { element(depth, "integer", std::to_string(v)); }
    void writeValue(std::uint64_t v, int depth) { element(depth, "integer", std::to_string(v)); }
    void writeValue(double v, int depth) { element(depth, "real", realText(v)); }
    void writeValue(const std::string& v, int depth) { textElement(depth, "string", v); }
    void writeValue(const Data& v, int depth) { element(depth, "data", base64Encode(v)); }
    void writeValue(Date v, int depth) { element(depth, "date", isoDate(writable(v))); }

    // Callers check isWritable first; this only keeps the arithmetic defined.
    static Date writable(Date date) {
        if (std::isnan(date.sinceReferenceDate)) return Date{};
        const double limit = kWritableDateSeconds - 86400;
        return Date::fromTimeIntervalSince1970(
            std::clamp(date.timeIntervalSince1970(), -limit, limit));
    }

    void writeValue(const PropertyArray& array, int depth) {
        container(depth, "array", array.empty());
        if (array.empty()) return;
        for (const auto& item : array) write(item, depth + 1);
        close(depth, "array");
    }

    void writeValue(const PropertyDictionary& dictionary, int depth) {
        container(depth, "dict", dictionary.empty());
        if (dictionary.empty()) return;
        for (const auto& [key, item] : dictionary) {
            textElement(depth + 1, "key", key);
            write(item, depth + 1);
        }
        close(depth, "dict");
    }

    std::string out_;
};

// Whether every date can be written, and every text is UTF-8: as `text`
// says, or holding only what XML carries.
struct WritabilityCheck {
    bool (*text)(std::string_view);

    bool operator()(Date v) const { return isWritableDate(v); }
    bool operator()(const std::string& v) const { return text(v); }
    bool operator()(const PropertyArray& array) const {
        return std::all_of(array.begin(), array.end(),
                           [this](const auto& item) { return std::visit(*this, item.storage()); });
    }
    bool operator()(const PropertyDictionary& dictionary) const {
        return std::all_of(dictionary.begin(), dictionary.end(), [this](const auto& member) {
            return text(member.first) && std::visit(*this, member.second.storage());
        });
    }
    template <typename Scalar>
    bool operator()(const Scalar&) const {
        return true;
    }
};

// ---- XML reading ----

std::string textOf(const pugi::xml_node& node) {
    std::string text;
    for (const auto& child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
    }
    return text;
}

bool hasElementChildren(const pugi::xml_node& node) {
    for (const auto& child : node.children())
        if (child.type() == pugi::node_element) return true;
    return false;
}

class XmlReader {
public:
    explicit XmlReader(std::string* error) : error_(error) {}

    std::optional<PropertyValue> value(const pugi::xml_node& node, int depth) {
        if (depth > kMaxDepth) return failed("property list nested too deeply");
        const std::string tag = node.name();
        if (tag == "dict") return dictionary(node, depth);
        if (tag == "array") return array(node, depth);
        if (hasElementChildren(node)) return failed("unexpected element inside <" + tag + ">");
        return scalar(tag, textOf(node));
    }

private:
    std::optional<PropertyValue> failed(const std::string& text) { return refuse(error_, text); }

    std::optional<PropertyValue> scalar(const std::string& tag, const std::string& text) {
        if (tag == "true") return PropertyValue(true);
        if (tag == "false") return PropertyValue(false);
        if (tag == "string") {
            if (!isUtf8(text)) return failed("a <string> is not UTF-8");
            return PropertyValue(text);
        }
        if (tag == "integer") return converted(parseInteger(text), tag, text);
        if (tag == "real") return converted(parseReal(text), tag, text);
        if (tag == "data") return converted(base64Decode(text), tag, text);
        if (tag == "date") return converted(parseIsoDate(trimmed(text)), tag, text);
        return failed("unknown property-list element <" + tag + ">");
    }

    template <typename T>
    std::optional<PropertyValue> converted(const std::optional<T>& parsed, const std::string& tag,
                                           const std::string& text) {
        if (!parsed) return failed("invalid <" + tag + "> value '" + text + "'");
        return PropertyValue(*parsed);
    }

    std::optional<PropertyValue> array(const pugi::xml_node& node, int depth) {
        PropertyArray items;
        for (const auto& child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            auto item = value(child, depth + 1);
            if (!item) return std::nullopt;
            items.push_back(std::move(*item));
        }
        return PropertyValue(std::move(items));
    }

    std::optional<PropertyValue> dictionary(const pugi::xml_node& node, int depth) {
        PropertyDictionary members;
        std::optional<std::string> key;
        for (const auto& child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            if (!key) {
                if (std::string(child.name()) != "key")
                    return failed("<dict> holds <" + std::string(child.name()) +
                                  "> where a <key> belongs");
                key = textOf(child);
                if (!isUtf8(*key)) return failed("a <key> is not UTF-8");
                continue;
            }
            auto member = value(child, depth + 1);
            if (!member) return std::nullopt;
            members.insert_or_assign(std::move(*key), std::move(*member));
            key.reset();
        }
        if (key) return failed("<dict> key '" + *key + "' has no value");
        return PropertyValue(std::move(members));
    }

    std::string* error_;
};

std::optional<pugi::xml_node> rootValue(const pugi::xml_document& document, std::string* error) {
    std::vector<pugi::xml_node> roots;
    for (const auto& child : document.children())
        if (child.type() == pugi::node_element) roots.push_back(child);
    if (roots.size() != 1) return refuse(error, "a property list needs exactly one root element");
    if (std::string(roots[0].name()) != "plist") return roots[0];
    std::vector<pugi::xml_node> values;
    for (const auto& child : roots[0].children())
        if (child.type() == pugi::node_element) values.push_back(child);
    if (values.size() != 1) return refuse(error, "<plist> must hold exactly one value");
    return values[0];
}

// The parser ends a text at U+0000, so a document holding one would read as
// less than it says: such a document is no XML, and is refused. A document
// in UTF-16 or UTF-32 (a NUL among its first four bytes, or a byte-order
// mark) is left to the parser.
std::optional<std::string> unreadableCharacter(std::string_view text) {
    const auto head = text.substr(0, 4);
    if (head.find('\0') != std::string_view::npos || head.starts_with("\xFE\xFF") ||
        head.starts_with("\xFF\xFE")) {
        return std::nullopt;
    }
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) {
        return "a NUL byte at offset " + std::to_string(nul);
    }
    // "&#0;", "&#x00;" and the like.
    for (auto at = text.find("&#"); at != std::string_view::npos; at = text.find("&#", at + 2)) {
        auto digits = at + 2;
        if (digits < text.size() && (text[digits] == 'x' || text[digits] == 'X')) ++digits;
        const auto end = text.find_first_not_of('0', digits);
        if (end != digits && end != std::string_view::npos && text[end] == ';') {
            return "a reference to U+0000 at offset " + std::to_string(at);
        }
    }
    return std::nullopt;
}

// ---- JSON ----

bool isWholeInRange(double value) {
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    return std::isfinite(value) && value == std::trunc(value) && value >= -kLimit && value < kLimit;
}

// Builds the values as the parser meets them, with no JSON tree in between:
// a stored window list or grid holds thousands of them.
class PropertyBuilder : public nlohmann::json_sax<nlohmann::json> {
public:
    std::optional<PropertyValue> take(std::string* error) {
        if (failure_) return refuse(error, *failure_);
        return std::move(root_);
    }

    bool null() override { return fail("JSON null has no property-list form"); }
    bool boolean(bool value) override { return add(value); }
    bool number_integer(number_integer_t value) override { return add(std::int64_t{value}); }
    bool number_unsigned(number_unsigned_t value) override {
        return add(PropertyValue(std::uint64_t{value}));
    }
    bool number_float(number_float_t value, const string_t&) override {
        if (isWholeInRange(value)) return add(static_cast<std::int64_t>(value));
        return add(value);
    }
    bool string(string_t& value) override { return add(std::move(value)); }
    bool binary(binary_t&) override { return fail("unsupported JSON value"); }
    bool start_object(std::size_t) override { return open(PropertyDictionary{}); }
    bool key(string_t& name) override {
        open_.back().key = std::move(name);
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(PropertyArray{}); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& failure) override {
        const auto* parse = dynamic_cast<const nlohmann::json::parse_error*>(&failure);
        return fail(parse ? "not valid JSON (at byte " + std::to_string(parse->byte) + ")"
                          : "not valid JSON");
    }

private:
    struct Open {
        std::variant<PropertyArray, PropertyDictionary> items;
        std::string key;
    };

    bool fail(std::string reason) {
        failure_ = std::move(reason);
        return false;
    }
    bool open(std::variant<PropertyArray, PropertyDictionary> items) {
        if (open_.size() >= static_cast<std::size_t>(kMaxDepth))
            return fail("JSON nested too deeply");
        open_.push_back({std::move(items), {}});
        return true;
    }
    bool close() {
        auto items = std::move(open_.back().items);
        open_.pop_back();
        return add(std::visit([](auto& made) { return PropertyValue(std::move(made)); }, items));
    }
    // A repeated member name keeps its last value.
    bool add(PropertyValue value) {
        if (open_.empty()) {
            root_ = std::move(value);
        } else if (auto* array = std::get_if<PropertyArray>(&open_.back().items)) {
            array->push_back(std::move(value));
        } else {
            std::get<PropertyDictionary>(open_.back().items)
                .insert_or_assign(std::move(open_.back().key), std::move(value));
        }
        return true;
    }

    std::vector<Open> open_;
    std::optional<PropertyValue> root_;
    std::optional<std::string> failure_;
};

// False when the value holds data or a date, which have no JSON form.
struct JsonWriting {
    JSONText::Writer& out;

    template <typename Scalar>
    requires std::same_as<Scalar, bool> || std::same_as<Scalar, std::int64_t> ||
        std::same_as<Scalar, std::uint64_t> || std::same_as<Scalar, double> ||
        std::same_as<Scalar, std::string>
    bool operator()(const Scalar& v) const {
        out.value(v);
        return true;
    }
    bool operator()(const Data&) const { return false; }
    bool operator()(Date) const { return false; }
    bool operator()(const PropertyArray& array) const {
        out.beginArray();
        for (const auto& item : array) {
            if (!std::visit(*this, item.storage())) return false;
        }
        out.endArray();
        return true;
    }
    bool operator()(const PropertyDictionary& dictionary) const {
        out.beginObject();
        for (const auto& [key, item] : dictionary) {
            out.key(key);
            if (!std::visit(*this, item.storage())) return false;
        }
        out.endObject();
        return true;
    }
};

using Parser = std::optional<PropertyValue> (*)(const std::string&, std::string*);

std::optional<PropertyValue> readParsed(const std::filesystem::path& path, Parser parse,
                                        std::string* error) {
    auto bytes = FileManager::defaultManager().contentsAtPath(path, error);
    if (!bytes) return std::nullopt;
    std::string parseError;
    auto value = parse(*bytes, &parseError);
    if (!value) return refuse(error, path.string() + ": " + parseError);
    return value;
}

}  // namespace

namespace PropertyListSerialization {

std::optional<PropertyValue> fromXml(const std::string& text, std::string* error) {
    if (const auto reason = unreadableCharacter(text)) return refuse(error, *reason);
    pugi::xml_document document;
    const auto result =
        document.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata);
    if (!result) {
        return refuse(error, "malformed XML at offset " + std::to_string(result.offset) + ": " +
                                 result.description());
    }
    auto root = rootValue(document, error);
    if (!root) return std::nullopt;
    return XmlReader(error).value(*root, 0);
}

std::string toXml(const PropertyValue& value) {
    return XmlWriter().document(value);
}

std::optional<PropertyValue> readXmlFile(const std::filesystem::path& path, std::string* error) {
    return readParsed(path, fromXml, error);
}

bool isWritable(const PropertyValue& value) {
    return std::visit(WritabilityCheck{isUtf8}, value.storage());
}

bool isXmlWritable(const PropertyValue& value) {
    return std::visit(WritabilityCheck{xmlCarries}, value.storage());
}

bool writeXmlFile(const std::filesystem::path& path, const PropertyValue& value,
                  std::string* error) {
    if (!isXmlWritable(value)) {
        if (error) *error = "a date or a text lies beyond what an XML property list can hold";
        return false;
    }
    return FileManager::defaultManager().writeAtomically(path, toXml(value), error);
}

std::optional<PropertyValue> readFile(const std::filesystem::path& path, std::string* error) {
    return readParsed(path, fromData, error);
}

bool writeFile(const std::filesystem::path& path, const PropertyValue& value, std::string* error) {
    // What XML carries is writable anyway: one pass over the text decides both
    // for the usual value.
    const bool asXml = isXmlWritable(value);
    if (!asXml && !isWritable(value)) {
        if (error) *error = "a date or a text lies beyond what a property list can hold";
        return false;
    }
    const auto bytes = asXml ? toXml(value) : toBinary(value);
    return FileManager::defaultManager().writeAtomically(path, bytes, error);
}

}  // namespace PropertyListSerialization

namespace JSONSerialization {

std::optional<PropertyValue> parse(const std::string& text, std::string* error) {
    if (!JSONText::isParsable(text, error)) return std::nullopt;
    PropertyBuilder builder;
    try {
        nlohmann::json::sax_parse(text, &builder);
    } catch (const std::exception&) {
        return refuse(error, "not valid JSON");
    }
    return builder.take(error);
}

// Dictionaries are ordered maps, so keys always come out sorted.
std::optional<std::string> serialize(const PropertyValue& value, WritingOptions /*options*/) {
    JSONText::Writer out;
    if (!std::visit(JsonWriting{out}, value.storage()) || out.failed()) return std::nullopt;
    return out.take();
}

}  // namespace JSONSerialization

}  // namespace zelvana::platform
