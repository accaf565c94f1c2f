#include "platform/testing/TwoDisplayTest.hpp"

namespace zelvana::platform::testing {

TwoDisplayTest::TwoDisplayTest() {
    desktop.resetForTesting();
    auto first = Display::make(1, Rect::make(0, 0, 1920, 1080), "One");
    first.spaces = {1, 2};
    auto second = Display::make(2, Rect::make(1920, 0, 1280, 1024), "Two", 0, 1);
    second.spaces = {3};
    desktop.addDisplay(first);
    desktop.addDisplay(second);
}

TwoDisplayTest::~TwoDisplayTest() {
    desktop.resetForTesting();
}

}  // namespace zelvana::platform::testing
