#include "platform/core/MainThread.hpp"

#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace zelvana::platform {

#if !defined(NDEBUG) || defined(ZELVANA_CHECKS)
void assertMainThread(std::source_location where) {
    if (::syscall(SYS_gettid) == ::getpid()) return;
    std::fprintf(stderr, "%s:%u: %s must run on the main thread\n", where.file_name(),
                 static_cast<unsigned>(where.line()), where.function_name());
    std::abort();
}
#endif

void notBuilt(const char* what, std::source_location where) {
    std::fprintf(stderr, "%s:%u: %s: %s is not built\n", where.file_name(),
                 static_cast<unsigned>(where.line()), where.function_name(), what);
    std::abort();
}

}  // namespace zelvana::platform
