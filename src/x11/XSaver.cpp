#include "x11/XSaver.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "raster/RasterScreen.h"
#include "raster/SteadyClock.h"
#include "scene/FrameRender.h"
#include "scene/Random.h"
#include "scene/SceneSetUp.h"
#include "scene/SceneState.h"
#include "x11/XErrorTrap.h"
#include "x11/XPresenter.h"

namespace {

constexpr unsigned kOwnWidth = 800;
constexpr unsigned kOwnHeight = 600;

volatile sig_atomic_t stopRequested;

void RequestStop(int /*signal*/) {
    stopRequested = 1;
}

// SIGTERM and SIGINT stay blocked except while waiting between frames, where ppoll lets them
// in and returns at once: a signal can never slip in between the check and the wait.
sigset_t CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    sigset_t waiting;
    sigprocmask(SIG_BLOCK, &stops, &waiting);
    sigdelset(&waiting, SIGTERM);
    sigdelset(&waiting, SIGINT);
    return waiting;
}

struct Target {
    Window window = 0;
    bool own = false;
    Atom deleteWindow = None;
};

bool OpenOwnWindow(Display* display, Target& target) {
    const int screen = DefaultScreen(display);
    XVisualInfo info{};
    if (XMatchVisualInfo(display, screen, 24, TrueColor, &info) == 0) {
        return false;
    }
    const Window root = RootWindow(display, screen);
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display, root, info.visual, AllocNone);
    attributes.background_pixel = 0;
    attributes.border_pixel = 0;
    attributes.event_mask = StructureNotifyMask | KeyPressMask;
    target.window = XCreateWindow(
        display, root, 0, 0, kOwnWidth, kOwnHeight, 0, info.depth, InputOutput, info.visual,
        CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
    XStoreName(display, target.window, "Zemlar");
    XClassHint hint{const_cast<char*>("zemlar"), const_cast<char*>("Zemlar")};
    XSetClassHint(display, target.window, &hint);
    target.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, target.window, &target.deleteWindow, 1);
    XMapWindow(display, target.window);
    target.own = true;
    return true;
}

// Frames are 32-bit 0x00RRGGBB pixels, which is what a 24-bit true-colour visual takes.
bool VisualFits(const XWindowAttributes& attributes) {
    const Visual* visual = attributes.visual;
    return (attributes.depth == 24 || attributes.depth == 32) && visual != nullptr &&
           visual->c_class == TrueColor && visual->red_mask == 0xFF0000 &&
           visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF;
}

// Events since the last frame: whether to stop, and the newest size of the window.
bool HandleEvents(Display* display, const Target& target, int& width, int& height) {
    while (XPending(display) > 0) {
        XEvent event{};
        XNextEvent(display, &event);
        switch (event.type) {
            case ConfigureNotify:
                if (event.xconfigure.window == target.window) {
                    width = event.xconfigure.width;
                    height = event.xconfigure.height;
                }
                break;
            case ClientMessage:
                if (target.own &&
                    static_cast<Atom>(event.xclient.data.l[0]) == target.deleteWindow) {
                    return true;
                }
                break;
            case KeyPress: {
                const KeySym key = XLookupKeysym(&event.xkey, 0);
                if (target.own && (key == XK_Escape || key == XK_q || key == XK_Q)) {
                    return true;
                }
                break;
            }
            case DestroyNotify:
                if (event.xdestroywindow.window == target.window) {
                    return true;
                }
                break;
            default:
                break;
        }
    }
    return false;
}

// Waits for the delay, answering X events and signals at once.
void WaitBetweenFrames(Display* display, std::int64_t delayMicroseconds, const sigset_t& waiting) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + std::chrono::microseconds(delayMicroseconds);
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (stopRequested == 0 && XPending(display) == 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::nanoseconds>(until - Clock::now()).count();
        if (left <= 0) {
            return;
        }
        const timespec timeout{static_cast<time_t>(left / 1000000000), left % 1000000000};
        if (ppoll(&connection, 1, &timeout, &waiting) > 0) {
            return;
        }
    }
}

int Fail(Display* display, const char* message) {
    std::fprintf(stderr, "zemlar: %s\n", message);
    XCloseDisplay(display);
    return 1;
}

// Sets the scene up and draws frames until asked to stop; a new size sets it up again.
// Returns false when the window cannot be drawn in any more. Everything made here is released
// before the caller closes the display.
bool DrawUntilStopped(Display* display, const Target& target, const XWindowAttributes& attributes,
                      const SaverOptions& options, const sigset_t& waiting) {
    XPresenter presenter(display, target.window, attributes.visual, attributes.depth);
    RasterScreen screen(presenter);
    SteadyClock clock;
    CurrentSettings = options.settings;
    SeedRandom(static_cast<std::uint32_t>(clock.CounterValue() / 1000000));

    int width = attributes.width;
    int height = attributes.height;
    int setUpWidth = -1;
    int setUpHeight = -1;
    bool drawable = true;
    while (stopRequested == 0 && !HandleEvents(display, target, width, height)) {
        if (width != setUpWidth || height != setUpHeight) {
            setUpWidth = width;
            setUpHeight = height;
            screen.SetClientSize(width, height);
            // The rate counts frames since set-up; a new size starts the count again.
            frameCount = 0;
            static_cast<void>(SetUpScene(screen.Host(), clock));
        }
        RenderFrame(screen.Sink(), clock);
        // The frame's present waited for the server, so its errors have arrived: no second
        // round trip per frame.
        if (FailureSeen()) {
            drawable = false;
            break;
        }
        WaitBetweenFrames(display, options.delayMicroseconds, waiting);
    }
    ReleaseScenePoints();
    return drawable;
}

}  // namespace

int RunSaver(const SaverOptions& options) {
    const sigset_t waiting = CatchStopSignals();
    const char* name = options.displayName.empty() ? nullptr : options.displayName.c_str();
    Display* display = XOpenDisplay(name);
    if (display == nullptr) {
        std::fprintf(stderr, "zemlar: cannot open display %s\n", XDisplayName(name));
        return 1;
    }
    InstallErrorTrap();

    Target target;
    switch (options.target) {
        case DrawTarget::Root:
            target.window = DefaultRootWindow(display);
            break;
        case DrawTarget::WindowId:
            target.window = static_cast<Window>(options.windowId);
            break;
        case DrawTarget::OwnWindow:
            if (!OpenOwnWindow(display, target)) {
                return Fail(display, "the display has no 24-bit true-colour visual");
            }
            break;
    }
    XWindowAttributes attributes{};
    const Status found = XGetWindowAttributes(display, target.window, &attributes);
    if (RequestsFailed(display) || found == 0) {
        char message[64];
        std::snprintf(message, sizeof message, "no window 0x%lx on this display",
                      static_cast<unsigned long>(target.window));
        return Fail(display, message);
    }
    if (!VisualFits(attributes)) {
        return Fail(display, "the window is not 24-bit true colour");
    }
    if (!target.own) {
        // Another client's window: only its size changes are of interest.
        XSelectInput(display, target.window, StructureNotifyMask);
    }
    if (!DrawUntilStopped(display, target, attributes, options, waiting)) {
        return Fail(display, "the window can no longer be drawn in");
    }
    if (target.own) {
        XDestroyWindow(display, target.window);
    }
    XCloseDisplay(display);
    return 0;
}
