#pragma once

#include <any>
#include <optional>
#include <string>

namespace zelvana::core {

// The application's own notifications on the default centre, so the part that
// notices an event needs no reference to the part that reacts. None carries
// user information.
namespace AppNotification {
// Object: the identifier of the space the grid panel activated, when it has one.
inline constexpr const char* spaceSelected = "spaceSelected";
// The status menu is about to open; no object.
inline constexpr const char* statusMenuWillOpen = "statusMenuWillOpen";
// The main screen changed; no object, always posted on the main thread.
inline constexpr const char* mainScreenChanged = "mainScreenChanged";
// The spaces preference file was read again; object: the PlistAllSpaces read.
inline constexpr const char* plistUpdated = "plistUpdated";
}  // namespace AppNotification

// Posts synchronously on the default centre, on the caller's thread. Text is
// passed on as std::string, whichever form it came in.
void postAppNotification(const std::string& name, std::any object = {});
void postAppNotification(const std::string& name, const char* text);

// An absent value posts without an object.
template <typename T>
void postAppNotification(const std::string& name, const std::optional<T>& object) {
    if (object) return postAppNotification(name, std::any(*object));
    postAppNotification(name);
}

}  // namespace zelvana::core
