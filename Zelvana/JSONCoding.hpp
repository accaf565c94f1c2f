#pragma once

#include <cmath>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "platform/appkit/Rect.hpp"
#include "platform/foundation/Date.hpp"
#include "platform/foundation/JSONText.hpp"

// Strict reading and writing of the stored records' JSON members. Readers
// throw std::invalid_argument for a missing member, a value of the wrong type
// or a number out of range, as nlohmann's own conversions throw; the settings
// that hold the records catch it and read the value as absent. Messages name
// the member and the type found, never the value: a stored value may be huge
// or nested without end.
namespace zelvana::core::coding {

using Json = nlohmann::json;

const Json& member(const Json& object, const char* key);
// Null when the member is absent or null.
const Json* optionalMember(const Json& object, const char* key);

// Reads the member `key` with `read`; a failure names the member.
template <typename Read>
auto required(const Json& object, const char* key, Read read) -> decltype(read(object)) {
    const Json& value = member(object, key);
    try {
        return read(value);
    } catch (const std::exception& failure) {
        throw std::invalid_argument(std::string("\"") + key + "\": " + failure.what());
    }
}

// Sets `field` from the member `key` when it is present and not null.
template <typename Value, typename Read>
void optional(const Json& object, const char* key, std::optional<Value>& field, Read read) {
    if (optionalMember(object, key)) field = required(object, key, read);
}

bool boolean(const Json& value);
double number(const Json& value);
std::string text(const Json& value);

// A whole number that fits T; an integral floating-point value counts.
template <std::integral T>
T integer(const Json& value) {
    if (!value.is_number()) {
        throw std::invalid_argument(std::string("expected a whole number, found ") +
                                    value.type_name());
    }
    const auto number = platform::JSONText::integer<T>(value);
    if (!number) throw std::invalid_argument("a whole number out of range");
    return *number;
}

// [[x, y], [width, height]]
Json encodeRect(const platform::Rect& rect);
platform::Rect decodeRect(const Json& value);

// Seconds since 2001-01-01 00:00:00 UTC.
Json encodeDate(platform::Date date);
platform::Date decodeDate(const Json& value);

// A map keyed by display number, as one flat array alternating key and value.
template <typename Value>
Json encodeAlternating(const std::map<std::uint32_t, Value>& map) {
    Json array = Json::array();
    for (const auto& [key, value] : map) {
        array.push_back(key);
        array.push_back(Json(value));
    }
    return array;
}

template <typename Value>
std::map<std::uint32_t, Value> decodeAlternating(const Json& array) {
    if (!array.is_array()) throw std::invalid_argument("expected an array of keys and values");
    if (array.size() % 2 != 0) throw std::invalid_argument("a key has no value");
    std::map<std::uint32_t, Value> map;
    for (std::size_t index = 0; index < array.size(); index += 2) {
        map[integer<std::uint32_t>(array[index])] = array[index + 1].template get<Value>();
    }
    return map;
}

}  // namespace zelvana::core::coding
