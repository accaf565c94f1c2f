#pragma once

#include <exception>
#include <optional>
#include <string>

#include "fuzz/FuzzSupport.hpp"
#include "platform/foundation/JSONText.hpp"
#include "settings/JSONDefault.hpp"

namespace zelvana::fuzz {

template <typename T>
std::optional<T> decodeRecord(const std::string& text) {
    const auto json = platform::JSONText::parse(text);
    if (!json) return std::nullopt;
    try {
        return json->template get<T>();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// A setting stored as the JSON text of a T, read the way the setting reads
// it: a value that decodes is stored as a text that decodes to the same
// value, and storing that again gives the same text.
template <typename T>
void checkStoredRecord(const std::string& text) {
    const auto value = decodeRecord<T>(text);
    if (!value) return;
    const auto stored = settings::JSONDefault<T>::encode(value);
    require(stored.has_value(), "a decoded record has a stored text");
    const auto reread = decodeRecord<T>(*stored);
    require(reread.has_value(), "a stored record decodes");
    require(*reread == *value, "a stored record decodes to the same value");
    require(settings::JSONDefault<T>::encode(reread) == stored, "storing is a fixed point");
}

}  // namespace zelvana::fuzz
