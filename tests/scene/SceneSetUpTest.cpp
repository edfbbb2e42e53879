#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "SceneRecorder.h"
#include "SceneWorkDirectory.h"
#include "scene/FrameRender.h"
#include "scene/Random.h"
#include "scene/SceneSetUp.h"

namespace {

constexpr std::int32_t kLogo = static_cast<std::int32_t>(SceneSprite::Logo);
constexpr std::int32_t kInfo = static_cast<std::int32_t>(SceneSprite::Info);
constexpr std::int32_t kBall0 = static_cast<std::int32_t>(SceneSprite::Ball0);
constexpr std::int32_t kBall1 = static_cast<std::int32_t>(SceneSprite::Ball1);

class SceneSetUp : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetScene();
        CurrentSettings = {};
        SeedRandom(1);
    }
    void TearDown() override { ReleaseScenePoints(); }

    static void WriteSettings(std::int32_t ballsPerLine, double fieldOfView) {
        SaverSettings settings{};
        settings.ClearScreen = 1;
        settings.DisplayInformations = 1;
        settings.IncZPos = 1;
        settings.FieldOfView = fieldOfView;
        settings.BallsPerLine = ballsPerLine;
        SaveSettings(settings);
    }

    SceneWorkDirectory directory_;
    Recorder recorder_;
};

TEST_F(SceneSetUp, BringsUpDisplayAndSpritesInOrder) {
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

TEST_F(SceneSetUp, WithoutASettingsFileTheDefaultSceneComesUp) {
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
}

TEST_F(SceneSetUp, ReadsBallsAndFieldOfViewFromTheFile) {
    WriteSettings(10, 60.0);
    SetUpScene(recorder_, recorder_);
    EXPECT_EQ(pointCount, 1000);
    EXPECT_EQ(projection.fov, 60.0);
    EXPECT_DOUBLE_EQ(centroid.x, -8.0);
    EXPECT_DOUBLE_EQ(centroid.z, -8.0);
}

TEST_F(SceneSetUp, PlacesCentreAndLogoFromTheClientSize) {
    struct SizeCase {
        std::int32_t width, height;
        double centreX, centreY;
        std::int32_t logoX, logoY;
    };
    const SizeCase cases[] = {
        {640, 480, 320.0, 240.0, 384, 352},
        {641, 481, 320.0, 240.0, 385, 353},  // Integer halves.
        {152, 112, 76.0, 56.0, -104, -16},   // A preview smaller than the logo.
        {0, 0, 0.0, 0.0, -256, -128},        // A client rectangle that could not be read.
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.width);
        recorder_.clientWidth = c.width;
        recorder_.clientHeight = c.height;
        SetUpScene(recorder_, recorder_);
        EXPECT_EQ(screenCentre.x, c.centreX);
        EXPECT_EQ(screenCentre.y, c.centreY);
        EXPECT_EQ(logoX, c.logoX);
        EXPECT_EQ(logoY, c.logoY);
    }
}

// Whatever the file holds, set-up and frames run; an unusable projection only leaves balls out.
TEST_F(SceneSetUp, AnyFieldOfViewOrBallCountRuns) {
    const double fovs[] = {0.0,
                           180.0,
                           1e300,
                           -40.0,
                           360.0,
                           std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::denorm_min()};
    const std::int32_t counts[] = {3, 0, -7, 5000, std::numeric_limits<std::int32_t>::max()};
    for (const double fov : fovs) {
        for (const std::int32_t n : counts) {
            SCOPED_TRACE(testing::Message() << "fov " << fov << " n " << n);
            WriteSettings(n, fov);
            ResetScene();
            recorder_.requests.clear();
            SetUpScene(recorder_, recorder_);
            recorder_.requests.clear();
            for (int frame = 0; frame < 50; ++frame) {
                RenderFrame(recorder_, recorder_);
            }
            const std::vector<Request> balls = recorder_.Only(Call::DrawBall);
            EXPECT_LE(balls.size(), 50u * static_cast<std::size_t>(pointCount));
            EXPECT_EQ(recorder_.Only(Call::Present).size(), 50u);
            if (!(fov != 0.0 && fov == fov)) {
                EXPECT_TRUE(balls.empty()) << "no focal length, no ball";
            }
        }
    }
}

}  // namespace
