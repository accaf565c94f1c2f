#include "platform/foundation/JSONCursor.hpp"

#include <charconv>
#include <cmath>
#include <system_error>

#include "platform/foundation/JSONText.hpp"
#include "platform/foundation/Utf8.hpp"

namespace zelvana::platform {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

void JSONCursor::skipWhitespace() {
    while (at_ < text_.size()) {
        const char c = text_[at_];
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t') return;
        ++at_;
    }
}

char JSONCursor::peek() {
    skipWhitespace();
    return failed_ || at_ >= text_.size() ? '\0' : text_[at_];
}

bool JSONCursor::open(char bracket, Container container) {
    if (peek() != bracket || depth_ == maxDepth) {
        fail();
        return false;
    }
    ++at_;
    levels_[depth_++] = {container, true, 0};
    return true;
}

JSONCursor::Next JSONCursor::next(Container container, char bracket) {
    if (failed_ || depth_ == 0 || levels_[depth_ - 1].container != container) {
        fail();
        return Next::failure;
    }
    const char following = peek();
    if (following == bracket) {
        ++at_;
        --depth_;
        return Next::end;
    }
    Level& level = levels_[depth_ - 1];
    if (level.first) {
        level.first = false;
    } else if (following == ',') {
        ++at_;
    } else {
        fail();
        return Next::failure;
    }
    return Next::item;
}

bool JSONCursor::nextItem() {
    return next(Container::array, ']') == Next::item;
}

std::optional<std::string_view> JSONCursor::nextKey() {
    if (next(Container::object, '}') != Next::item) return std::nullopt;
    const auto key = string();
    if (!key || peek() != ':') {
        fail();
        return std::nullopt;
    }
    ++at_;
    return key;
}

std::optional<std::size_t> JSONCursor::nextMember(std::span<const std::string_view> names) {
    const auto key = nextKey();
    if (!key) return std::nullopt;
    for (std::size_t index = 0; index < names.size() && index < 32; ++index) {
        if (names[index] != *key) continue;
        const std::uint32_t bit = std::uint32_t{1} << index;
        // Met twice: the parser would keep the last, which is its to decide.
        if ((levels_[depth_ - 1].met & bit) != 0) break;
        levels_[depth_ - 1].met |= bit;
        return index;
    }
    fail();
    return std::nullopt;
}

std::optional<std::string_view> JSONCursor::string() {
    if (peek() != '"') {
        fail();
        return std::nullopt;
    }
    const std::size_t start = ++at_;
    while (at_ < text_.size()) {
        const auto c = static_cast<unsigned char>(text_[at_]);
        if (c == '"') return text_.substr(start, at_++ - start);
        // Escapes are the parser's to read; control characters are not JSON.
        if (c == '\\' || c < 0x20) break;
        if (c < 0x80) {
            ++at_;
            continue;
        }
        // Checked as the parser checks it.
        const auto character = utf8::decode(text_, at_);
        if (!character) break;
        at_ += character->length;
    }
    fail();
    return std::nullopt;
}

std::optional<bool> JSONCursor::boolean() {
    const char next = peek();
    for (const std::string_view word : {std::string_view("true"), std::string_view("false")}) {
        if (next == word.front() && text_.substr(at_, word.size()) == word) {
            at_ += word.size();
            return next == 't';
        }
    }
    fail();
    return std::nullopt;
}

std::size_t JSONCursor::numberLength(bool* whole) const {
    std::size_t at = at_;
    const auto digitsFrom = [&](std::size_t from) {
        while (at < text_.size() && isDigit(text_[at])) ++at;
        return at > from;
    };
    if (at < text_.size() && text_[at] == '-') ++at;
    if (at < text_.size() && text_[at] == '0') {
        ++at;
    } else if (!digitsFrom(at)) {
        return 0;
    }
    *whole = true;
    if (at < text_.size() && text_[at] == '.') {
        *whole = false;
        if (!digitsFrom(++at)) return 0;
    }
    if (at < text_.size() && (text_[at] == 'e' || text_[at] == 'E')) {
        *whole = false;
        ++at;
        if (at < text_.size() && (text_[at] == '+' || text_[at] == '-')) ++at;
        if (!digitsFrom(at)) return 0;
    }
    return at - at_;
}

bool JSONCursor::nextIsInteger() {
    bool whole = false;
    peek();
    return !failed_ && numberLength(&whole) > 0 && whole;
}

std::optional<std::int64_t> JSONCursor::wholeNumber() {
    bool whole = false;
    peek();
    const std::size_t length = failed_ ? 0 : numberLength(&whole);
    std::int64_t value = 0;
    const char* first = text_.data() + at_;
    if (length == 0 || !whole || std::from_chars(first, first + length, value).ec != std::errc()) {
        fail();
        return std::nullopt;
    }
    at_ += length;
    return value;
}

std::optional<double> JSONCursor::real() {
    if (nextIsInteger()) {
        const auto whole = wholeNumber();
        if (!whole) fail();
        return whole ? std::optional(static_cast<double>(*whole)) : std::nullopt;
    }
    bool whole = false;
    const std::size_t length = failed_ ? 0 : numberLength(&whole);
    double value = 0;
    const char* first = text_.data() + at_;
    // Out of range either way (an overflow or an underflow) is the parser's to judge.
    const auto read = std::from_chars(first, first + length, value);
    if (length == 0 || read.ec != std::errc() || read.ptr != first + length) {
        fail();
        return std::nullopt;
    }
    at_ += length;
    return value;
}

bool JSONCursor::atEnd() {
    skipWhitespace();
    return !failed_ && depth_ == 0 && at_ == text_.size();
}

namespace {

std::optional<PropertyValue> readNumber(JSONCursor& in) {
    if (in.nextIsInteger()) {
        const auto whole = in.integer();
        return whole ? std::optional<PropertyValue>(*whole) : std::nullopt;
    }
    const auto real = in.real();
    if (!real) return std::nullopt;
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (*real == std::trunc(*real) && *real >= -kLimit && *real < kLimit) {
        return PropertyValue(static_cast<std::int64_t>(*real));
    }
    return PropertyValue(*real);
}

}  // namespace

bool withinParserLimit(std::string_view text) {
    return text.size() <= JSONText::maxSize;
}

std::optional<PropertyValue> readPropertyValue(JSONCursor& in) {
    switch (in.peek()) {
        case '{': {
            PropertyDictionary dictionary;
            in.beginObject();
            while (const auto key = in.nextKey()) {
                auto value = readPropertyValue(in);
                if (!value) return std::nullopt;
                dictionary.insert_or_assign(std::string(*key), std::move(*value));
            }
            if (in.failed()) return std::nullopt;
            return PropertyValue(std::move(dictionary));
        }
        case '[': {
            PropertyArray array;
            in.beginArray();
            while (in.nextItem()) {
                auto value = readPropertyValue(in);
                if (!value) return std::nullopt;
                array.push_back(std::move(*value));
            }
            if (in.failed()) return std::nullopt;
            return PropertyValue(std::move(array));
        }
        case '"': {
            const auto text = in.string();
            return text ? std::optional<PropertyValue>(std::string(*text)) : std::nullopt;
        }
        case 't':
        case 'f': {
            const auto flag = in.boolean();
            return flag ? std::optional<PropertyValue>(*flag) : std::nullopt;
        }
        case 'n':
            return in.fail();
        default:
            return readNumber(in);
    }
}

}  // namespace zelvana::platform
