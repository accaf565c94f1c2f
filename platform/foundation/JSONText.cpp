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

bool isParsable(std::string_view text, std::string* error) {
    if (text.size() > maxSize) {
        refuse(error, "JSON text of " + std::to_string(text.size()) + " bytes is larger than " +
                          std::to_string(maxSize));
        return false;
    }
    if (nestingDepth(text, maxDepth) > maxDepth) {
        refuse(error, "JSON nested deeper than " + std::to_string(maxDepth) + " levels");
        return false;
    }
    // The parser takes a NUL byte for the end of the text and would ignore
    // what follows; JSON holds none, not even inside a string.
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) {
        refuse(error, "not valid JSON (at byte " + std::to_string(nul + 1) + ")");
        return false;
    }
    return true;
}

std::optional<nlohmann::json> parse(std::string_view text, std::string* error) {
    if (!isParsable(text, error)) return std::nullopt;
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

void Writer::beginItem() {
    if (std::exchange(afterKey_, false)) return;
    if (needsComma_) text_ += ',';
    if (indent_ >= 0 && depth_ > 0) {
        text_ += '\n';
        text_.append(static_cast<std::size_t>(indent_ * depth_), ' ');
    }
}

void Writer::open(char bracket) {
    beginItem();
    text_ += bracket;
    ++depth_;
    needsComma_ = false;
}

void Writer::close(char bracket) {
    --depth_;
    // An empty array or object stays on its line.
    if (indent_ >= 0 && needsComma_) {
        text_ += '\n';
        text_.append(static_cast<std::size_t>(indent_ * depth_), ' ');
    }
    text_ += bracket;
    needsComma_ = true;
}

void Writer::key(std::string_view name) {
    beginItem();
    quoted(name);
    text_ += indent_ >= 0 ? ": " : ":";
    afterKey_ = true;
}

void Writer::value(bool flag) {
    beginItem();
    text_ += flag ? "true" : "false";
    needsComma_ = true;
}

void Writer::value(double number) {
    beginItem();
    needsComma_ = true;
    if (!std::isfinite(number)) return null();
    // Whole numbers, the most common by far (frames), as dump() writes them:
    // "1200.0", and in exponent form only from 1e15 on.
    if (number == std::trunc(number) && std::abs(number) < 1e15 &&
        !(number == 0 && std::signbit(number))) {
        text_ += std::to_string(static_cast<std::int64_t>(number));
        text_ += ".0";
        return;
    }
    // The shortest text that reads back the same, as dump() writes it.
    text_ += nlohmann::json(number).dump();
}

void Writer::value(std::string_view text) {
    beginItem();
    needsComma_ = true;
    quoted(text);
}

void Writer::raw(std::string_view json) {
    beginItem();
    needsComma_ = true;
    text_ += json;
}

void Writer::quoted(std::string_view text) {
    const bool plain = std::ranges::all_of(
        text, [](char c) { return c >= 0x20 && c < 0x7F && c != '"' && c != '\\'; });
    if (plain) {
        text_ += '"';
        text_ += text;
        text_ += '"';
        return;
    }
    // Escapes and the UTF-8 check as dump() makes them.
    try {
        text_ += nlohmann::json(std::string(text)).dump();
    } catch (const std::exception&) {
        null();
    }
}

void Writer::null() {
    text_ += "null";
    failed_ = true;
}

std::string Writer::take() {
    depth_ = 0;
    needsComma_ = afterKey_ = failed_ = false;
    return std::exchange(text_, {});
}

}  // namespace zelvana::platform::JSONText
