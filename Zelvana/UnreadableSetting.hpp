#pragma once

#include <string_view>

#include "settings/StringDefault.hpp"

namespace zelvana::core {

// How the person hears of a stored value that does not read back:
// "<subject> cannot be read; <possessive> text is kept in <file>", or, when
// it cannot be kept, "<subject> cannot be read nor kept aside (<why>), so
// <ifNotKept>".
struct UnreadableWording {
    std::string_view subject;
    std::string_view possessive;
    std::string_view ifNotKept;
};

// Called once a setting stored as JSON text is found not to read back, before
// anything replaces it: keeps its text, or, when it was stored as something
// other than text, its whole property list (binary when XML cannot carry it),
// in <Application Support>/zelvana/<key>.corrupt-<seconds since 1970>.json
// (or .plist), beside the saved desktop, and tells the person. Whether the
// stored value may now be replaced: false only when it could not be kept. A
// setting holding nothing, empty text or "null" has nothing to keep.
bool keepUnreadableAside(const settings::StringDefault& setting, const UnreadableWording& wording);

}  // namespace zelvana::core
