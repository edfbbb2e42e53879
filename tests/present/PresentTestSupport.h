#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Display;

namespace present_test {

// A visible top-level window whose client area has the given size, destroyed with the object.
class TestWindow {
  public:
    TestWindow(int clientWidth, int clientHeight, int left = 100, int top = 100);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND handle() const { return handle_; }

  private:
    HWND handle_;
};

// Pixel value at (x, y) in the surface's own format, colour bits only (lock a 1 x 1 rectangle,
// read, unlock).
// Fails the current test and returns 0xDEADBEEF when the surface cannot be locked.
DWORD ReadPixel(IDirectDrawSurface* surface, int x, int y);

// Every pixel value of the surface (colour bits only), row by row, read in one lock.
struct SurfacePixels {
    int width = 0;
    int height = 0;
    std::uint32_t bitCount = 0;
    std::vector<DWORD> values;
    DWORD at(int x, int y) const { return values[static_cast<std::size_t>(y * width + x)]; }
};
SurfacePixels ReadAllPixels(IDirectDrawSurface* surface);

// Fills the whole surface (or one rectangle of it) with one pixel value.
void Fill(IDirectDrawSurface* surface, DWORD value, RECT* area = nullptr);

// The surface's pixel value for an opaque RGB colour, from its channel masks.
DWORD PixelValueOf(IDirectDrawSurface* surface, COLORREF colour);

// Writes a 24-bit bottom-up bitmap file whose pixels come from colourAt(x, y).
void WriteBitmapFile(const std::string& path, int width, int height,
                     const std::function<COLORREF(int, int)>& colourAt);

// A file name under the temporary folder that is unique to this process.
std::string TempPath(const std::string& name);

}  // namespace present_test
