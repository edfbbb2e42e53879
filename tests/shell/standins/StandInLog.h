#pragma once

#include <windows.h>

#include <cstdio>

// The stand-ins append one line per call to the file named by ZEMLAR_STANDIN_LOG, so a test can
// read what the saver asked of them, in another process as well as in its own.
inline void AppendToStandInLog(const char* line) {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("ZEMLAR_STANDIN_LOG", path, sizeof path);
    if (std::FILE* file = length > 0 && length < sizeof path ? std::fopen(path, "ab") : nullptr) {
        std::fprintf(file, "%s\n", line);
        std::fclose(file);
    }
}
