#include "present/Display.h"

namespace {

// Full screen asks for the flip chain in video memory, so that presenting copies no pixels.
constexpr DWORD kFlipChainCaps =
    DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_VIDEOMEMORY;

void ReleaseClipper(IDirectDrawClipper*& clipper) {
    if (clipper != nullptr) {
        clipper->Release();
        clipper = nullptr;
    }
}

// Binds the clipper to the window and hands it to the primary, which keeps it alive; the
// results are not needed because a missing clipper only loses the confinement of blits.
void AttachClipper(IDirectDrawSurface* primary, IDirectDrawClipper*& clipper, HWND window) {
    clipper->SetHWnd(0, window);
    primary->SetClipper(clipper);
    ReleaseClipper(clipper);
}

}  // namespace

Display::Display()
    : width(0),
      height(0),
      bitsPerPixel(0),
      directDraw(nullptr),
      backSurface(nullptr),
      windowed(false),
      presentEnabled(true),
      window(nullptr),
      primarySurface(nullptr),
      screenRect{},
      clientRect{} {}

Display::~Display() {
    Release();
}

void Display::SetMode(std::int32_t modeWidth, std::int32_t modeHeight,
                      std::int32_t modeBitsPerPixel) {
    width = modeWidth;
    height = modeHeight;
    bitsPerPixel = modeBitsPerPixel;
}

void Display::SetWindowed(bool inWindow) {
    windowed = inWindow;
}

bool Display::Init(HWND targetWindow) {
    // A second Init would otherwise lose the references of the first.
    Release();
    window = targetWindow;

    IDirectDraw* created = nullptr;
    HRESULT hr = DirectDrawCreate(nullptr, &created, nullptr);
    if (hr != DD_OK) {
        return false;
    }
    directDraw = created;

    hr = directDraw->SetCooperativeLevel(
        window, windowed ? DWORD{DDSCL_NORMAL} : DWORD{DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN});
    if (hr != DD_OK) {
        return false;
    }

    // The clipper is made before the mode changes and before any surface exists.
    IDirectDrawClipper* clipper = nullptr;
    hr = directDraw->CreateClipper(0, &clipper, nullptr);
    if (hr != DD_OK) {
        return false;
    }

    if (!windowed) {
        hr = directDraw->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                                        static_cast<DWORD>(bitsPerPixel));
        if (hr != DD_OK) {
            ReleaseClipper(clipper);
            return false;
        }
    }

    // The primary: a flip chain with one back buffer in full screen, the desktop in a window.
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    if (windowed) {
        desc.dwFlags = DDSD_CAPS;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    } else {
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = 1;
        desc.ddsCaps.dwCaps = kFlipChainCaps;
    }
    IDirectDrawSurface* surface = nullptr;
    hr = directDraw->CreateSurface(&desc, &surface, nullptr);
    if (hr != DD_OK) {
        ReleaseClipper(clipper);
        return false;
    }
    primarySurface = surface;
    AttachClipper(primarySurface, clipper, window);

    if (!windowed) {
        DDSCAPS backCaps{};
        backCaps.dwCaps = DDSCAPS_BACKBUFFER;
        IDirectDrawSurface* back = nullptr;
        hr = primarySurface->GetAttachedSurface(&backCaps, &back);
        if (hr != DD_OK) {
            return false;
        }
        // The back buffer belongs to the primary's flip chain and is destroyed with it.
        backSurface = back;
        return true;
    }

    // No pixel format is asked for, so the back surface takes the desktop's format.
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwHeight = static_cast<DWORD>(height);
    desc.dwWidth = static_cast<DWORD>(width);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface* back = nullptr;
    hr = directDraw->CreateSurface(&desc, &back, nullptr);
    if (hr != DD_OK) {
        return false;
    }
    backSurface = back;
    UpdateRects();
    return true;
}

void Display::UpdateRects() {
    GetClientRect(window, &clientRect);
    GetClientRect(window, &screenRect);
    POINT topLeft{screenRect.left, screenRect.top};
    POINT bottomRight{screenRect.right, screenRect.bottom};
    ClientToScreen(window, &topLeft);
    ClientToScreen(window, &bottomRight);
    screenRect = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void Display::Clear() {
    if (backSurface == nullptr) {
        return;
    }
    DDBLTFX fill{};
    fill.dwSize = sizeof(fill);
    fill.dwFillColor = 0;
    backSurface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill);
}

void Display::CopyPrimaryToBack() {
    if (primarySurface == nullptr || backSurface == nullptr) {
        return;
    }
    // Whole onto whole: in a window the desktop-sized primary is scaled into the back surface.
    backSurface->Blt(nullptr, primarySurface, nullptr, DDBLT_WAIT, nullptr);
}

void Display::Present() {
    if (!presentEnabled || primarySurface == nullptr) {
        return;
    }
    if (windowed) {
        if (backSurface == nullptr) {
            return;
        }
        // The clipper keeps the copy inside the window's visible region.
        primarySurface->Blt(&screenRect, backSurface, &clientRect, DDBLT_WAIT, nullptr);
        return;
    }
    const HRESULT hr = primarySurface->Flip(nullptr, DDFLIP_WAIT);
    if (hr == DDERR_SURFACELOST) {
        // Restores the attached back buffer too; its contents come back with the next frame.
        primarySurface->Restore();
    }
}

void Display::Release() {
    if (directDraw == nullptr) {
        return;
    }
    if (primarySurface != nullptr) {
        primarySurface->Release();
        primarySurface = nullptr;
    }
    // The back surface belongs to the flip chain or to the DirectDraw object and goes with
    // them; forgetting it keeps later Clear or Present calls from touching freed memory.
    backSurface = nullptr;
    directDraw->Release();
    directDraw = nullptr;
}
