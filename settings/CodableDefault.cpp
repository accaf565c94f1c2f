#include "settings/CodableDefault.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

#include <nlohmann/json.hpp>

namespace zelvana::settings {

namespace {

using nlohmann::json;

// A member that is missing or null is absent; one of the wrong kind spoils
// the whole record, as a strict decoder would have it.
template <typename Value, typename Accepts>
bool readMember(const json& object, const char* name, Accepts accepts,
                std::optional<Value>& field) {
    auto found = object.find(name);
    if (found == object.end() || found->is_null()) return true;
    if (!accepts(*found)) return false;
    field = found->template get<Value>();
    return true;
}

bool isNumber(const json& value) {
    return value.is_number();
}

// A float beyond the float range would read as infinity, which no snapshot
// can hold again.
bool isFloat(const json& value) {
    return value.is_number() && std::abs(value.get<double>()) <= std::numeric_limits<float>::max();
}

bool isInteger(const json& value) {
    return value.is_number_integer() &&
           (!value.is_number_unsigned() ||
            value.get<std::uint64_t>() <=
                static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()));
}

}  // namespace

json CodableDefault::toJSON() const {
    json object = json::object();
    if (boolValue) object["bool"] = *boolValue;
    if (intValue) object["int"] = *intValue;
    if (floatValue) object["float"] = *floatValue;
    if (doubleValue) object["double"] = *doubleValue;
    if (stringValue) object["string"] = *stringValue;
    if (dateValue) object["date"] = dateValue->sinceReferenceDate;
    return object;
}

std::optional<CodableDefault> CodableDefault::fromJSON(const json& object) {
    if (!object.is_object()) return std::nullopt;
    CodableDefault codable;
    std::optional<double> seconds;
    const bool ok =
        readMember(
            object, "bool", [](const json& v) { return v.is_boolean(); }, codable.boolValue) &&
        readMember(object, "int", isInteger, codable.intValue) &&
        readMember(object, "float", isFloat, codable.floatValue) &&
        readMember(object, "double", isNumber, codable.doubleValue) &&
        readMember(
            object, "string", [](const json& v) { return v.is_string(); }, codable.stringValue) &&
        readMember(object, "date", isNumber, seconds);
    if (!ok) return std::nullopt;
    if (seconds) {
        codable.dateValue = platform::Date{*seconds};
        if (!codable.dateValue->hasFourDigitYear()) return std::nullopt;
    }
    return codable;
}

}  // namespace zelvana::settings
