#include "Tools/TimeoutCache.hpp"

#include <cmath>

#include "platform/dispatch/Clock.hpp"

namespace zelvana::tools {

std::uint64_t uptimeMilliseconds() {
    // Whole nanoseconds first, so a virtual clock's 0.1 s reads as 100 ms.
    const double seconds = platform::clock().uptime();
    if (!(seconds > 0)) return 0;
    return static_cast<std::uint64_t>(std::llround(seconds * 1e9)) / 1000000;
}

}  // namespace zelvana::tools
