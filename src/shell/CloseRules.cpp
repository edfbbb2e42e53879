#include "shell/CloseRules.h"

#include <algorithm>
#include <cstdlib>

bool IsClosingInput(std::uint32_t message) {
    switch (message) {
        case InputMessage::KeyDown:
        case InputMessage::SysKeyDown:
        case InputMessage::MouseMove:
        case InputMessage::LeftButtonDown:
        case InputMessage::RightButtonDown:
        case InputMessage::MiddleButtonDown:
            return true;
        default:
            return false;
    }
}

bool MovedBeyondThreshold(ScreenPoint recorded, ScreenPoint now) {
    // 64-bit differences: two 32-bit coordinates can be further apart than 32 bits hold.
    const std::int64_t dx = std::llabs(std::int64_t{now.x} - std::int64_t{recorded.x});
    const std::int64_t dy = std::llabs(std::int64_t{now.y} - std::int64_t{recorded.y});
    return std::max(dx, dy) > kMouseMoveThreshold;
}

bool InputClosesSaver(std::uint32_t message, ScreenPoint recorded, ScreenPoint now) {
    if (message == InputMessage::MouseMove) {
        return MovedBeyondThreshold(recorded, now);
    }
    return IsClosingInput(message);
}
