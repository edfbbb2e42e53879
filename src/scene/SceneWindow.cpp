#include "scene/SceneWindow.h"

#include <ddraw.h>

#include <cstdint>

#include "present/Display.h"
#include "present/Sprite.h"
#include "res/ResourceIds.h"
#include "scene/FrameRender.h"
#include "scene/SceneSetUp.h"
#include "scene/SceneState.h"
#include "shell/SaverFlags.h"

HWND sceneWindow;

namespace {

Sprite& SpriteFor(SceneSprite which) {
    switch (which) {
        case SceneSprite::Ball0:
            return ballSprites[0];
        case SceneSprite::Ball1:
            return ballSprites[1];
        case SceneSprite::Logo:
            return logoSprite;
        case SceneSprite::Info:
            break;
    }
    return infoSprite;
}

int ResourceFor(SceneSprite which) {
    switch (which) {
        case SceneSprite::Ball0:
            return IDB_BALL0;
        case SceneSprite::Ball1:
            return IDB_BALL1;
        case SceneSprite::Logo:
            return IDB_LOGO;
        case SceneSprite::Info:
            break;
    }
    return IDB_PANEL;
}

class PerformanceClock final : public SceneClock {
  public:
    // Results are not tested: without a counter the frequency stays 0 and the scene treats
    // that as a clock that never advances.
    std::int64_t CounterFrequency() override {
        LARGE_INTEGER value{};
        QueryPerformanceFrequency(&value);
        return value.QuadPart;
    }
    std::int64_t CounterValue() override {
        LARGE_INTEGER value{};
        QueryPerformanceCounter(&value);
        return value.QuadPart;
    }
};

class WindowHost final : public SceneHost {
  public:
    void ClientSize(std::int32_t& width, std::int32_t& height) override {
        RECT client{};
        GetClientRect(sceneWindow, &client);
        width = client.right;
        height = client.bottom;
    }
    void SetMode(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) override {
        display.SetMode(width, height, bitsPerPixel);
    }
    void SetWindowed(bool windowed) override { display.SetWindowed(windowed); }
    void Init() override { display.Init(sceneWindow); }
    void Clear() override { display.Clear(); }
    void Present() override { display.Present(); }
    void AttachSprite(SceneSprite sprite) override { SpriteFor(sprite).SetDisplay(&display); }
    void LoadSprite(SceneSprite sprite) override {
        SpriteFor(sprite).Load(MAKEINTRESOURCEA(ResourceFor(sprite)), true);
    }
    void PlaceSprite(SceneSprite sprite, std::int32_t x, std::int32_t y) override {
        Sprite& placed = SpriteFor(sprite);
        placed.x = x;
        placed.y = y;
    }
};

class DisplaySink final : public FrameSink {
  public:
    void Clear() override { display.Clear(); }
    void CopyPrimaryToBack() override { display.CopyPrimaryToBack(); }
    void DrawBall(std::int32_t sprite, std::int32_t x, std::int32_t y) override {
        // The same two sprites are moved and drawn over and over; each draw uses the position
        // just set.
        Sprite& ball = ballSprites[sprite == 0 ? 0 : 1];
        ball.x = x;
        ball.y = y;
        ball.Draw();
    }
    void DrawLogo(std::int32_t x, std::int32_t y) override {
        logoSprite.x = x;
        logoSprite.y = y;
        logoSprite.Draw();
    }
    void DrawPanel() override { infoSprite.Draw(); }
    void WriteText(std::int32_t x, std::int32_t y, const char* text, std::int32_t length) override {
        // Without a back surface or its device context there is nothing to write on; the text
        // is left out of this frame.
        IDirectDrawSurface* surface = display.backSurface;
        if (surface == nullptr) {
            return;
        }
        HDC dc = nullptr;
        const HRESULT hr = surface->GetDC(&dc);
        if (FAILED(hr) || dc == nullptr) {
            return;
        }
        SetBkMode(dc, TRANSPARENT);
        TextOutA(dc, x, y, text, length);
        surface->ReleaseDC(dc);
    }
    void Present() override { display.Present(); }
};

}  // namespace

bool SetUpScene(HWND window) {
    sceneWindow = window;
    WindowHost host;
    PerformanceClock clock;
    return SetUpScene(host, clock);
}

void RenderFrame() {
    DisplaySink sink;
    PerformanceClock clock;
    RenderFrame(sink, clock);
}

void RenderIdleFrame() {
    if (IsPreview == 0) {
        RenderFrame();
    }
}
