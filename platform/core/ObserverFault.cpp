#include "platform/core/ObserverFault.hpp"

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace zelvana::platform {

void observerThrew(const std::string& observer) {
    std::string line = "zelvana: " + observer + " threw";
    try {
        throw;
    } catch (const std::exception& error) {
        line += std::string(": ") + error.what();
    } catch (...) {
    }
    std::fprintf(stderr, "%s\n", line.c_str());
#if !defined(NDEBUG) || defined(ZELVANA_CHECKS)
    std::abort();
#endif
}

}  // namespace zelvana::platform
