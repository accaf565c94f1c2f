#include "platform/foundation/JSONText.hpp"

#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

namespace zelvana::platform::JSONText {

namespace {

std::nullopt_t refuse(std::string* error, std::string reason) {
    if (error) *error = std::move(reason);
    return std::nullopt;
}

// The deepest nesting of brackets outside strings; stops counting past `limit`.
std::size_t nestingDepth(std::string_view text, std::size_t limit) {
    std::size_t depth = 0, deepest = 0;
    bool inString = false, escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
            if (deepest > limit) return deepest;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return deepest;
}

// Walks without recursion, as the value may come from anywhere.
bool hasNonFiniteNumber(const nlohmann::json& root) {
    std::vector<const nlohmann::json*> pending{&root};
    while (!pending.empty()) {
        const auto* value = pending.back();
        pending.pop_back();
        if (value->is_number_float() && !std::isfinite(value->get<double>())) return true;
        if (value->is_structured()) {
            for (const auto& item : *value) pending.push_back(&item);
        }
    }
    return false;
}

}  // namespace

std::optional<nlohmann::json> parse(std::string_view text, std::string* error) {
    if (text.size() > maxSize) {
        return refuse(error, "JSON text of " + std::to_string(text.size()) +
                                 " bytes is larger than " + std::to_string(maxSize));
    }
    if (nestingDepth(text, maxDepth) > maxDepth) {
        return refuse(error, "JSON nested deeper than " + std::to_string(maxDepth) + " levels");
    }
    try {
        return nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& failure) {
        return refuse(error, "not valid JSON (at byte " + std::to_string(failure.byte) + ")");
    } catch (const std::exception&) {
        return refuse(error, "not valid JSON");
    }
}

std::optional<std::string> dump(const nlohmann::json& value, int indent, std::string* error) {
    if (hasNonFiniteNumber(value)) return refuse(error, "a number is not finite");
    try {
        return value.dump(indent);
    } catch (const std::exception&) {
        return refuse(error, "a string is not UTF-8");
    }
}

}  // namespace zelvana::platform::JSONText
