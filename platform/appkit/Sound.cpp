#include "platform/appkit/Sound.hpp"

#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

int beeps = 0;

}  // namespace

void Sound::beep() {
    assertMainThread();
    ++beeps;
}

int Sound::beepCount() {
    return beeps;
}

void Sound::resetForTesting() {
    beeps = 0;
}

}  // namespace zelvana::platform
