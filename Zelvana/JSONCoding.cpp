#include "Zelvana/JSONCoding.hpp"

namespace zelvana::core::coding {

namespace {

[[noreturn]] void wrongType(const char* expected, const Json& value) {
    throw std::invalid_argument(std::string("expected ") + expected + ", found " +
                                value.type_name());
}

// Whole values are written without a fraction, as [[-1920, 0], [1920, 1080]].
Json encodeNumber(double value) {
    const double limit = std::ldexp(1.0, 53);
    if (std::trunc(value) == value && std::abs(value) < limit) {
        return static_cast<std::int64_t>(value);
    }
    return value;
}

}  // namespace

const Json& member(const Json& object, const char* key) {
    if (!object.is_object()) wrongType("an object", object);
    const auto found = object.find(key);
    if (found == object.end())
        throw std::invalid_argument(std::string("no member \"") + key + "\"");
    return *found;
}

const Json* optionalMember(const Json& object, const char* key) {
    if (!object.is_object()) wrongType("an object", object);
    const auto found = object.find(key);
    if (found == object.end() || found->is_null()) return nullptr;
    return &*found;
}

bool boolean(const Json& value) {
    if (!value.is_boolean()) wrongType("true or false", value);
    return value.get<bool>();
}

double number(const Json& value) {
    if (!value.is_number()) wrongType("a number", value);
    return value.get<double>();
}

std::string text(const Json& value) {
    if (!value.is_string()) wrongType("a string", value);
    return value.get<std::string>();
}

Json encodeRect(const platform::Rect& rect) {
    return Json::array(
        {Json::array({encodeNumber(rect.origin.x), encodeNumber(rect.origin.y)}),
         Json::array({encodeNumber(rect.size.width), encodeNumber(rect.size.height)})});
}

platform::Rect decodeRect(const Json& value) {
    const auto pair = [](const Json& part) {
        if (!part.is_array() || part.size() != 2) wrongType("a pair of numbers", part);
        return std::pair{number(part[0]), number(part[1])};
    };
    if (!value.is_array() || value.size() != 2) wrongType("[[x, y], [width, height]]", value);
    const auto [x, y] = pair(value[0]);
    const auto [width, height] = pair(value[1]);
    return platform::Rect::make(x, y, width, height);
}

Json encodeDate(platform::Date date) {
    return encodeNumber(date.sinceReferenceDate);
}

platform::Date decodeDate(const Json& value) {
    return platform::Date{number(value)};
}

}  // namespace zelvana::core::coding
