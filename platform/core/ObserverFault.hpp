#pragma once

#include <string>

namespace zelvana::platform {

// Called in the catch block around an observer (of a notification, an event tap, a user
// default) that threw. In debug and sanitizer builds the program stops, naming the observer and
// what it threw, so the fault shows where it happened; elsewhere the same line is logged and
// the caller carries on.
void observerThrew(const std::string& observer);

}  // namespace zelvana::platform
