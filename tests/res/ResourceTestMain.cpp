#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/res/ModulePath.h"

namespace {

std::string modulePath;

// ctest passes a Unix path; Wine's Z: drive is the Unix root.
std::string ToWindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

}  // namespace

const std::string& TestedModulePath() {
    return modulePath;
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc > 1) {
        modulePath = ToWindowsPath(argv[1]);
    } else {
        char own[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, own, MAX_PATH);
        modulePath = own;
    }
    std::printf("Reading the resources of %s\n", modulePath.c_str());
    return RUN_ALL_TESTS();
}
