#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/foundation/Date.hpp"

namespace zelvana::platform {

class PropertyValue;
using PropertyArray = std::vector<PropertyValue>;
using PropertyDictionary = std::map<std::string, PropertyValue>;
using Data = std::vector<std::uint8_t>;

// One property-list value: bool, integer, real, string, data, date, array or
// dictionary. A value type: copies are deep. An integer is signed 64-bit,
// except that one from 2^63 to 2^64 - 1 is held unsigned, as the system's
// property lists carry it.
class PropertyValue {
public:
    using Storage = std::variant<bool, std::int64_t, double, std::string, Data, Date, PropertyArray,
                                 PropertyDictionary, std::uint64_t>;

    PropertyValue() : storage_(PropertyDictionary{}) {}
    PropertyValue(bool v) : storage_(v) {}
    PropertyValue(int v) : storage_(std::int64_t{v}) {}
    PropertyValue(std::int64_t v) : storage_(v) {}
    PropertyValue(std::uint64_t v) : storage_(v) {
        if (std::in_range<std::int64_t>(v)) storage_ = static_cast<std::int64_t>(v);
    }
    PropertyValue(double v) : storage_(v) {}
    PropertyValue(const char* v) : storage_(std::string(v)) {}
    PropertyValue(std::string v) : storage_(std::move(v)) {}
    PropertyValue(Data v) : storage_(std::move(v)) {}
    PropertyValue(Date v) : storage_(v) {}
    PropertyValue(PropertyArray v) : storage_(std::move(v)) {}
    PropertyValue(PropertyDictionary v) : storage_(std::move(v)) {}

    const Storage& storage() const { return storage_; }

    bool isBool() const { return std::holds_alternative<bool>(storage_); }
    bool isInteger() const {
        return std::holds_alternative<std::int64_t>(storage_) ||
               std::holds_alternative<std::uint64_t>(storage_);
    }
    bool isReal() const { return std::holds_alternative<double>(storage_); }
    bool isNumber() const { return isInteger() || isReal(); }
    bool isString() const { return std::holds_alternative<std::string>(storage_); }
    bool isData() const { return std::holds_alternative<Data>(storage_); }
    bool isDate() const { return std::holds_alternative<Date>(storage_); }
    bool isArray() const { return std::holds_alternative<PropertyArray>(storage_); }
    bool isDictionary() const { return std::holds_alternative<PropertyDictionary>(storage_); }

    // Exact-type reads: absent when the value holds another type.
    const bool* boolValue() const { return std::get_if<bool>(&storage_); }
    const std::int64_t* integerValue() const { return std::get_if<std::int64_t>(&storage_); }
    // An integer from 2^63 to 2^64 - 1; every smaller one is an integerValue.
    const std::uint64_t* largeUnsignedValue() const {
        return std::get_if<std::uint64_t>(&storage_);
    }
    const double* realValue() const { return std::get_if<double>(&storage_); }
    const std::string* stringValue() const { return std::get_if<std::string>(&storage_); }
    const Data* dataValue() const { return std::get_if<Data>(&storage_); }
    const Date* dateValue() const { return std::get_if<Date>(&storage_); }
    const PropertyArray* arrayValue() const { return std::get_if<PropertyArray>(&storage_); }
    const PropertyDictionary* dictionaryValue() const {
        return std::get_if<PropertyDictionary>(&storage_);
    }

    // Numeric reads that convert between bool, integer and real, as the
    // defaults' typed getters do; absent for other types. An integer from
    // 2^63 up reads as the signed integer of the same 64 bits, as the
    // system's numbers give it.
    std::optional<double> asDouble() const;
    std::optional<std::int64_t> asInteger() const;

    // Member of a dictionary value; null when absent or not a dictionary.
    const PropertyValue* find(const std::string& key) const;

    bool operator==(const PropertyValue&) const = default;

private:
    Storage storage_;
};

}  // namespace zelvana::platform
