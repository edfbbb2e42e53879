#include <gtest/gtest.h>

#include <cstring>

#include "PresentTestSupport.h"
#include "present/Display.h"
#include "present/Sprite.h"

using present_test::TestWindow;

namespace {

// The first bytes of every surface under test; the key must take only the pixel's own bytes.
constexpr unsigned char kLeadingBytes[] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};

struct Depth {
    DWORD bitCount;
    DWORD flags;
    DWORD redMask;
    DWORD greenMask;
    DWORD blueMask;
    DWORD expectedKey;
};

class ColorKey : public ::testing::TestWithParam<Depth> {
  protected:
    void SetUp() override {
        screen.SetMode(64, 64, 16);
        screen.SetWindowed(true);
        ASSERT_TRUE(screen.Init(window.handle()))
            << "DirectDraw did not start in a window (is DISPLAY set to a running X server?)";
    }
    void TearDown() override {
        sprite.Release();
        screen.Release();
    }

    // A small system-memory surface of the given format, its first bytes set.
    void MakeSurface(const Depth& depth) {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = 8;
        desc.dwHeight = 4;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        desc.ddpfPixelFormat.dwSize = sizeof(desc.ddpfPixelFormat);
        desc.ddpfPixelFormat.dwFlags = depth.flags;
        desc.ddpfPixelFormat.dwRGBBitCount = depth.bitCount;
        desc.ddpfPixelFormat.dwRBitMask = depth.redMask;
        desc.ddpfPixelFormat.dwGBitMask = depth.greenMask;
        desc.ddpfPixelFormat.dwBBitMask = depth.blueMask;
        ASSERT_EQ(screen.directDraw->CreateSurface(&desc, &sprite.surface, nullptr), DD_OK)
            << depth.bitCount << " bits per pixel";

        DDSURFACEDESC locked{};
        locked.dwSize = sizeof(locked);
        ASSERT_EQ(sprite.surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
        std::memcpy(locked.lpSurface, kLeadingBytes, sizeof(kLeadingBytes));
        sprite.surface->Unlock(nullptr);
    }

    HRESULT CurrentKey(DDCOLORKEY& key) { return sprite.surface->GetColorKey(DDCKEY_SRCBLT, &key); }

    TestWindow window{64, 64};
    Display screen;
    Sprite sprite{&screen};
};

TEST_P(ColorKey, IsTheTopLeftPixelAtTheSurfacesDepth) {
    const Depth& depth = GetParam();
    MakeSurface(depth);
    sprite.ApplyColorKey(0xFFFFFFFF);

    DDCOLORKEY key{};
    ASSERT_EQ(CurrentKey(key), DD_OK);
    EXPECT_EQ(key.dwColorSpaceLowValue, depth.expectedKey);
    EXPECT_EQ(key.dwColorSpaceHighValue, depth.expectedKey);
}

// When the surface cannot be locked there is no pixel to read; the surface is left with no
// source key at all rather than with a value that might match real colours.
TEST_P(ColorKey, UnlockableSurfaceKeepsNoKey) {
    MakeSurface(GetParam());
    DDCOLORKEY creationKey{0xFFFFFFFF, 0xFFFFFFFF};
    sprite.surface->SetColorKey(DDCKEY_SRCBLT, &creationKey);

    DDSURFACEDESC held{};
    held.dwSize = sizeof(held);
    ASSERT_EQ(sprite.surface->Lock(nullptr, &held, DDLOCK_WAIT, nullptr), DD_OK);
    sprite.ApplyColorKey(0xFFFFFFFF);
    sprite.surface->Unlock(nullptr);

    DDCOLORKEY key{};
    EXPECT_EQ(CurrentKey(key), DDERR_NOCOLORKEY);
}

INSTANTIATE_TEST_SUITE_P(
    Depths, ColorKey,
    ::testing::Values(Depth{8, DDPF_RGB | DDPF_PALETTEINDEXED8, 0, 0, 0, 0x11},
                      Depth{16, DDPF_RGB, 0xF800, 0x07E0, 0x001F, 0x2211},
                      Depth{16, DDPF_RGB, 0x7C00, 0x03E0, 0x001F, 0x2211},
                      Depth{24, DDPF_RGB, 0xFF0000, 0x00FF00, 0x0000FF, 0x332211},
                      Depth{32, DDPF_RGB, 0xFF0000, 0x00FF00, 0x0000FF, 0x44332211}),
    [](const auto& depth) {
        return std::to_string(depth.param.bitCount) + "Bits" +
               (depth.param.greenMask == 0x03E0 ? "555" : "");
    });

}  // namespace
