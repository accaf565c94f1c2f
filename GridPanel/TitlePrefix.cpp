#include "GridPanel/TitlePrefix.hpp"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <memory>
#include <vector>

namespace zelvana::gridpanel {
namespace {

// The first `limit` user-perceived characters of the text, each in composed form.
std::vector<icu::UnicodeString> characters(const icu::UnicodeString& text, std::size_t limit) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> breaks(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) return {};
    breaks->setText(text);
    std::vector<icu::UnicodeString> result;
    for (int32_t start = breaks->first(), end = breaks->next();
         end != icu::BreakIterator::DONE && result.size() < limit;
         start = end, end = breaks->next()) {
        UErrorCode normalised = U_ZERO_ERROR;
        result.push_back(nfc->normalize(text.tempSubStringBetween(start, end), normalised));
    }
    return result;
}

// Case folded after decomposing, so that a title typed either way folds alike.
icu::UnicodeString folded(std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    icu::UnicodeString result = icu::UnicodeString::fromUTF8(text);
    if (U_SUCCESS(status)) result = nfd->normalize(result, status);
    return result.foldCase();
}

}  // namespace

std::string lowercased(std::string_view text) {
    std::string result;
    icu::UnicodeString::fromUTF8(text).toLower(icu::Locale::getRoot()).toUTF8String(result);
    return result;
}

bool titleHasPrefix(const std::optional<std::string>& title, std::string_view prefix) {
    if (!title) return false;
    if (prefix.empty()) return true;
    const icu::UnicodeString foldedPrefix = folded(prefix);
    const auto prefixCharacters =
        characters(foldedPrefix, static_cast<std::size_t>(foldedPrefix.length()));
    const auto titleCharacters = characters(folded(*title), prefixCharacters.size());
    if (prefixCharacters.size() > titleCharacters.size()) return false;
    for (std::size_t i = 0; i < prefixCharacters.size(); ++i) {
        if (titleCharacters[i] != prefixCharacters[i]) return false;
    }
    return true;
}

}  // namespace zelvana::gridpanel
