#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>

class Display;

// A bitmap copied once into an off-screen surface and drawn onto the display's back surface
// with its top-left colour transparent. The only clipping is against the display's right edge.
class Sprite {
  public:
    explicit Sprite(Display* owner = nullptr);
    ~Sprite();
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    void SetDisplay(Display* owner);
    // Loads a bitmap resource of this module (integer IDs through MAKEINTRESOURCEA) or, with
    // fromResource false, a bitmap file, into a new surface of the display's pixel format.
    bool Load(LPCSTR name, bool fromResource);
    // Makes the surface's top-left pixel value its only transparent value. When the surface
    // cannot be locked, the surface is left with no source colour key at all.
    void ApplyColorKey(DWORD fallbackKey);
    // Colour-keyed fast blit onto the display's back surface at (x, y).
    HRESULT Draw();
    void Release();

    std::int32_t x;
    std::int32_t y;
    std::int32_t lastColumn;
    std::int32_t lastRow;
    IDirectDrawSurface* surface;
    Display* display;
    RECT sourceRect;
};

extern Sprite ballSprites[2];
extern Sprite logoSprite;
extern Sprite infoSprite;
