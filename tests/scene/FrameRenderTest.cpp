#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "SceneRecorder.h"
#include "scene/BallCube.h"
#include "scene/FrameRender.h"
#include "scene/Random.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A still scene on a 640 x 480 area at 40 degrees, camera at 400, no panel, no movement along
// the viewing axis; each test switches on what it looks at.
class FrameRender : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetScene();
        FillTrigTables();
        HoldSpin();
        CurrentSettings.IncZPos = 0;
        CurrentSettings.DisplayInformations = 0;
        clientWidth = 640;
        clientHeight = 480;
        projection = {0.0, 0.0, 640.0, 480.0, 40.0, 0.75};
        UpdateFocalLengths(projection);
        screenCentre = MakePoint(320.0, 240.0, 400.0, 0);
        logoX = 384;
        logoY = 352;
        counterFrequency = 1000;
        startCount = 5000;
        recorder_.counter = 5000;
    }
    void TearDown() override {
        ReleaseScenePoints();
        FillTrigTables();
    }

    // Replaces the cube by the given points, centroid at the origin.
    static void UsePoints(const std::vector<Point4>& points) {
        ReleaseScenePoints();
        const std::size_t bytes = points.size() * sizeof(Point4);
        modelPoints = static_cast<Point4*>(std::malloc(bytes));
        viewPoints = static_cast<Point4*>(std::malloc(bytes));
        for (std::size_t i = 0; i < points.size(); ++i) {
            modelPoints[i] = points[i];
        }
        pointCount = static_cast<std::int32_t>(points.size());
        centroid = {};
    }

    void SetElapsedMilliseconds(std::int64_t milliseconds) {
        recorder_.counter = startCount + milliseconds;
    }

    std::vector<Request> Frame() {
        recorder_.requests.clear();
        RenderFrame(recorder_, recorder_);
        return recorder_.requests;
    }
    std::vector<Request> FrameBalls() {
        Frame();
        return recorder_.Only(Call::DrawBall);
    }

    Recorder recorder_;
};

TEST_F(FrameRender, ProjectsAroundTheScreenCentreAtIdentity) {
    UsePoints({MakePoint(64.0, 0.0, 0.0, 1)});
    EXPECT_EQ(FrameBalls(), (std::vector<Request>{{Call::DrawBall, 1, 460, 240}}));
}

TEST_F(FrameRender, CameraDistanceSwingsBetweenNineteenAndOneThousandAndOne) {
    CurrentSettings.IncZPos = 1;
    struct Step {
        int frames;  // Frames drawn since set-up.
        double distance;
    };
    const Step steps[] = {{1, 399.0},     {381, 19.0},   {382, 20.0}, {1363, 1001.0},
                          {1364, 1000.0}, {1964, 400.0}, {2345, 19.0}};
    int drawn = 0;
    for (const Step& step : steps) {
        while (drawn < step.frames) {
            RenderFrame(recorder_, recorder_);
            ++drawn;
        }
        EXPECT_EQ(screenCentre.z, step.distance) << "after " << step.frames << " frames";
    }
}

TEST_F(FrameRender, CameraDistanceStaysInThePreviewAndWhenOff) {
    for (const bool preview : {true, false}) {
        IsPreview = preview ? 1 : 0;
        CurrentSettings.IncZPos = preview ? 1 : 0;
        screenCentre.z = 400.0;
        for (int frame = 0; frame < 500; ++frame) {
            RenderFrame(recorder_, recorder_);
            ASSERT_EQ(screenCentre.z, 400.0) << "preview " << preview << " frame " << frame;
        }
    }
}

TEST_F(FrameRender, CullsAtFinalDepthOneAndProjectsNegativeDepths) {
    screenCentre.z = 19.0;
    const double focal = projection.hFocal;
    struct DepthCase {
        double depth;  // After the camera distance is added, before the projection.
        bool drawn;
        std::int32_t x, y;
    };
    const DepthCase cases[] = {
        {-18.0, false, 0, 0},
        {-18.5, false, 0, 0},
        {-17.5, true, static_cast<std::int32_t>(320.0 + focal / -17.5 * 5.0),
         static_cast<std::int32_t>(240.0 + focal / -17.5 * 7.0)},
        // Through a negative divisor: mirrored to the other side of the centre.
        {-10.0, true, static_cast<std::int32_t>(320.0 + focal / -10.0 * 5.0),
         static_cast<std::int32_t>(240.0 + focal / -10.0 * 7.0)},
        {0.0, true, 325, 247},  // Not projected at all.
        {400.0, true, static_cast<std::int32_t>(320.0 + focal / 400.0 * 5.0),
         static_cast<std::int32_t>(240.0 + focal / 400.0 * 7.0)},
    };
    for (const DepthCase& c : cases) {
        SCOPED_TRACE(c.depth);
        UsePoints({MakePoint(5.0, 7.0, c.depth - 19.0, 0)});
        const std::vector<Request> balls = FrameBalls();
        if (c.drawn) {
            EXPECT_EQ(balls, (std::vector<Request>{{Call::DrawBall, 0, c.x, c.y}}));
        } else {
            EXPECT_TRUE(balls.empty());
        }
    }
    EXPECT_EQ(static_cast<std::int32_t>(320.0 + focal / -10.0 * 5.0), -119);
}

