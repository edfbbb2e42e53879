// The scene's requests for a fixed seed and clock, folded into one number. The same constant
// must come out natively and in the Windows builds, so both front ends draw the same frames.
#include <gtest/gtest.h>

#include <cstdint>

#include "scene/FrameRender.h"
#include "scene/Random.h"
#include "scene/SceneSetUp.h"
#include "tests/scene/SceneRecorder.h"

namespace {

TEST(DrawRequests, SameSeedAndClockGiveTheSameRequestsOnEveryTarget) {
    ResetScene();
    SeedRandom(20240607);
    CurrentSettings.ClearScreen = 0;  // Trails, so the copy request shows up too.
    Recorder scene;
    scene.width = 800;
    scene.height = 600;
    scene.keepSettings = true;
    ASSERT_TRUE(SetUpScene(scene, scene));
    std::uint64_t hash = 14695981039346656037u;  // FNV-1a over every request's text.
    // Twelve seconds at 25 frames a second: new speeds, the camera's travel, the logo leaving.
    for (int frame = 0; frame < 300; ++frame) {
        scene.counter += 40;
        RenderFrame(scene, scene);
        for (const std::string& entry : scene.log) {
            for (const char c : entry + '\n') {
                hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
            }
        }
        scene.log.clear();
    }
    EXPECT_GT(logoX, 800 - 256);
    ReleaseScenePoints();
    EXPECT_EQ(hash, 9561471573980636324u);
}

}  // namespace
