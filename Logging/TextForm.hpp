#pragma once

#include <charconv>
#include <concepts>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>

namespace zelvana::logging {

template <typename T>
concept Streamable = requires(std::ostream& out, const T& value) {
    out << value;
};

template <typename T>
concept Printable =
    std::is_arithmetic_v<T> || std::convertible_to<const T&, std::string_view> || Streamable<T>;

// Shortest text that reads back as the same number.
template <std::floating_point T>
std::string shortestText(T value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

inline std::string textForm(std::string&& text) {
    return std::move(text);
}

// The plain textual form of a message value: text as it is, Booleans as
// "true"/"false", numbers in decimal, anything else through operator<<.
template <Printable T>
std::string textForm(const T& value) {
    if constexpr (std::is_pointer_v<T> && std::convertible_to<const T&, std::string_view>) {
        return value ? std::string(value) : std::string();
    } else if constexpr (std::convertible_to<const T&, std::string_view>) {
        return std::string(std::string_view(value));
    } else if constexpr (std::same_as<T, bool>) {
        return value ? "true" : "false";
    } else if constexpr (std::same_as<T, char>) {
        return std::string(1, value);
    } else if constexpr (std::integral<T>) {
        return std::to_string(value);
    } else if constexpr (std::floating_point<T>) {
        return shortestText(value);
    } else {
        std::ostringstream out;
        out << value;
        return std::move(out).str();
    }
}

}  // namespace zelvana::logging
