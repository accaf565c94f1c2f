#pragma once

namespace zelvana::platform {

// The major version of the system the program believes it runs on, so code
// can take the branch for that version. 14 unless set. (Not named `major`:
// the C library has a macro of that name.)
class SystemVersion {
public:
    static int majorVersion();
    static void setMajorVersion(int major);
    static bool isAtLeast(int major) { return majorVersion() >= major; }
    static void resetForTesting() { setMajorVersion(defaultMajorVersion); }

    static constexpr int defaultMajorVersion = 14;
};

}  // namespace zelvana::platform
