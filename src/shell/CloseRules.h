#pragma once

#include <cstdint>

// Which input ends the full-screen saver, free of the platform. The message numbers are the
// platform's own; the Windows side checks that they agree with its headers.
namespace InputMessage {
inline constexpr std::uint32_t KeyDown = 0x0100;
inline constexpr std::uint32_t KeyUp = 0x0101;
inline constexpr std::uint32_t SysKeyDown = 0x0104;
inline constexpr std::uint32_t MouseMove = 0x0200;
inline constexpr std::uint32_t LeftButtonDown = 0x0201;
inline constexpr std::uint32_t LeftButtonUp = 0x0202;
inline constexpr std::uint32_t LeftButtonDoubleClick = 0x0203;
inline constexpr std::uint32_t RightButtonDown = 0x0204;
inline constexpr std::uint32_t MiddleButtonDown = 0x0207;
inline constexpr std::uint32_t MouseWheel = 0x020A;
}  // namespace InputMessage

// A position on the screen, in pixels.
struct ScreenPoint {
    std::int32_t x;
    std::int32_t y;
};

// A mouse move closes the saver only once the cursor is more than this many pixels away from
// where it was recorded, along either axis: the platform sends a move when the window appears
// under the cursor, and mice jitter.
inline constexpr std::int32_t kMouseMoveThreshold = 4;

// True for the key presses, mouse moves and button presses that ask the saver to close.
bool IsClosingInput(std::uint32_t message);

// True when `now` lies more than the threshold away from `recorded` along x or y (the larger of
// the two distances counts, so the region that keeps the saver open is a square).
bool MovedBeyondThreshold(ScreenPoint recorded, ScreenPoint now);

// True when the input message asks the saver to close: any closing key or button press, and a
// mouse move whose position `now` lies beyond the threshold from `recorded`.
bool InputClosesSaver(std::uint32_t message, ScreenPoint recorded, ScreenPoint now);
