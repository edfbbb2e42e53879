#include "shell/CloseConfirmation.h"

std::int32_t CloseAccepted;
std::int32_t CheckingPassword;
std::uint32_t LastCheckTick = kNoQueryYet;

std::uint32_t TicksSince(std::uint32_t earlier, std::uint32_t later) {
    return later - earlier;
}

bool QueryMayStart(std::uint32_t lastCheckTick, std::uint32_t now) {
    return lastCheckTick == kNoQueryYet || TicksSince(lastCheckTick, now) >= kQuerySpacingMs;
}
