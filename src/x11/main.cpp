// zemlar: the tumbling cube of balls as an X11 program that XScreenSaver can run.
#include <cstdio>
#include <cstdlib>

#include "x11/Options.h"
#include "x11/XSaver.h"

int main(int argc, char** argv) {
    SaverOptions options;
    const std::string error =
        ParseOptions(argc - 1, argv + 1, std::getenv("XSCREENSAVER_WINDOW"), options);
    if (!error.empty()) {
        std::fprintf(stderr, "zemlar: %s\n%s", error.c_str(), Usage("zemlar").c_str());
        return 1;
    }
    if (options.help) {
        std::fputs(Usage("zemlar").c_str(), stdout);
        return 0;
    }
    return RunSaver(options);
}
