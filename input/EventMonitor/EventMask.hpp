#pragma once

#include "platform/appkit/Event.hpp"

namespace zelvana::input::eventmonitor {

// The event kinds a monitor watches: bit n stands for the event type numbered
// n, the numbering that AppKit and Quartz event types share, so the raw value
// serves as either's event mask.
using EventMask = platform::EventMask;
using EventMasks = platform::EventTypeMask;

// The six button downs and ups.
inline constexpr EventMasks kMouseClicks = EventMask::leftMouseDown | EventMask::leftMouseUp |
                                           EventMask::rightMouseDown | EventMask::rightMouseUp |
                                           EventMask::otherMouseDown | EventMask::otherMouseUp;
// The three drags.
inline constexpr EventMasks kMouseDrags =
    EventMask::leftMouseDragged | EventMask::rightMouseDragged | EventMask::otherMouseDragged;
// Clicks and drags.
inline constexpr EventMasks kMouseButtons = kMouseClicks | kMouseDrags;
// Clicks, drags, the scroll wheel and the keys.
inline constexpr EventMasks kUserInput = kMouseButtons | EventMask::scrollWheel |
                                         EventMask::keyDown | EventMask::keyUp |
                                         EventMask::flagsChanged;
inline constexpr EventMasks kUserInputAndMoves = kUserInput | EventMask::mouseMoved;

}  // namespace zelvana::input::eventmonitor
