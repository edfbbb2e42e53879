#include "PresentTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <vector>

namespace present_test {
namespace {

constexpr char kWindowClass[] = "ZemlarPresentTestWindow";

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The bits of a pixel that carry colour (or palette index); the unused byte of a 32-bit
// X8R8G8B8 pixel is left out, since renderers may fill it with anything.
DWORD MeaningfulBits(const DDPIXELFORMAT& format) {
    const DWORD bitCount = format.dwRGBBitCount;
    if ((format.dwFlags & DDPF_RGB) == 0 || format.dwRBitMask == 0) {
        return bitCount < 32 ? (DWORD{1} << bitCount) - 1 : 0xFFFFFFFF;
    }
    const DWORD alpha = (format.dwFlags & DDPF_ALPHAPIXELS) != 0 ? format.dwRGBAlphaBitMask : 0;
    return format.dwRBitMask | format.dwGBitMask | format.dwBBitMask | alpha;
}

DWORD ReadValue(const unsigned char* bytes, const DDPIXELFORMAT& format) {
    DWORD value = 0;
    std::memcpy(&value, bytes, (format.dwRGBBitCount + 7) / 8);
    return value & MeaningfulBits(format);
}

// Scales a colour channel into the bits that a mask selects.
DWORD PlaceChannel(BYTE channel, DWORD mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1) == 0) {
        ++shift;
    }
    const DWORD maximum = mask >> shift;
    return ((DWORD{channel} * maximum + 127) / 255) << shift;
}

}  // namespace

TestWindow::TestWindow(int clientWidth, int clientHeight, int left, int top) : handle_(nullptr) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWindowClass;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassA(&windowClass);
    // A captionless pop-up shown without activation: Wine hands captioned or active windows to
    // the X window manager and, with none running in Xvfb, waits two seconds for each one to be
    // withdrawn when it is destroyed.
    handle_ =
        CreateWindowExA(0, kWindowClass, "Zemlar present test", WS_POPUP, left, top, clientWidth,
                        clientHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(handle_, SW_SHOWNOACTIVATE);
    UpdateWindow(handle_);
    PumpMessages();
}

TestWindow::~TestWindow() {
    if (handle_ != nullptr) {
        DestroyWindow(handle_);
        PumpMessages();
    }
}

DWORD ReadPixel(IDirectDrawSurface* surface, int x, int y) {
    RECT pixel{x, y, x + 1, y + 1};
    DDSURFACEDESC locked{};
    locked.dwSize = sizeof(locked);
    const HRESULT hr = surface->Lock(&pixel, &locked, DDLOCK_WAIT | DDLOCK_READONLY, nullptr);
    EXPECT_EQ(hr, DD_OK) << "cannot lock the surface at " << x << ", " << y;
    if (hr != DD_OK) {
        return 0xDEADBEEF;
    }
    const DWORD value =
        ReadValue(static_cast<const unsigned char*>(locked.lpSurface), locked.ddpfPixelFormat);
    surface->Unlock(nullptr);
    return value;
}

SurfacePixels ReadAllPixels(IDirectDrawSurface* surface) {
    SurfacePixels pixels;
    DDSURFACEDESC locked{};
    locked.dwSize = sizeof(locked);
    const HRESULT hr = surface->Lock(nullptr, &locked, DDLOCK_WAIT | DDLOCK_READONLY, nullptr);
    EXPECT_EQ(hr, DD_OK) << "cannot lock the surface";
    if (hr != DD_OK) {
        return pixels;
    }
    pixels.width = static_cast<int>(locked.dwWidth);
    pixels.height = static_cast<int>(locked.dwHeight);
    pixels.bitCount = locked.ddpfPixelFormat.dwRGBBitCount;
    const auto* rows = static_cast<const unsigned char*>(locked.lpSurface);
    const std::uint32_t bytesPerPixel = (pixels.bitCount + 7) / 8;
    for (int row = 0; row < pixels.height; ++row) {
        const unsigned char* line = rows + static_cast<std::ptrdiff_t>(row) * locked.lPitch;
        for (int column = 0; column < pixels.width; ++column) {
            pixels.values.push_back(ReadValue(
                line + static_cast<std::size_t>(column) * bytesPerPixel, locked.ddpfPixelFormat));
        }
    }
    surface->Unlock(nullptr);
    return pixels;
}

void Fill(IDirectDrawSurface* surface, DWORD value, RECT* area) {
    DDBLTFX fill{};
    fill.dwSize = sizeof(fill);
    fill.dwFillColor = value;
    ASSERT_EQ(surface->Blt(area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill), DD_OK);
}

DWORD PixelValueOf(IDirectDrawSurface* surface, COLORREF colour) {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof(format);
    EXPECT_EQ(surface->GetPixelFormat(&format), DD_OK);
    return PlaceChannel(GetRValue(colour), format.dwRBitMask) |
           PlaceChannel(GetGValue(colour), format.dwGBitMask) |
           PlaceChannel(GetBValue(colour), format.dwBBitMask);
}

void WriteBitmapFile(const std::string& path, int width, int height,
                     const std::function<COLORREF(int, int)>& colourAt) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(rowBytes * height);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(header) + sizeof(info);
    header.bfSize = header.bfOffBits + info.biSizeImage;

    std::vector<char> rows(info.biSizeImage);
    for (int y = 0; y < height; ++y) {
        char* line = rows.data() + static_cast<std::ptrdiff_t>(height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = colourAt(x, y);
            line[x * 3] = static_cast<char>(GetBValue(colour));
            line[x * 3 + 1] = static_cast<char>(GetGValue(colour));
            line[x * 3 + 2] = static_cast<char>(GetRValue(colour));
        }
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(&header), sizeof(header));
    file.write(reinterpret_cast<const char*>(&info), sizeof(info));
    file.write(rows.data(), static_cast<std::streamsize>(rows.size()));
    ASSERT_TRUE(file.good()) << "cannot write " << path;
}

std::string TempPath(const std::string& name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "zemlar-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

}  // namespace present_test
