#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "SceneRecorder.h"
#include "scene/Random.h"
#include "scene/SceneSetUp.h"

namespace {

namespace fs = std::filesystem;

// Each test runs in a fresh working directory, so set-up reads the file the test wrote or none.
class SceneSetUp : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(directory_);
        fs::current_path(directory_);
        ResetScene();
        CurrentSettings = {};
        SeedRandom(1);
    }
    void TearDown() override {
        ReleaseScenePoints();
        fs::current_path(previous_);
        fs::remove_all(directory_);
    }
    static void WriteSettings(std::int32_t balls, double fieldOfView) {
        SaveSettings(SaverSettings{1, 1, 1, {}, fieldOfView, balls, {}});
    }

    const fs::path previous_ = fs::current_path();
    const fs::path directory_ =
        fs::temp_directory_path() /
        ("zemlar-scene-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    Recorder rec;
};

// Sprites 0..3 are ball 0, ball 1, logo and panel.
TEST_F(SceneSetUp, BringsUpDisplayAndSpritesInOrder) {
    for (const int preview : {0, 1}) {
        IsPreview = preview;
        rec.log.clear();
        rec.counter = 777;
        EXPECT_TRUE(SetUpScene(rec, rec));
        EXPECT_EQ(rec.log, (Log{"size", "mode 640 480 16", Entry("windowed", preview), "init",
                                "clear", "present", "clear", "attach 2", "attach 3", "attach 0",
                                "attach 1", "load 0", "load 1", "load 2", "load 3",
                                "place 2 384 352", "place 3 0 0", "frequency", "counter"}));
        EXPECT_EQ(counterFrequency, 1000);
        EXPECT_EQ(startCount, 777);
    }
}

TEST_F(SceneSetUp, BuildsTheSceneFromTheFileOrTheDefaults) {
    SetUpScene(rec, rec);
    EXPECT_EQ(pointCount, 729);
    EXPECT_EQ(screenCentre.z, 400.0);
    EXPECT_EQ(screenCentre.w, 1.0);
    for (int axis = 0; axis < kSpinAxes; ++axis) {
        EXPECT_EQ(spinCountdown[axis], -1);  // The first frame draws all three speeds.
        EXPECT_EQ(spinAngle[axis], 0);
    }
    EXPECT_EQ(NextRandom(), 41) << "set-up draws no random number";

    WriteSettings(10, 60.0);
    SetUpScene(rec, rec);
    EXPECT_EQ(pointCount, 1000);
    EXPECT_EQ(projection.fov, 60.0);
    EXPECT_DOUBLE_EQ(centroid.x, -8.0);  // Set-up centres the rotation on the cube.
}

TEST_F(SceneSetUp, PlacesCentreAndLogoFromTheClientSize) {
    const std::int32_t cases[][6] = {
        // width, height, centre x, centre y, logo x, logo y
        {640, 480, 320, 240, 384, 352},
        {641, 481, 320, 240, 385, 353},
        {152, 112, 76, 56, -104, -16},  // A preview smaller than the logo.
        {0, 0, 0, 0, -256, -128},       // A client rectangle that could not be read.
    };
    for (const auto& c : cases) {
        rec.width = c[0];
        rec.height = c[1];
        SetUpScene(rec, rec);
        EXPECT_EQ(screenCentre.x, c[2]) << c[0];
        EXPECT_EQ(screenCentre.y, c[3]) << c[0];
        EXPECT_EQ(logoX, c[4]) << c[0];
        EXPECT_EQ(logoY, c[5]) << c[0];
    }
}

}  // namespace
