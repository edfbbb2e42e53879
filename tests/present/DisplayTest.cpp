#include <gtest/gtest.h>

#include "PresentTestSupport.h"
#include "present/Display.h"

using present_test::Fill;
using present_test::ReadPixel;
using present_test::TestWindow;

namespace {

constexpr int kClientWidth = 320;
constexpr int kClientHeight = 240;

// A windowed display on a real top-level window, as the preview brings it up.
class WindowedDisplay : public ::testing::Test {
  protected:
    void SetUp() override {
        display.SetMode(kClientWidth, kClientHeight, 16);
        display.SetWindowed(true);
        ASSERT_TRUE(display.Init(window.handle()))
            << "DirectDraw did not start in a window (is DISPLAY set to a running X server?)";
    }

    TestWindow window{kClientWidth, kClientHeight};
    Display display;
};

DDSURFACEDESC DescriptionOf(IDirectDrawSurface* surface) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    EXPECT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
    return desc;
}

RECT ClientOnScreen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

void ExpectRect(const RECT& actual, const RECT& expected) {
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    EXPECT_EQ(actual.bottom, expected.bottom);
}

TEST(Display, EveryOperationIsHarmlessBeforeInit) {
    Display display;
    EXPECT_TRUE(display.presentEnabled);
    display.UpdateRects();
    display.Clear();
    display.CopyPrimaryToBack();
    display.Present();
    display.Release();
    display.Release();
    EXPECT_EQ(display.directDraw, nullptr);
    EXPECT_EQ(display.primarySurface, nullptr);
}

// Each way of failing keeps what was made so far, and Release (twice) takes it down.
struct InitFailure {
    const char* name;
    bool windowed;
    bool withWindow;
    int width;
    bool expectPrimary;
};

class DisplayInitFailure : public ::testing::TestWithParam<InitFailure> {};

TEST_P(DisplayInitFailure, LeavesEverythingReleasable) {
    const InitFailure& failure = GetParam();
    TestWindow window{kClientWidth, kClientHeight};
    Display display;
    display.SetMode(failure.width, kClientHeight, 16);
    display.SetWindowed(failure.windowed);

    EXPECT_FALSE(display.Init(failure.withWindow ? window.handle() : nullptr));
    EXPECT_NE(display.directDraw, nullptr);
    EXPECT_EQ(display.primarySurface != nullptr, failure.expectPrimary);
    EXPECT_EQ(display.backSurface, nullptr);

    display.Clear();
    display.CopyPrimaryToBack();
    display.Present();
    display.Release();
    EXPECT_EQ(display.directDraw, nullptr);
    EXPECT_EQ(display.primarySurface, nullptr);
    display.Release();
}

INSTANTIATE_TEST_SUITE_P(
    Steps, DisplayInitFailure,
    ::testing::Values(InitFailure{"FullScreenWithoutWindow", false, false, kClientWidth, false},
                      InitFailure{"WindowedBackSurfaceOfNoWidth", true, true, 0, true}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(WindowedDisplay, InitComputesRectsFromTheWindow) {
    ExpectRect(display.clientRect, RECT{0, 0, kClientWidth, kClientHeight});
    ExpectRect(display.screenRect, ClientOnScreen(window.handle()));
    EXPECT_EQ(display.window, window.handle());
}

TEST_F(WindowedDisplay, UpdateRectsFollowsTheWindowWhileTheBackSurfaceKeepsItsSize) {
    RECT frame{};
    GetWindowRect(window.handle(), &frame);
    MoveWindow(window.handle(), frame.left + 40, frame.top + 30, frame.right - frame.left + 50,
               frame.bottom - frame.top, TRUE);
    display.UpdateRects();

    ExpectRect(display.screenRect, ClientOnScreen(window.handle()));
    EXPECT_EQ(display.clientRect.right, kClientWidth + 50);
    const DDSURFACEDESC back = DescriptionOf(display.backSurface);
    EXPECT_EQ(back.dwWidth, DWORD{kClientWidth});
    EXPECT_EQ(back.dwHeight, DWORD{kClientHeight});
}

TEST_F(WindowedDisplay, ClearFillsTheBackSurfaceWithZero) {
    Fill(display.backSurface, 0x00123456);
    display.Clear();
    for (const POINT point : {POINT{0, 0}, POINT{kClientWidth - 1, kClientHeight - 1},
                              POINT{kClientWidth / 2, kClientHeight / 2}}) {
        EXPECT_EQ(ReadPixel(display.backSurface, point.x, point.y), 0u)
            << "at " << point.x << ", " << point.y;
    }
}

TEST_F(WindowedDisplay, CopyPrimaryToBackScalesTheWholeDesktopIntoTheBackSurface) {
    const DWORD marker = present_test::PixelValueOf(display.primarySurface, RGB(40, 200, 90));
    display.Clear();
    Fill(display.primarySurface, marker, &display.screenRect);
    display.CopyPrimaryToBack();

    // The window's centre lands where the desktop-to-back-surface scale puts it.
    const DDSURFACEDESC desktop = DescriptionOf(display.primarySurface);
    const int centreX = (display.screenRect.left + display.screenRect.right) / 2;
    const int centreY = (display.screenRect.top + display.screenRect.bottom) / 2;
    const int backX = centreX * kClientWidth / static_cast<int>(desktop.dwWidth);
    const int backY = centreY * kClientHeight / static_cast<int>(desktop.dwHeight);
    EXPECT_EQ(ReadPixel(display.backSurface, backX, backY), marker);
}

// Present copies the back surface into the window's area of the primary, and not at all while
// presenting is switched off.
TEST_F(WindowedDisplay, PresentBlitsIntoTheWindowOnlyWhileEnabled) {
    const DWORD before = present_test::PixelValueOf(display.primarySurface, RGB(200, 30, 30));
    const DWORD frame = present_test::PixelValueOf(display.primarySurface, RGB(30, 30, 200));
    const int centreX = (display.screenRect.left + display.screenRect.right) / 2;
    const int centreY = (display.screenRect.top + display.screenRect.bottom) / 2;
    Fill(display.primarySurface, before, &display.screenRect);
    Fill(display.backSurface, frame);

    display.presentEnabled = false;
    display.Present();
    EXPECT_EQ(ReadPixel(display.primarySurface, centreX, centreY), before);

    display.presentEnabled = true;
    display.Present();
    EXPECT_EQ(ReadPixel(display.primarySurface, centreX, centreY), frame);
}

TEST_F(WindowedDisplay, ReleaseTwiceAndOperationsAfterwardsDoNothing) {
    display.Release();
    display.Release();
    EXPECT_EQ(display.directDraw, nullptr);
    EXPECT_EQ(display.primarySurface, nullptr);
    display.Clear();
    display.CopyPrimaryToBack();
    display.Present();
}

}  // namespace
