#pragma once

#include <cstdint>

// The close decision of the full-screen saver on Windows 95/98, free of the platform: the
// Windows side supplies the tick count, the password query and the cursor hiding.

// Set once a close request has been accepted; never cleared. Stops idle frames and sends every
// message straight to the default window procedure.
extern std::int32_t CloseAccepted;

// Non-zero only while a password query waits for its answer.
extern std::int32_t CheckingPassword;

// The tick count when the last password query returned; all bits set before the first one.
extern std::uint32_t LastCheckTick;

inline constexpr std::uint32_t kNoQueryYet = 0xFFFFFFFFU;

// At most one password query starts within this many milliseconds of the end of the last one.
inline constexpr std::uint32_t kQuerySpacingMs = 200;

// `later` minus `earlier` modulo 2^32, so that a wrap of the tick counter between the two does
// not disturb the difference.
std::uint32_t TicksSince(std::uint32_t earlier, std::uint32_t later);

// True when a password query may start at tick `now`.
bool QueryMayStart(std::uint32_t lastCheckTick, std::uint32_t now);

// Decides one close request. `Platform` provides:
//   std::uint32_t TickCount();  the millisecond tick count,
//   bool AskVerifier();         the password query (it may re-enter this function),
//   void HideCursor();          hides the cursor again after a refusal.
// Returns non-zero when the close goes ahead.
template <typename Platform>
int ConfirmCloseSteps(bool verifierLoaded, Platform& platform) {
    if (CheckingPassword != 0) {
        // A close request that arrives while the query runs: refused, and nothing else changes.
        return 0;
    }
    if (!verifierLoaded) {
        CloseAccepted = 1;
    } else if (QueryMayStart(LastCheckTick, platform.TickCount())) {
        CheckingPassword = 1;
        const bool answer = platform.AskVerifier();
        CloseAccepted = answer ? 1 : 0;
        if (!answer) {
            platform.HideCursor();
        }
        // Taken after the query returned: the spacing counts from the end of the query.
        LastCheckTick = platform.TickCount();
    }
    const int result = CloseAccepted;
    CheckingPassword = 0;
    return result;
}
