#include "gestures/Gestures.hpp"

#include <algorithm>
#include <iterator>

#include "gestures/RestToOneDirectionRecognizer.hpp"
#include "gestures/RestToOneRecognizer.hpp"
#include "gestures/SwipeRecognizer.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::gestures {

namespace {

std::unique_ptr<TouchEventProcessor> makeProcessor(Gesture gesture, GestureDelegate* delegate) {
    switch (recognizerKind(gesture)) {
        case Recognizer::swipe:
            return std::make_unique<SwipeRecognizer>(gesture, delegate);
        case Recognizer::restToOne:
            return std::make_unique<RestToOneRecognizer>(gesture, delegate);
        case Recognizer::restToOneDir:
            return std::make_unique<RestToOneDirectionRecognizer>(gesture, delegate);
    }
    return nullptr;
}

}  // namespace

Gestures::Gestures(std::vector<Gesture> gestures, GestureOptions options, GestureDelegate* delegate)
    : monitorPrivilege_(options.privilege), delegate_(delegate), gestures_(std::move(gestures)) {
    tapListener_ = std::make_unique<EventTapListener>(
        platform::EventMask::gesture, EventTapListener::Served::onMain, nullptr,
        [weak = weak_.ref()](const platform::Event& event) {
            if (auto* self = weak.get()) self->tapHandler(event);
        },
        [weak = weak_.ref()] {
            // Asked again, as when the gestures were chosen: the prompt, and
            // the tap once the permission is back.
            if (auto* self = weak.get(); self && !self->processorPipeline_.empty())
                self->startTapWhenPermitted();
        });
    reloadGestures();
}

Gestures::~Gestures() = default;

void Gestures::setGestures(std::vector<Gesture> gestures) {
    platform::assertMainThread();
    gestures_ = std::move(gestures);
    reloadGestures();
}

void Gestures::reloadGestures() {
    ++generation_;
    if (dispatching_) {
        std::move(processorPipeline_.begin(), processorPipeline_.end(),
                  std::back_inserter(retiredPipeline_));
    }
    processorPipeline_.clear();
    for (const Gesture gesture : gestures_) {
        const bool haveKind = std::any_of(
            processorPipeline_.begin(), processorPipeline_.end(), [&](const auto& processor) {
                return processor->recognizerType() == recognizerKind(gesture);
            });
        if (!haveKind) processorPipeline_.push_back(makeProcessor(gesture, delegate_));
    }
    if (processorPipeline_.empty()) {
        tapListener_->stop();
        return;
    }
    startTapWhenPermitted();
}

void Gestures::startTapWhenPermitted() {
    if (monitorPrivilege_ == MonitorPrivilege::accessibility) {
        requestAccessibility();
    } else if (AccessibilityAuth::checkInputMonitoring()) {
        tapListener_->start();
    }
}

void Gestures::requestAccessibility() {
    // An outstanding prompt is asked again, which only brings it forward.
    if (!accessibilityAuth_) accessibilityAuth_ = std::make_unique<AccessibilityAuth>();
    const bool trusted =
        accessibilityAuth_->requestAccess(std::nullopt, std::nullopt, accessibilityMessage,
                                          CloseBehavior::closable, [weak = weak_.ref()] {
                                              if (auto* self = weak.get())
                                                  self->startTapIfConfigured();
                                          });
    if (trusted) startTapIfConfigured();
}

void Gestures::startTapIfConfigured() {
    // Gestures may have been switched off while the prompt waited.
    if (!processorPipeline_.empty()) tapListener_->start();
    accessibilityAuth_.reset();
}

void Gestures::tapHandler(const platform::Event& event) {
    const TouchEvent touchEvent = preprocessor_.touchEvent(event);
    dispatching_ = true;
    // A delegate may change the gestures while a processor runs; the new
    // pipeline starts with the next event.
    const std::uint64_t generation = generation_;
    for (std::size_t i = 0; i < processorPipeline_.size() && generation == generation_; ++i) {
        processorPipeline_[i]->process(touchEvent);
    }
    dispatching_ = false;
    retiredPipeline_.clear();
}

}  // namespace zelvana::gestures
