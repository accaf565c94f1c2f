#pragma once

#include <optional>
#include <string>

#include "Logging/CallSite.hpp"
#include "Logging/Level.hpp"
#include "settings/StringDefault.hpp"

namespace zelvana::core {

// A setting stored as JSON text whose stored value does not read back.
struct UnreadableSetting {
    // The file its text is kept in; none when it could not be kept, as
    // `error` says.
    std::optional<std::string> keptIn;
    std::string error;
};

// Before anything replaces a stored value that does not read back, keeps its
// text (or, when it was stored as something other than text, its property
// list) in <Application Support>/zelvana/<key>.corrupt-<seconds since
// 1970>.json (or .plist), beside the saved desktop. None when the value reads
// back (`decodes`), or the setting holds nothing, empty text or "null".
std::optional<UnreadableSetting> keepUnreadableAside(const settings::StringDefault& setting,
                                                     bool decodes);

// Logged, and said on standard error as a corrupt preferences file is: what
// the person stored is at stake.
void tellThePerson(logging::Level level, const std::string& message, logging::CallSite site = {});

}  // namespace zelvana::core
