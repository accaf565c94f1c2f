#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "platform/foundation/PropertyList.hpp"

// What every fuzz target shares: a failed property aborts, so libFuzzer keeps
// the input, and values compare with NaN equal to itself, since a stored NaN
// read back is still the same value.
namespace zelvana::fuzz {

inline void require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property failed: %s\n", property);
    std::abort();
}

inline std::string text(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

inline bool sameReal(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

inline bool sameValue(const platform::PropertyValue& a, const platform::PropertyValue& b) {
    if (a.storage().index() != b.storage().index()) return false;
    if (const double* real = a.realValue()) return sameReal(*real, *b.realValue());
    if (const platform::Date* date = a.dateValue()) {
        return sameReal(date->sinceReferenceDate, b.dateValue()->sinceReferenceDate);
    }
    if (const auto* array = a.arrayValue()) {
        const auto& other = *b.arrayValue();
        if (array->size() != other.size()) return false;
        for (std::size_t index = 0; index < array->size(); ++index) {
            if (!sameValue((*array)[index], other[index])) return false;
        }
        return true;
    }
    if (const auto* dictionary = a.dictionaryValue()) {
        const auto& other = *b.dictionaryValue();
        if (dictionary->size() != other.size()) return false;
        for (auto mine = dictionary->begin(), theirs = other.begin(); mine != dictionary->end();
             ++mine, ++theirs) {
            if (mine->first != theirs->first || !sameValue(mine->second, theirs->second)) {
                return false;
            }
        }
        return true;
    }
    return a == b;
}

// Points the XDG folders at a fresh temporary folder, so that files a target
// writes never touch the user's own.
void useTemporaryHome();

}  // namespace zelvana::fuzz
