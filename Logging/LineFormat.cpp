#include "Logging/LineFormat.hpp"

#include <algorithm>
#include <charconv>

namespace zelvana::logging {

namespace {

// Wider than any sensible line; a larger width counts as no width at all
// instead of asking for gigabytes of blanks.
constexpr std::int64_t kMaxWidth = 1'000'000;
constexpr std::string_view kTokens = "ILMTNnFlDdUZzCcX";

struct WidthPrefix {
    std::int64_t width = 0;
    std::size_t length = 0;
};

WidthPrefix readWidthPrefix(std::string_view phrase) {
    const bool negative = phrase.starts_with('-');
    const std::string_view digits = phrase.substr(negative ? 1 : 0);
    const std::size_t run = std::min(digits.find_first_not_of("0123456789"), digits.size());
    std::int64_t number = 0;
    const auto parsed = std::from_chars(digits.data(), digits.data() + run, number);
    if (run == 0 || parsed.ec != std::errc() || number > kMaxWidth) return {};
    return {negative ? -number : number, run + (negative ? 1 : 0)};
}

}  // namespace

LineFormat::LineFormat(std::string_view format) : format_(format) {
    // Text before the first "$" is the rest of an implied "$I".
    const std::string prefixed = "$I" + format_;
    std::string_view rest = prefixed;
    while (!rest.empty()) {
        const auto dollar = rest.find('$');
        const std::string_view phrase = rest.substr(0, dollar);
        if (!phrase.empty()) addPhrase(phrase);
        rest = dollar == std::string_view::npos ? std::string_view() : rest.substr(dollar + 1);
    }
}

void LineFormat::addPhrase(std::string_view phrase) {
    const WidthPrefix prefix = readWidthPrefix(phrase);
    Phrase compiled;
    // A width with nothing after it, or an unknown token, is copied whole.
    if (prefix.length >= phrase.size() || kTokens.find(phrase[prefix.length]) == kTokens.npos) {
        compiled.text = phrase;
    } else {
        compiled.token = phrase[prefix.length];
        compiled.width = prefix.width;
        compiled.text = phrase.substr(prefix.length + 1);
    }
    // These only carry the text after them.
    if (std::string_view("Idz").find(compiled.token) != std::string_view::npos) {
        compiled.token = '\0';
    }
    if (compiled.token == 'D' || compiled.token == 'Z') {
        // The rest is the date pattern, not text.
        compiled.date = std::make_unique<SecondDateCache>(std::move(compiled.text));
        compiled.text.clear();
        if (compiled.token == 'Z') {
            compiled.zone = platform::TimeZone::fromAbbreviation("UTC").value_or(
                platform::TimeZone::defaultZone());
        }
    }
    fixedBytes_ += compiled.text.size();
    // Plain text rides on the phrase before it: fewer phrases to walk per line.
    if (compiled.token == '\0' && !phrases_.empty()) {
        phrases_.back().text += compiled.text;
    } else if (compiled.token != '\0' || !compiled.text.empty()) {
        phrases_.push_back(std::move(compiled));
    }
}

}  // namespace zelvana::logging
