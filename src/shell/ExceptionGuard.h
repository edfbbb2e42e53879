#pragma once

// The guard around the run modes. An exception that no handler of the program takes is handed
// to the platform's UnhandledExceptionFilter; when that answers EXCEPTION_EXECUTE_HANDLER the
// saver-running state is switched off and the process ends with -1. Other answers take effect
// as the platform defines them. A C++ exception that nothing catches takes the same way.
// Installing it a second time changes nothing.
void InstallExceptionGuard();

// The exit code of a run that the guard ended.
inline constexpr int kGuardExitCode = -1;
