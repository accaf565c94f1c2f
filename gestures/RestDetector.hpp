#pragma once

#include <optional>

#include "gestures/TouchEvent.hpp"

namespace zelvana::gestures {

// The rest part of the two rest-to-one recognizers: N fingers rest still on
// the pad, then all but one lift within the rest window. It only watches;
// what is reported, and when to start over, is the recognizer's.
class RestDetector {
public:
    // Longest lift from N fingers to one, and how long after more than N
    // touches a rest does not count.
    static constexpr double restWindow = 0.4;
    // Device points each resting finger may slide while the others lift.
    static constexpr double stillTolerance = 50.0;

    explicit RestDetector(int fingers) : fingers_(fingers) {}
    int fingers() const { return fingers_; }

    // More than N touches: no rest counts until the window has passed.
    void noteCrowd(const TouchEvent& event);
    // N fingers down: the rest, unless one is held already or a crowd was
    // too recent.
    void noteRest(const TouchEvent& event);
    // The first lift after a rest marks its time; false when the fingers
    // slid too far meanwhile.
    bool liftKeepsStill(const TouchEvent& event);

    enum class OneLeft { noRest, inTime, tooLate };
    // One finger left: whether a rest and a lift came before it, and in time.
    OneLeft oneLeft(const TouchEvent& event) const;

    // Forgets the rest and its lift; `forgetCrowd` also the last crowd.
    void forgetRest();
    void forgetCrowd() { crowdTimestamp_.reset(); }

private:
    int fingers_;
    std::optional<TouchEvent> restEvent_;
    std::optional<double> liftTimestamp_;
    std::optional<double> crowdTimestamp_;
};

}  // namespace zelvana::gestures
