#pragma once

#include "Tools/WindowUtil.hpp"
#include "platform/testing/TwoDisplayTest.hpp"

namespace zelvana::tools::test {

// The two-display desktop on virtual time, with empty window-list caches.
class DesktopTestCase : public platform::testing::TwoDisplayTest {
protected:
    DesktopTestCase() { WindowUtil::resetCachesForTesting(); }
    ~DesktopTestCase() override { WindowUtil::resetCachesForTesting(); }
};

}  // namespace zelvana::tools::test
