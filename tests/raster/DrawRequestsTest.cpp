// The scene's requests for a fixed seed and clock, folded into one number. The same constant
// must come out natively and in the Windows builds, so both front ends draw the same frames.
#include <gtest/gtest.h>

#include <cstdint>

#include "scene/FrameRender.h"
#include "scene/Random.h"
#include "scene/SceneSetUp.h"
#include "scene/SceneState.h"
#include "settings/SaverSettings.h"
#include "shell/SaverFlags.h"

namespace {

class HashingScene final : public SceneHost, public FrameSink, public SceneClock {
  public:
    std::uint64_t hash = 14695981039346656037u;  // FNV-1a.
    std::int64_t now = 0;

    void ReadSettings(SaverSettings& settings) override {
        settings = {};
        ApplyDefaultSettings(settings);
        settings.ClearScreen = 0;  // Trails, so the copy request shows up too.
    }
    void ClientSize(std::int32_t& width, std::int32_t& height) override {
        Mix(1);
        width = 800;
        height = 600;
    }
    void SetMode(std::int32_t w, std::int32_t h, std::int32_t bits) override { Mix(2, w, h, bits); }
    void SetWindowed(bool windowed) override { Mix(3, windowed ? 1 : 0); }
    void Init() override { Mix(4); }
    void Clear() override { Mix(5); }
    void Present() override { Mix(6); }
    void AttachSprite(SceneSprite s) override { Mix(7, static_cast<std::int32_t>(s)); }
    void LoadSprite(SceneSprite s) override { Mix(8, static_cast<std::int32_t>(s)); }
    void PlaceSprite(SceneSprite s, std::int32_t x, std::int32_t y) override {
        Mix(9, static_cast<std::int32_t>(s), x, y);
    }
    void CopyPrimaryToBack() override { Mix(10); }
    void DrawBall(std::int32_t sprite, std::int32_t x, std::int32_t y) override {
        Mix(11, sprite, x, y);
    }
    void DrawLogo(std::int32_t x, std::int32_t y) override { Mix(12, x, y); }
    void DrawPanel() override { Mix(13); }
    void WriteText(std::int32_t x, std::int32_t y, const char* text, std::int32_t length) override {
        Mix(14, x, y, length);
        for (std::int32_t i = 0; i < length; ++i) {
            Mix(text[i]);
        }
    }
    std::int64_t CounterFrequency() override { return 1000; }
    std::int64_t CounterValue() override { return now; }

  private:
    void Mix(std::int32_t a, std::int32_t b = 0, std::int32_t c = 0, std::int32_t d = 0) {
        for (const std::int32_t value : {a, b, c, d}) {
            for (int shift = 0; shift < 32; shift += 8) {
                hash =
                    (hash ^ (static_cast<std::uint32_t>(value) >> shift & 0xFF)) * 1099511628211u;
            }
        }
    }
};

TEST(DrawRequests, SameSeedAndClockGiveTheSameRequestsOnEveryTarget) {
    // The state a fresh process starts with.
    IsPreview = 0;
    frameCount = 0;
    zIncreasing = false;
    for (int axis = 0; axis < kSpinAxes; ++axis) {
        spinCountdown[axis] = spinSpeed[axis] = spinAngle[axis] = 0;
    }
    SeedRandom(20240607);
    HashingScene scene;
    ASSERT_TRUE(SetUpScene(scene, scene));
    // Twelve seconds at 25 frames a second: new speeds, the camera's travel, the logo leaving.
    for (int frame = 0; frame < 300; ++frame) {
        scene.now += 40;
        RenderFrame(scene, scene);
    }
    EXPECT_GT(logoX, 800 - 256);
    ReleaseScenePoints();
    EXPECT_EQ(scene.hash, 17013044058790024102u);
}

}  // namespace
