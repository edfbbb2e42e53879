#pragma once

#include <windows.h>

#include <cstring>

// The stand-ins append one line per call to the file named by ZEMLAR_STANDIN_LOG, so a test can
// read what the saver asked of them, in another process as well as in its own.
inline void AppendToStandInLog(const char* line) {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("ZEMLAR_STANDIN_LOG", path, sizeof path);
    const HANDLE file =
        length == 0 || length >= sizeof path
            ? INVALID_HANDLE_VALUE
            : CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
        WriteFile(file, "\n", 1, &written, nullptr);
        CloseHandle(file);
    }
}
