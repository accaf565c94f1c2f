#pragma once

#include <gtest/gtest.h>

#include "platform/dispatch/Clock.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform::testing {

// A test on a fresh simulated desktop and virtual time, HOME in a temporary
// folder: display 1 (1920 x 1080 at the origin, spaces 1 and 2) and display 2
// to its right (1280 x 1024, space 3). The desktop is reset again at the end.
// Main thread.
class TwoDisplayTest : public ::testing::Test {
protected:
    TwoDisplayTest();
    ~TwoDisplayTest() override;

    TemporaryFolders folders;
    VirtualClock clock;
    Desktop& desktop = Desktop::shared();
};

}  // namespace zelvana::platform::testing
