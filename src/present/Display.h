#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>

// The DirectDraw side of the saver: the DirectDraw object, the visible surface and the back
// surface every frame is drawn into. Full screen it is an exclusive 16-bit flip chain; in a
// window it is the desktop's primary with a clipper plus an off-screen back surface.
class Display {
  public:
    Display();
    ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // Size and depth used by the next Init.
    void SetMode(std::int32_t modeWidth, std::int32_t modeHeight, std::int32_t modeBitsPerPixel);
    // Chooses the windowed way (preview) or full screen for the next Init.
    void SetWindowed(bool inWindow);
    // Creates the DirectDraw object, clipper and surfaces; false at the first failing step, with
    // whatever was made so far kept for Release.
    bool Init(HWND targetWindow);
    // Recomputes clientRect and screenRect from the window (windowed way only).
    void UpdateRects();
    // Fills the whole back surface with pixel value 0.
    void Clear();
    // Copies the whole primary surface onto the whole back surface (trails).
    void CopyPrimaryToBack();
    // Shows the back surface: a blit into the window, or a flip full screen.
    void Present();
    // Drops the primary surface and the DirectDraw object; safe to call any number of times.
    void Release();

    std::int32_t width;
    std::int32_t height;
    std::int32_t bitsPerPixel;
    IDirectDraw* directDraw;
    IDirectDrawSurface* backSurface;
    bool windowed;
    bool presentEnabled;
    HWND window;
    IDirectDrawSurface* primarySurface;
    RECT screenRect;
    RECT clientRect;
};

extern Display display;
