#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gestures/AccessibilityAuth.hpp"
#include "gestures/EventTapListener.hpp"
#include "gestures/Gesture.hpp"
#include "gestures/GestureDelegate.hpp"
#include "gestures/GestureOptions.hpp"
#include "gestures/TouchEventProcessor.hpp"
#include "gestures/TouchPreprocessor.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::gestures {

// The trackpad-gesture package's public face. It listens to the system's
// gesture events through a listen-only tap served by the main run loop,
// turns each into a TouchEvent and hands it to a pipeline of recognizers,
// one per recognizer kind that the configured gestures need. Changing the
// gestures rebuilds the pipeline and starts the tap once the permission is
// granted, or stops it when no gesture is left. A tap lost to a permission
// taken away is asked for again the same way. Main thread only.
class Gestures {
public:
    // The delegate is not owned and must outlive the manager.
    Gestures(std::vector<Gesture> gestures, GestureOptions options, GestureDelegate* delegate);
    ~Gestures();
    Gestures(const Gestures&) = delete;
    Gestures& operator=(const Gestures&) = delete;

    const std::vector<Gesture>& gestures() const { return gestures_; }
    void setGestures(std::vector<Gesture> gestures);

    const std::vector<std::unique_ptr<TouchEventProcessor>>& processorPipeline() const {
        return processorPipeline_;
    }
    const EventTapListener& tapListener() const { return *tapListener_; }
    // Present while an Accessibility request is outstanding.
    const AccessibilityAuth* accessibilityAuth() const { return accessibilityAuth_.get(); }
    TouchPreprocessor& preprocessor() { return preprocessor_; }
    MonitorPrivilege monitorPrivilege() const { return monitorPrivilege_; }
    GestureDelegate* delegate() const { return delegate_; }

    static constexpr const char* accessibilityMessage =
        "Accessibility permissions are necessary in order to receive trackpad touch input for "
        "gestures.";

private:
    void reloadGestures();
    void startTapWhenPermitted();
    void requestAccessibility();
    void startTapIfConfigured();
    void tapHandler(const platform::Event& event);

    std::unique_ptr<EventTapListener> tapListener_;
    TouchPreprocessor preprocessor_;
    std::vector<std::unique_ptr<TouchEventProcessor>> processorPipeline_;
    // A pipeline replaced while its processors ran, kept until they return.
    std::vector<std::unique_ptr<TouchEventProcessor>> retiredPipeline_;
    bool dispatching_ = false;
    // Counts rebuilds, so a dispatch notices one made by a delegate.
    std::uint64_t generation_ = 0;
    MonitorPrivilege monitorPrivilege_;
    std::unique_ptr<AccessibilityAuth> accessibilityAuth_;
    GestureDelegate* delegate_;
    std::vector<Gesture> gestures_;
    // For callbacks that may outlive the manager; last, so it empties first.
    platform::WeakFactory<Gestures> weak_{this};
};

}  // namespace zelvana::gestures
