#pragma once

#include <cmath>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include <nlohmann/json.hpp>

namespace zelvana::platform {

// JSON read from storage, files or other processes, and JSON written to be
// read back. Reading refuses texts beyond a size and a nesting limit before
// parsing, so hostile input cannot exhaust the stack or memory; writing
// refuses numbers that JSON cannot hold, which would otherwise come out as
// null and spoil the whole text at its next reading.
namespace JSONText {
// A few hundred levels: far beyond any record we store.
inline constexpr std::size_t maxDepth = 256;
inline constexpr std::size_t maxSize = 16 * 1024 * 1024;

// A whole number that fits T; an integral floating-point value counts.
// Absent for anything else, rather than a cast that wraps or is undefined.
template <std::integral T>
std::optional<T> integer(const nlohmann::json& value) {
    if (value.is_number_unsigned()) {
        const auto whole = value.get<std::uint64_t>();
        if (std::in_range<T>(whole)) return static_cast<T>(whole);
    } else if (value.is_number_integer()) {
        const auto whole = value.get<std::int64_t>();
        if (std::in_range<T>(whole)) return static_cast<T>(whole);
    } else if (value.is_number_float()) {
        const double real = value.get<double>();
        const double limit = std::ldexp(1.0, std::numeric_limits<T>::digits);
        const double lowest = std::is_signed_v<T> ? -limit : 0.0;
        if (std::trunc(real) == real && real >= lowest && real < limit) {
            return static_cast<T>(real);
        }
    }
    return std::nullopt;
}

// Absent, with the reason in `error`, when the text is too large, nested too
// deeply or not JSON. The reason never quotes the text.
std::optional<nlohmann::json> parse(std::string_view text, std::string* error = nullptr);
// False, with the reason in `error`, for a text too large, nested too
// deeply or holding a NUL byte: the checks parse makes before it starts.
bool isParsable(std::string_view text, std::string* error = nullptr);
// Compact text, or indented by `indent` spaces; absent, with the reason in
// `error`, when a number is not finite or a string is not UTF-8.
std::optional<std::string> dump(const nlohmann::json& value, int indent = -1,
                                std::string* error = nullptr);

// Text written as the values come, the same text dump() gives for them,
// without first building them as one large tree. A number that is not finite
// or a string that is not UTF-8 comes out as null, as dump() writes the one
// and refuses the other, and fails the text.
class Writer {
public:
    // Compact, or one item a line indented by `indent` spaces a level.
    explicit Writer(int indent = -1) : indent_(indent) {}

    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    // The member name; its value follows.
    void key(std::string_view name);
    void value(bool flag);
    template <std::integral Number>
    requires(!std::same_as<Number, bool>) void value(Number number) {
        beginItem();
        text_ += std::to_string(number);
        needsComma_ = true;
    }
    void value(double number);
    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    template <typename Value>
    void member(std::string_view name, const Value& item) {
        key(name);
        value(item);
    }
    // Compact text already written by another Writer or by dump().
    void raw(std::string_view json);

    // A value had no JSON form.
    bool failed() const { return failed_; }
    std::string take();

private:
    void beginItem();
    void open(char bracket);
    void close(char bracket);
    void quoted(std::string_view text);
    void null();

    int indent_;
    std::string text_;
    int depth_ = 0;
    bool needsComma_ = false;
    bool afterKey_ = false;
    bool failed_ = false;
};
}  // namespace JSONText

}  // namespace zelvana::platform
