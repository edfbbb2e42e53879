#include "shell/ExceptionGuard.h"

#include <windows.h>

#include <cstdlib>
#include <exception>

#include "shell/Password.h"

namespace {

// Raised for a C++ exception that nothing catches; the "E" marks an application's own code.
constexpr DWORD kUncaughtCxxException = 0xE05A4D01;

LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter;
bool Installed;

LONG WINAPI GuardFilter(EXCEPTION_POINTERS* exception) {
    // UnhandledExceptionFilter itself calls the process's top-level filter, which is this one:
    // give it the filter that was there before, so that it asks that one instead of coming back.
    SetUnhandledExceptionFilter(PreviousFilter);
    const LONG answer = UnhandledExceptionFilter(exception);
    if (answer == EXCEPTION_EXECUTE_HANDLER) {
        SetSaverRunning(false);
        ExitProcess(static_cast<UINT>(kGuardExitCode));
    }
    SetUnhandledExceptionFilter(GuardFilter);
    return answer;
}

// The runtime ends the process without unwinding when a C++ exception finds no handler (the
// 32-bit unwinder never raises it as a platform exception). Raising one here sends it through
// the same filter.
[[noreturn]] void RaiseUncaughtCxxException() {
    RaiseException(kUncaughtCxxException, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    std::abort();
}

}  // namespace

void InstallExceptionGuard() {
    if (Installed) {
        return;
    }
    Installed = true;
    PreviousFilter = SetUnhandledExceptionFilter(GuardFilter);
    std::set_terminate(RaiseUncaughtCxxException);
}