TEST_F(FrameRender, PixelsTruncateTowardZeroAndUnrepresentableOnesAreSkipped) {
    // A focal length equal to the depth and a centre at the origin leave x and y as they are.
    projection.hFocal = 400.0;
    projection.vFocal = 400.0;
    screenCentre = MakePoint(0.0, 0.0, 400.0, 0);
    struct PixelCase {
        double x, y;
        bool drawn;
        std::int32_t px, py;
    };
    const PixelCase cases[] = {
        {10.9, -0.7, true, 10, 0},
        {-10.9, 0.99, true, -10, 0},
        {2147483647.5, -2147483648.9, true, 2147483647, std::numeric_limits<std::int32_t>::min()},
        {2147483648.0, 0.0, false, 0, 0},
        {0.0, -2147483649.0, false, 0, 0},
        {kNaN, 0.0, false, 0, 0},
        {0.0, std::numeric_limits<double>::infinity(), false, 0, 0},
    };
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        UsePoints({MakePoint(c.x, c.y, 0.0, 0)});
        const std::vector<Request> balls = FrameBalls();
        if (c.drawn) {
            EXPECT_EQ(balls, (std::vector<Request>{{Call::DrawBall, 0, c.px, c.py}}));
        } else {
            EXPECT_TRUE(balls.empty());
        }
    }
}

TEST_F(FrameRender, ADepthNearZeroThrowsOnlyOffCentreBallsOutOfRange) {
    // 1e-9 in front of the viewer divides by almost nothing: only a ball on the axis stays.
    UsePoints({MakePoint(5.0, 0.0, -400.0 + 1e-9, 0), MakePoint(0.0, 0.0, -400.0 + 1e-9, 1)});
    EXPECT_EQ(FrameBalls(), (std::vector<Request>{{Call::DrawBall, 1, 320, 240}}));
}

TEST_F(FrameRender, DrawsFarToNear) {
    BuildBallCube(3);
    centroid = Centroid(modelPoints, pointCount);
    spinAngle[0] = 30;
    spinAngle[1] = 40;
    spinAngle[2] = 50;
    const std::vector<Request> balls = FrameBalls();
    ASSERT_EQ(balls.size(), 27u);
    int ones = 0;
    for (std::size_t i = 0; i < balls.size(); ++i) {
        const Point4& p = viewPoints[i];
        if (i > 0) {
            EXPECT_GE(viewPoints[i - 1].z, p.z);
        }
        EXPECT_EQ(balls[i], (Request{Call::DrawBall, p.sprite, static_cast<std::int32_t>(p.x),
                                     static_cast<std::int32_t>(p.y)}));
        ones += p.sprite;
    }
    EXPECT_EQ(ones, 13);
}

TEST_F(FrameRender, TheDefaultCubeShowsEveryBallInEveryFrame) {
    BuildBallCube(9);
    centroid = Centroid(modelPoints, pointCount);
    SeedRandom(12345);
    for (int axis = 0; axis < kSpinAxes; ++axis) {
        spinCountdown[axis] = -1;
    }
    for (int frame = 0; frame < 300; ++frame) {
        ASSERT_EQ(FrameBalls().size(), 729u) << frame;
        for (std::int32_t i = 0; i < pointCount; ++i) {
            ASSERT_NEAR(viewPoints[i].z, 800.0, 111.0);
        }
    }
}

TEST_F(FrameRender, IssuesItsRequestsInOrder) {
    UsePoints({MakePoint(0.0, 0.0, 0.0, 0), MakePoint(16.0, 0.0, 0.0, 1)});
    CurrentSettings.DisplayInformations = 1;
    for (const bool clear : {true, false}) {
        CurrentSettings.ClearScreen = clear ? 1 : 0;
        const std::vector<Call> expected = {
            clear ? Call::Clear : Call::CopyPrimaryToBack,
            Call::DrawBall,
            Call::DrawBall,
            Call::CounterValue,
            Call::DrawLogo,
            Call::DrawPanel,
            Call::WriteText,
            Call::Present,
        };
        Frame();
        EXPECT_EQ(recorder_.Calls(), expected) << "clear " << clear;
    }
}

TEST_F(FrameRender, WithoutBallsOnlyBackgroundLogoAndPanelAreDrawn) {
    CurrentSettings.DisplayInformations = 1;
    for (const std::int32_t n : {0, -3, 1000}) {
        BuildBallCube(n);
        Frame();
        const std::vector<Call> expected = {Call::Clear,     Call::CounterValue, Call::DrawLogo,
                                            Call::DrawPanel, Call::WriteText,    Call::Present};
        EXPECT_EQ(recorder_.Calls(), expected) << n;
    }
}

