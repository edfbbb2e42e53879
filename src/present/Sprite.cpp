#include "present/Sprite.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "present/Display.h"

namespace {

// Creation-time source key of a sprite surface, replaced by the top-left pixel's value.
constexpr DWORD kCreationColorKey = 0xFFFFFFFF;

// Reads the pixel value at the start of a locked surface in the surface's own format: the
// little-endian word of the first bytes, keeping only the low bitCount bits. Only the pixel's
// own bytes are read, so a narrow surface is never read past its end.
bool ReadFirstPixel(const DDSURFACEDESC& locked, DWORD& value) {
    const DWORD bitCount = locked.ddpfPixelFormat.dwRGBBitCount;
    if (locked.lpSurface == nullptr || bitCount == 0 || bitCount > 32) {
        return false;
    }
    unsigned char bytes[4] = {};
    std::memcpy(bytes, locked.lpSurface, (bitCount + 7) / 8);
    DWORD word =
        DWORD{bytes[0]} | DWORD{bytes[1]} << 8 | DWORD{bytes[2]} << 16 | DWORD{bytes[3]} << 24;
    if (bitCount < 32) {
        word &= (DWORD{1} << bitCount) - 1;
    }
    value = word;
    return true;
}

}  // namespace

Sprite::Sprite(Display* owner)
    : x(0), y(0), lastColumn(0), lastRow(0), surface(nullptr), display(owner), sourceRect{} {}

Sprite::~Sprite() {
    Release();
}

void Sprite::SetDisplay(Display* owner) {
    display = owner;
}

bool Sprite::Load(LPCSTR name, bool fromResource) {
    Release();

    HINSTANCE module = fromResource ? GetModuleHandleA(nullptr) : nullptr;
    const UINT flags = fromResource ? LR_CREATEDIBSECTION : LR_CREATEDIBSECTION | LR_LOADFROMFILE;
    auto* bitmap = static_cast<HBITMAP>(LoadImageA(module, name, IMAGE_BITMAP, 0, 0, flags));
    if (bitmap == nullptr) {
        return false;
    }

    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    // The last column and row hold only background and are never drawn: rectangles exclude
    // their right and bottom edges, so the source rectangle ends at width - 1 and height - 1.
    lastColumn = static_cast<std::int32_t>(info.bmWidth) - 1;
    lastRow = static_cast<std::int32_t>(info.bmHeight) - 1;
    sourceRect = RECT{0, 0, lastColumn, lastRow};

    // No pixel format is asked for: the surface takes the display's current format.
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_CKSRCBLT;
    desc.dwWidth = static_cast<DWORD>(info.bmWidth);
    desc.dwHeight = static_cast<DWORD>(info.bmHeight);
    desc.ddckCKSrcBlt.dwColorSpaceLowValue = kCreationColorKey;
    desc.ddckCKSrcBlt.dwColorSpaceHighValue = kCreationColorKey;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;

    IDirectDraw* directDraw = display != nullptr ? display->directDraw : nullptr;
    IDirectDrawSurface* created = nullptr;
    const HRESULT createResult = directDraw != nullptr
                                     ? directDraw->CreateSurface(&desc, &created, nullptr)
                                     : DDERR_NOTINITIALIZED;
    if (createResult != DD_OK) {
        DeleteObject(bitmap);
        return false;
    }
    surface = created;
    surface->Restore();

    HDC memoryDc = CreateCompatibleDC(nullptr);
    SelectObject(memoryDc, bitmap);
    HDC surfaceDc = nullptr;
    const HRESULT hr = surface->GetDC(&surfaceDc);
    if (hr != DD_OK) {
        Release();
        DeleteDC(memoryDc);
        DeleteObject(bitmap);
        return false;
    }
    // GDI converts the bitmap to the surface's pixel format on the way.
    BitBlt(surfaceDc, 0, 0, info.bmWidth, info.bmHeight, memoryDc, 0, 0, SRCCOPY);
    surface->ReleaseDC(surfaceDc);
    DeleteDC(memoryDc);
    DeleteObject(bitmap);

    ApplyColorKey(kCreationColorKey);
    return true;
}

// The key is read back from the surface after GDI's conversion, so it is the top-left colour
// in the surface's own format. Without a readable pixel no value is sure not to be a real
// colour: at 32 bits per pixel 0xFFFFFFFF is white with its unused byte set, and a driver that
// compares only a pixel's own bits reads it as white at any depth. So the key is removed
// instead; a keyed blit from a surface without a key then copies every pixel.
void Sprite::ApplyColorKey(DWORD /*fallbackKey*/) {
    if (surface == nullptr) {
        return;
    }
    DDSURFACEDESC locked{};
    locked.dwSize = sizeof(locked);
    HRESULT hr = surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr);
    if (hr == DD_OK) {
        DWORD pixel = 0;
        const bool read = ReadFirstPixel(locked, pixel);
        surface->Unlock(nullptr);
        if (read) {
            DDCOLORKEY key{};
            key.dwColorSpaceLowValue = pixel;
            key.dwColorSpaceHighValue = pixel;
            surface->SetColorKey(DDCKEY_SRCBLT, &key);
            return;
        }
    }
    surface->SetColorKey(DDCKEY_SRCBLT, nullptr);
}

HRESULT Sprite::Draw() {
    if (surface == nullptr || display == nullptr || display->backSurface == nullptr) {
        return DDERR_NOTINITIALIZED;
    }
    // Right-edge clip only; computed in 64 bits so that no position can overflow. Any other
    // overhang goes to BltFast unchanged, which refuses it and draws nothing.
    const std::int64_t room = std::int64_t{display->width} - x;
    const std::int64_t right = std::max<std::int64_t>(std::min<std::int64_t>(lastColumn, room),
                                                      std::numeric_limits<LONG>::min());
    sourceRect.right = static_cast<LONG>(right);
    return display->backSurface->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), surface,
                                         &sourceRect, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
}

void Sprite::Release() {
    if (surface != nullptr) {
        surface->Release();
        surface = nullptr;
    }
}
