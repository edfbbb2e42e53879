#include "x11/XErrorTrap.h"

namespace {

bool failed;

int RecordError(Display* /*display*/, XErrorEvent* /*event*/) {
    failed = true;
    return 0;
}

}  // namespace

void InstallErrorTrap() {
    XSetErrorHandler(RecordError);
}

bool RequestsFailed(Display* display) {
    XSync(display, False);
    return FailureSeen();
}

bool FailureSeen() {
    const bool result = failed;
    failed = false;
    return result;
}
