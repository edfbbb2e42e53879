#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "SceneRecorder.h"
#include "scene/FrameRender.h"
#include "scene/Random.h"
#include "scene/SceneSetUp.h"

namespace {

namespace fs = std::filesystem;

// Each test runs in a fresh working directory, so set-up reads the settings file the test
// wrote or finds none.
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
    static void WriteSettings(std::int32_t ballsPerLine, double fieldOfView) {
        SaveSettings(SaverSettings{1, 1, 1, {}, fieldOfView, ballsPerLine, {}});
    }

    const fs::path previous_ = fs::current_path();
    const fs::path directory_ =
        fs::temp_directory_path() /
        ("zemlar-scene-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    Recorder recorder_;
};

TEST_F(SceneSetUp, BringsUpDisplayAndSpritesInOrder) {
    constexpr auto kLogo = static_cast<std::int32_t>(SceneSprite::Logo);
    constexpr auto kInfo = static_cast<std::int32_t>(SceneSprite::Info);
    constexpr auto kBall0 = static_cast<std::int32_t>(SceneSprite::Ball0);
    constexpr auto kBall1 = static_cast<std::int32_t>(SceneSprite::Ball1);
    for (const std::int32_t preview : {0, 1}) {
        IsPreview = preview;
        recorder_.requests.clear();
        recorder_.counter = 777;
        EXPECT_TRUE(SetUpScene(recorder_, recorder_));
        const std::vector<Request> expected = {{Call::ClientSize},
                                               {Call::SetMode, 640, 480, 16},
                                               {Call::SetWindowed, preview},
                                               {Call::Init},
                                               {Call::Clear},
                                               {Call::Present},
                                               {Call::Clear},
                                               {Call::AttachSprite, kLogo},
                                               {Call::AttachSprite, kInfo},
                                               {Call::AttachSprite, kBall0},
                                               {Call::AttachSprite, kBall1},
                                               {Call::LoadSprite, kBall0},
                                               {Call::LoadSprite, kBall1},
                                               {Call::LoadSprite, kLogo},
                                               {Call::LoadSprite, kInfo},
                                               {Call::PlaceSprite, kLogo, 384, 352},
                                               {Call::PlaceSprite, kInfo, 0, 0},
                                               {Call::CounterFrequency},
                                               {Call::CounterValue}};
        EXPECT_EQ(recorder_.requests, expected);
        EXPECT_EQ(counterFrequency, 1000);
        EXPECT_EQ(startCount, 777);
    }
}

TEST_F(SceneSetUp, BuildsTheSceneFromTheFileOrTheDefaults) {
    SetUpScene(recorder_, recorder_);
    EXPECT_EQ(pointCount, 729);
    EXPECT_EQ(screenCentre.z, 400.0);
    EXPECT_EQ(screenCentre.w, 1.0);
    EXPECT_NEAR(projection.hFocal, 879.677, 1e-3);
    EXPECT_NEAR(projection.vFocal, 879.677, 1e-3);
    EXPECT_NEAR(centroid.x, 0.0, 1e-12);
    for (int axis = 0; axis < kSpinAxes; ++axis) {
        EXPECT_EQ(spinCountdown[axis], -1);  // The first frame draws all three speeds.
        EXPECT_EQ(spinAngle[axis], 0);
    }
    EXPECT_EQ(NextRandom(), 41) << "set-up draws no random number";

    WriteSettings(10, 60.0);
    SetUpScene(recorder_, recorder_);
    EXPECT_EQ(pointCount, 1000);
    EXPECT_EQ(projection.fov, 60.0);
    EXPECT_DOUBLE_EQ(centroid.x, -8.0);
    EXPECT_DOUBLE_EQ(centroid.z, -8.0);
}

TEST_F(SceneSetUp, PlacesCentreAndLogoFromTheClientSize) {
    const std::int32_t cases[][6] = {
        // width, height, centre x, centre y, logo x, logo y
        {640, 480, 320, 240, 384, 352},
        {641, 481, 320, 240, 385, 353},  // Integer halves.
        {152, 112, 76, 56, -104, -16},   // A preview smaller than the logo.
        {0, 0, 0, 0, -256, -128},        // A client rectangle that could not be read.
    };
    for (const auto& c : cases) {
        recorder_.clientWidth = c[0];
        recorder_.clientHeight = c[1];
        SetUpScene(recorder_, recorder_);
        EXPECT_EQ(screenCentre.x, c[2]) << c[0];
        EXPECT_EQ(screenCentre.y, c[3]) << c[0];
        EXPECT_EQ(logoX, c[4]) << c[0];
        EXPECT_EQ(logoY, c[5]) << c[0];
    }
}

// Whatever the file holds, set-up and frames run; without a usable focal length no ball shows.
TEST_F(SceneSetUp, AnyFieldOfViewOrBallCountRuns) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    for (const double fov : {0.0, 180.0, 1e300, -40.0, 360.0, kNaN, kInfinity, 5e-324}) {
        for (const std::int32_t n : {3, 0, -7, 5000, std::numeric_limits<std::int32_t>::max()}) {
            SCOPED_TRACE(testing::Message() << "fov " << fov << " n " << n);
            WriteSettings(n, fov);
            ResetScene();
            SetUpScene(recorder_, recorder_);
            recorder_.requests.clear();
            for (int frame = 0; frame < 50; ++frame) {
                RenderFrame(recorder_, recorder_);
            }
            const std::size_t balls = recorder_.Only(Call::DrawBall).size();
            EXPECT_LE(balls, 50u * static_cast<std::size_t>(pointCount));
            EXPECT_EQ(recorder_.Only(Call::Present).size(), 50u);
            if (fov == 0.0 || fov != fov) {
                EXPECT_EQ(balls, 0u) << "no focal length, no ball";
            }
        }
    }
}

}  // namespace