TEST_F(FrameRender, LogoLeavesOnlyAfterTenWholeSeconds) {
    struct LogoCase {
        std::int64_t milliseconds;
        std::int32_t x;
    };
    const LogoCase cases[] = {{0, 384},     {9999, 384},  {10000, 384},
                              {10999, 384}, {11000, 386}, {600000, 386}};
    for (const LogoCase& c : cases) {
        logoX = 384;
        SetElapsedMilliseconds(c.milliseconds);
        Frame();
        EXPECT_EQ(recorder_.Only(Call::DrawLogo),
                  (std::vector<Request>{{Call::DrawLogo, c.x, 352}}))
            << c.milliseconds;
    }
}

TEST_F(FrameRender, LogoIsGoneAfterTwoHundredFiftySixMoves) {
    SetElapsedMilliseconds(11000);
    for (int move = 1; move <= 256; ++move) {
        Frame();
        ASSERT_EQ(recorder_.Only(Call::DrawLogo),
                  (std::vector<Request>{{Call::DrawLogo, 384 + 2 * move, 352}}));
    }
    EXPECT_EQ(logoX, 640 + 256);
    for (int frame = 0; frame < 10; ++frame) {
        Frame();
        EXPECT_TRUE(recorder_.Only(Call::DrawLogo).empty());
    }
    EXPECT_EQ(logoX, 640 + 256);
}

TEST_F(FrameRender, TextShowsTheAverageRateOverWholeSeconds) {
    CurrentSettings.DisplayInformations = 1;
    struct RateCase {
        std::int64_t milliseconds;
        int frames;  // Panel frames drawn at that moment.
        std::string text;
    };
    const RateCase cases[] = {
        {0, 1, "0"}, {999, 250, "0"}, {2900, 30, "15"}, {10000, 600, "60"}, {10999, 659, "65"},
    };
    for (const RateCase& c : cases) {
        frameCount = 0;
        SetElapsedMilliseconds(c.milliseconds);
        std::vector<Request> text;
        for (int frame = 0; frame < c.frames; ++frame) {
            Frame();
            text = recorder_.Only(Call::WriteText);
            ASSERT_EQ(recorder_.Only(Call::DrawPanel).size(), 1u);
        }
        EXPECT_EQ(text, (std::vector<Request>{{Call::WriteText, 95, 32, 0, c.text}}))
            << c.milliseconds;
        EXPECT_EQ(frameCount, static_cast<std::uint32_t>(c.frames));
    }
}

TEST_F(FrameRender, PreviewHasNoPanelButTheLogoStillLeaves) {
    IsPreview = 1;
    CurrentSettings.DisplayInformations = 1;
    CurrentSettings.IncZPos = 1;
    SetElapsedMilliseconds(11000);
    for (int frame = 0; frame < 300; ++frame) {
        Frame();
        ASSERT_TRUE(recorder_.Only(Call::DrawPanel).empty());
        ASSERT_TRUE(recorder_.Only(Call::WriteText).empty());
    }
    EXPECT_EQ(frameCount, 0u);
    EXPECT_EQ(logoX, 640 + 256);
    EXPECT_EQ(shownValue, 11);
}

TEST_F(FrameRender, WithoutAPerformanceCounterNoTimePasses) {
    CurrentSettings.DisplayInformations = 1;
    counterFrequency = 0;
    SetElapsedMilliseconds(60000);
    for (int frame = 0; frame < 20; ++frame) {
        Frame();
    }
    EXPECT_EQ(recorder_.Only(Call::WriteText).front().text, "0");
    EXPECT_EQ(recorder_.Only(Call::DrawLogo).front().a, 384);
}

TEST_F(FrameRender, ExtremeCounterValuesDoNotOverflow) {
    CurrentSettings.DisplayInformations = 1;
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    struct ClockCase {
        std::int64_t frequency, start, now;
        std::string text;
    };
    const ClockCase cases[] = {
        {1, kMax, kMin, "1"},   // Wrapped once: one tick later.
        {1, kMin, kMax, "-1"},  // The difference wraps the other way: a clock gone backwards.
        {kMax, 0, kMax, "1"},   // One whole second of the largest frequency.
        {-5, 0, 100, "0"},      // A nonsensical frequency counts as none.
    };
    for (const ClockCase& c : cases) {
        frameCount = 0;
        counterFrequency = c.frequency;
        startCount = c.start;
        recorder_.counter = c.now;
        Frame();
        EXPECT_EQ(recorder_.Only(Call::WriteText).front().text, c.text) << c.frequency;
    }
}

TEST_F(FrameRender, RotationReadsTheTablesOnly) {
    // Doubled cosines at angle 0 scale every axis by 4 through Rz x Ry x Rx; a frame that
    // computed its own cosines would not see them.
    cosTable[0] = 2.0;
    UsePoints({MakePoint(64.0, 0.0, 0.0, 0)});
    const auto x = static_cast<std::int32_t>(320.0 + projection.hFocal / 400.0 * 256.0);
    EXPECT_EQ(FrameBalls(), (std::vector<Request>{{Call::DrawBall, 0, x, 240}}));
}

}  // namespace
