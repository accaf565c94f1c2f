#pragma once

#include <any>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace zelvana::logging {

// Text for "$X": text as it is, numbers in decimal, Booleans as "true" or
// "false", any other value as the name of its type.
std::string contextDescription(const std::any& context);

// The context as a JSON value; only text, numbers and Booleans have one.
std::optional<nlohmann::json> contextJson(const std::any& context);

}  // namespace zelvana::logging
