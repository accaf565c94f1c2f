#include "Zelvana/Driver/TrackpadUser.hpp"

#include <cstdint>

#include "platform/core/MainThread.hpp"
#include "platform/simulator/Trackpad.hpp"

namespace zelvana::driver {

namespace {

using platform::Point;

constexpr double kStepInterval = 0.05;
constexpr double kSwipeTravel = 0.3;
constexpr double kSteerTravel = 40;

platform::Trackpad& trackpad() {
    return platform::Trackpad::shared();
}

// Normalised, y up.
Point unitVector(Direction direction) {
    // A diagonal step covers the length along each axis.
    switch (direction) {
        case Direction::left:
            return {-1, 0};
        case Direction::right:
            return {1, 0};
        case Direction::up:
            return {0, 1};
        case Direction::down:
            return {0, -1};
        case Direction::upLeft:
            return {-1, 1};
        case Direction::upRight:
            return {1, 1};
        case Direction::downLeft:
            return {-1, -1};
        case Direction::downRight:
            return {1, -1};
    }
    return {};
}

void fingersDown(int fingers) {
    for (int finger = 0; finger < fingers; ++finger) {
        trackpad().touchDown(static_cast<std::uint64_t>(finger + 1), {0.3 + 0.1 * finger, 0.5});
    }
    trackpad().sendFrame();
}

void sendStationaryFrame() {
    trackpad().sendFrame();
}

}  // namespace

TrackpadUser::~TrackpadUser() {
    if (pending_) pending_->cancel();
}

Refusal TrackpadUser::refusalToStart() const {
    if (playing_) return "the fingers are still moving";
    if (trackpad().fingerCount() > 0) return "fingers rest on the trackpad; \"lift\" them first";
    return std::nullopt;
}

Refusal TrackpadUser::swipe(int fingers, Direction direction) {
    platform::assertMainThread();
    if (auto refusal = refusalToStart()) return refusal;
    const auto unit = unitVector(direction);
    const auto moveAll = [unit] {
        trackpad().moveAll(unit.x * kSwipeTravel / 2, unit.y * kSwipeTravel / 2);
        trackpad().sendFrame();
    };
    play({[fingers] { fingersDown(fingers); }, moveAll, moveAll,
          [] {
              trackpad().liftAll();
              trackpad().sendFrame();
          }});
    return std::nullopt;
}

Refusal TrackpadUser::rest(int fingers) {
    platform::assertMainThread();
    if (auto refusal = refusalToStart()) return refusal;
    play({[fingers] { fingersDown(fingers); }, sendStationaryFrame,
          [fingers] {
              for (int finger = 2; finger <= fingers; ++finger) {
                  trackpad().lift(static_cast<std::uint64_t>(finger));
              }
              trackpad().sendFrame();
          },
          sendStationaryFrame});
    return std::nullopt;
}

Refusal TrackpadUser::steer(Direction direction) {
    platform::assertMainThread();
    if (playing_ || trackpad().fingerCount() != 1) {
        return "steering needs the one finger a \"rest\" left on the trackpad";
    }
    const auto unit = unitVector(direction);
    const auto size = trackpad().deviceSize();
    trackpad().moveAll(unit.x * kSteerTravel / size.width, unit.y * kSteerTravel / size.height);
    trackpad().sendFrame();
    return std::nullopt;
}

Refusal TrackpadUser::lift() {
    platform::assertMainThread();
    if (playing_ || trackpad().fingerCount() == 0) return "no finger rests on the trackpad";
    trackpad().liftAll();
    trackpad().sendFrame();
    return std::nullopt;
}

void TrackpadUser::play(std::vector<Step> steps) {
    playing_ = true;
    playFrom(std::move(steps), 0);
}

void TrackpadUser::playFrom(std::vector<Step> steps, std::size_t index) {
    steps[index]();
    if (index + 1 == steps.size()) {
        playing_ = false;
        return;
    }
    pending_ = platform::mainQueue().asyncAfter(
        kStepInterval, [weak = weak_.ref(), steps = std::move(steps), index]() mutable {
            if (auto* self = weak.get()) self->playFrom(std::move(steps), index + 1);
        });
}

}  // namespace zelvana::driver
