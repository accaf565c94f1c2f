#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

// Reads JSON text of a known shape value by value, without building a tree.
// It takes a plain subset of JSON and fails on everything else: strings with
// escapes, a byte-order mark, numbers it cannot read exactly as the parser
// does, nesting beyond a few levels. A caller whose read fails reads the text
// the general way (JSONText::parse), so on every text the cursor does read the
// two agree, and the cursor never has to follow the parser into the corners
// of the grammar. Reads a text the caller keeps alive; one thread.
class JSONCursor {
public:
    static constexpr std::size_t maxDepth = 16;

    explicit JSONCursor(std::string_view text) : text_(text) {}

    // Set by the first read that meets something other than it asks for;
    // every read after it fails as well.
    bool failed() const { return failed_; }
    // Fails the cursor from outside: for a reader that finds a value of the
    // right kinds that it still cannot take, such as an object without a
    // member it needs, so that whoever reads around it gives up too.
    std::nullopt_t fail() {
        failed_ = true;
        return std::nullopt;
    }

    bool beginArray() { return open('[', Container::array); }
    bool beginObject() { return open('{', Container::object); }
    // Inside the innermost array: true when another item follows; false at
    // the array's end, which it steps past, or on a failure.
    bool nextItem();
    // Inside the innermost object: the next member's name, its colon read;
    // none at the object's end, which it steps past, or on a failure.
    std::optional<std::string_view> nextKey();
    // The same for an object whose members are among `names` (at most 32),
    // each at most once: the index of the next member's name. A name not
    // among them, or met twice, fails.
    std::optional<std::size_t> nextMember(std::span<const std::string_view> names);

    // The first character of the next value: '{', '[', '"', 't', 'f', 'n',
    // '-' or a digit; '\0' at the end of the text.
    char peek();
    std::optional<std::string_view> string();
    std::optional<bool> boolean();
    // Whether the next value is a number written without fraction or exponent.
    bool nextIsInteger();
    // A number written without fraction or exponent that T holds.
    template <std::integral T = std::int64_t>
    std::optional<T> integer() {
        const auto whole = wholeNumber();
        if (whole && std::in_range<T>(*whole)) return static_cast<T>(*whole);
        fail();
        return std::nullopt;
    }
    // Any number, as the parser gives it as a double: one written as a whole
    // number is converted from its 64-bit integer.
    std::optional<double> real();

    // Only white space is left.
    bool atEnd();

private:
    enum class Container : std::uint8_t { array, object };
    struct Level {
        Container container;
        bool first;
        // The members met so far, by their index among the names asked for.
        std::uint32_t met;
    };

    void skipWhitespace();
    std::optional<std::int64_t> wholeNumber();
    bool open(char bracket, Container container);
    enum class Next : std::uint8_t { item, end, failure };
    // What follows inside the innermost container, which must be a
    // `container`: its closing bracket, stepped past, or an item, the comma
    // before any item but the first read.
    Next next(Container container, char bracket);
    // The length of the number at the cursor, its grammar checked; 0 when
    // there is none.
    std::size_t numberLength(bool* whole) const;

    std::string_view text_;
    std::size_t at_ = 0;
    std::array<Level, maxDepth> levels_{};
    std::size_t depth_ = 0;
    bool failed_ = false;
};

// An array whose items `read` reads one by one, each an optional that is
// none, with the cursor failed, where the item cannot be read.
template <typename Read>
auto readArray(JSONCursor& in, Read read)
    -> std::optional<std::vector<typename std::invoke_result_t<Read&, JSONCursor&>::value_type>> {
    std::vector<typename std::invoke_result_t<Read&, JSONCursor&>::value_type> items;
    if (!in.beginArray()) return std::nullopt;
    while (in.nextItem()) {
        auto item = read(in);
        if (!item) return in.fail();
        items.push_back(std::move(*item));
    }
    if (in.failed()) return std::nullopt;
    return items;
}

// Whether the parser would take a text this long at all.
bool withinParserLimit(std::string_view text);

// A whole text that is one such array and nothing after it; none where the
// text is too large for the parser or not in the plain form the cursor reads,
// for the parser to decide.
template <typename Read>
auto readWholeArray(std::string_view text, Read read)
    -> decltype(readArray(std::declval<JSONCursor&>(), read)) {
    if (!withinParserLimit(text)) return std::nullopt;
    JSONCursor in(text);
    auto items = readArray(in, read);
    return items && in.atEnd() ? items : std::nullopt;
}

// The next value as JSONSerialization::parse makes it: whole numbers, and
// reals that are whole and within 64 bits, as integers; a repeated member
// keeping its last value. Null has no property-list form and fails.
std::optional<PropertyValue> readPropertyValue(JSONCursor& in);

}  // namespace zelvana::platform
