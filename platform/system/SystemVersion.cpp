#include "platform/system/SystemVersion.hpp"

#include <atomic>

namespace zelvana::platform {

namespace {
std::atomic<int> gMajorVersion{SystemVersion::defaultMajorVersion};
}  // namespace

int SystemVersion::majorVersion() {
    return gMajorVersion;
}

void SystemVersion::setMajorVersion(int major) {
    gMajorVersion = major;
}

}  // namespace zelvana::platform
