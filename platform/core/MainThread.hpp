#pragma once

#include <source_location>

namespace zelvana::platform {

// Stops the program when a main-thread-only entry point is called from another thread.
// Active in debug and sanitizer builds; free elsewhere.
#if !defined(NDEBUG) || defined(ZELVANA_CHECKS)
void assertMainThread(std::source_location where = std::source_location::current());
#else
inline void assertMainThread() {}
#endif

// A placeholder for something not built: stops the program with where it was reached,
// in every build, so it can never pass for something that works.
[[noreturn]] void notBuilt(const char* what,
                           std::source_location where = std::source_location::current());

}  // namespace zelvana::platform
