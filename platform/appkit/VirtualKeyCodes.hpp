#pragma once

#include <cstdint>

namespace zelvana::platform {

// Carbon virtual key codes, in the system's names: what Event::keyCode holds
// for these keys.
// The letters Vim moves with, by their place on the U.S. layout.
inline constexpr std::uint16_t kVK_ANSI_H = 4;
inline constexpr std::uint16_t kVK_ANSI_L = 37;
inline constexpr std::uint16_t kVK_ANSI_J = 38;
inline constexpr std::uint16_t kVK_ANSI_K = 40;

inline constexpr std::uint16_t kVK_Return = 36;
inline constexpr std::uint16_t kVK_Tab = 48;
inline constexpr std::uint16_t kVK_Space = 49;
inline constexpr std::uint16_t kVK_Delete = 51;
inline constexpr std::uint16_t kVK_Escape = 53;
inline constexpr std::uint16_t kVK_RightCommand = 54;
inline constexpr std::uint16_t kVK_Command = 55;
inline constexpr std::uint16_t kVK_Shift = 56;
inline constexpr std::uint16_t kVK_CapsLock = 57;
inline constexpr std::uint16_t kVK_Option = 58;
inline constexpr std::uint16_t kVK_Control = 59;
inline constexpr std::uint16_t kVK_RightShift = 60;
inline constexpr std::uint16_t kVK_RightOption = 61;
inline constexpr std::uint16_t kVK_RightControl = 62;
inline constexpr std::uint16_t kVK_Function = 63;
inline constexpr std::uint16_t kVK_ANSI_KeypadEnter = 76;
inline constexpr std::uint16_t kVK_LeftArrow = 123;
inline constexpr std::uint16_t kVK_RightArrow = 124;
inline constexpr std::uint16_t kVK_DownArrow = 125;
inline constexpr std::uint16_t kVK_UpArrow = 126;

}  // namespace zelvana::platform
