#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "SceneRecorder.h"
#include "scene/BallCube.h"
#include "scene/FrameRender.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
using Requests = std::vector<Request>;

// The still scene with no panel and no movement along the viewing axis; each test switches
// on what it looks at.
class FrameRender : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpStillScene();
        CurrentSettings.IncZPos = 0;
        CurrentSettings.DisplayInformations = 0;
    }
    void TearDown() override {
        ReleaseScenePoints();
        FillTrigTables();
    }

    // Replaces the cube by the given points, centroid at the origin.
    static void UsePoints(const std::vector<Point4>& points) {
        ReleaseScenePoints();
        modelPoints = static_cast<Point4*>(std::malloc(points.size() * sizeof(Point4)));
        viewPoints = static_cast<Point4*>(std::malloc(points.size() * sizeof(Point4)));
        std::copy(points.begin(), points.end(), modelPoints);
        pointCount = static_cast<std::int32_t>(points.size());
        centroid = {};
    }
    Requests Frame(Call only) {
        recorder_.requests.clear();
        RenderFrame(recorder_, recorder_);
        return recorder_.Only(only);
    }
    Requests BallsOf(const Point4& point) {
        UsePoints({point});
        return Frame(Call::DrawBall);
    }

    Recorder recorder_;
};

TEST_F(FrameRender, ProjectsCullsAndSkipsUnprojectableDepths) {
    // 640 x 480 at identity rotation: (64, 0, 0) lands at (460, 240).
    EXPECT_EQ(BallsOf(MakePoint(64.0, 0.0, 0.0, 1)), (Requests{{Call::DrawBall, 1, 460, 240}}));
    screenCentre.z = 19.0;  // The nearest camera distance.
    const double focal = projection.hFocal;
    const auto at = [focal](double depth) {
        return Requests{{Call::DrawBall, 0, static_cast<std::int32_t>(320.0 + focal / depth * 5.0),
                         static_cast<std::int32_t>(240.0 + focal / depth * 7.0)}};
    };
    // Depth after the camera distance is added, before the projection; the cull looks at the
    // depth with the distance added once more.
    const struct {
        double depth;
        Requests balls;
    } cases[] = {
        {-18.0, {}},
        {-18.5, {}},
        {-17.5, at(-17.5)},
        {-10.0, at(-10.0)},  // Through a negative divisor: mirrored to the other side.
        {0.0, {{Call::DrawBall, 0, 325, 247}}},  // Not projected at all.
        {1e-9, {}},  // Divided by almost nothing: far outside the int range.
        {400.0, at(400.0)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BallsOf(MakePoint(5.0, 7.0, c.depth - 19.0, 0)), c.balls) << c.depth;
    }
    EXPECT_EQ(at(-10.0)[0].b, -119);
}

TEST_F(FrameRender, PixelsTruncateTowardZeroAndUnrepresentableOnesAreSkipped) {
    // A focal length equal to the depth and a centre at the origin keep x and y as they are.
    projection.hFocal = projection.vFocal = 400.0;
    screenCentre = MakePoint(0.0, 0.0, 400.0, 0);
    constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
    const struct {
        double x, y;
        Requests balls;
    } cases[] = {
        {10.9, -0.7, {{Call::DrawBall, 0, 10, 0}}},
        {-10.9, 0.99, {{Call::DrawBall, 0, -10, 0}}},
        {2147483647.5, -2147483648.9, {{Call::DrawBall, 0, 2147483647, kIntMin}}},
        {2147483648.0, 0.0, {}},
        {0.0, -2147483649.0, {}},
        {kNaN, 0.0, {}},
        {0.0, std::numeric_limits<double>::infinity(), {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BallsOf(MakePoint(c.x, c.y, 0.0, 0)), c.balls) << c.x << ", " << c.y;
    }
}

TEST_F(FrameRender, RotationReadsTheTablesOnly) {
    // Doubled cosines at angle 0 scale every axis by 4 through Rz x Ry x Rx; a frame that
    // computed its own cosines would not see them.
    cosTable[0] = 2.0;
    const auto x = static_cast<std::int32_t>(320.0 + projection.hFocal / 400.0 * 256.0);
    EXPECT_EQ(BallsOf(MakePoint(64.0, 0.0, 0.0, 0)), (Requests{{Call::DrawBall, 0, x, 240}}));
}

TEST_F(FrameRender, CameraDistanceSwingsBetweenNineteenAndOneThousandAndOne) {
    CurrentSettings.IncZPos = 1;
    // Frames drawn since set-up, and the distance then.
    const std::pair<int, double> steps[] = {{1, 399.0},     {381, 19.0},    {382, 20.0},
                                            {1363, 1001.0}, {1364, 1000.0}, {1964, 400.0},
                                            {2345, 19.0}};
    for (int drawn = 0; const auto& [frames, distance] : steps) {
        for (; drawn < frames; ++drawn) {
            RenderFrame(recorder_, recorder_);
        }
        EXPECT_EQ(screenCentre.z, distance) << "after " << frames << " frames";
    }
    // The preview, and the option off, keep the distance.
    for (const bool preview : {true, false}) {
        IsPreview = preview ? 1 : 0;
        CurrentSettings.IncZPos = preview ? 1 : 0;
        screenCentre.z = 400.0;
        for (int frame = 0; frame < 500; ++frame) {
            RenderFrame(recorder_, recorder_);
        }
        EXPECT_EQ(screenCentre.z, 400.0) << "preview " << preview;
    }
}

TEST_F(FrameRender, DrawsFarToNear) {
    BuildBallCube(3);
    centroid = Centroid(modelPoints, pointCount);
    spinAngle[0] = 30;
    spinAngle[1] = 40;
    spinAngle[2] = 50;
    const Requests balls = Frame(Call::DrawBall);
    ASSERT_EQ(balls.size(), 27u);
    int ones = 0;
    for (std::size_t i = 0; i < balls.size(); ++i) {
        const Point4& p = viewPoints[i];
        EXPECT_GE(viewPoints[i == 0 ? 0 : i - 1].z, p.z);
        EXPECT_EQ(balls[i], (Request{Call::DrawBall, p.sprite, static_cast<std::int32_t>(p.x),
                                     static_cast<std::int32_t>(p.y)}));
        ones += p.sprite;
    }
    EXPECT_EQ(ones, 13);
}

TEST_F(FrameRender, IssuesItsRequestsInOrder) {
    CurrentSettings.DisplayInformations = 1;
    UsePoints({MakePoint(0.0, 0.0, 0.0, 0), MakePoint(16.0, 0.0, 0.0, 1)});
    for (const bool clear : {true, false}) {
        CurrentSettings.ClearScreen = clear ? 1 : 0;
        Frame(Call::Present);
        EXPECT_EQ(recorder_.Calls(),
                  (std::vector<Call>{clear ? Call::Clear : Call::CopyPrimaryToBack, Call::DrawBall,
                                     Call::DrawBall, Call::CounterValue, Call::DrawLogo,
                                     Call::DrawPanel, Call::WriteText, Call::Present}))
            << "clear " << clear;
    }
    for (const std::int32_t n : {0, -3, 1000}) {
        BuildBallCube(n);
        Frame(Call::Present);
        EXPECT_EQ(recorder_.Calls(),
                  (std::vector<Call>{Call::CopyPrimaryToBack, Call::CounterValue, Call::DrawLogo,
                                     Call::DrawPanel, Call::WriteText, Call::Present}))
            << n;
    }
}

TEST_F(FrameRender, LogoLeavesTwoPixelsAFrameAfterTenWholeSeconds) {
    for (const auto& [milliseconds, x] :
         {std::pair{0, 384}, {9999, 384}, {10000, 384}, {10999, 384}, {11000, 386}}) {
        logoX = 384;
        recorder_.counter = milliseconds;
        EXPECT_EQ(Frame(Call::DrawLogo), (Requests{{Call::DrawLogo, x, 352}})) << milliseconds;
    }
    logoX = 384;
    for (int move = 1; move <= 256; ++move) {
        ASSERT_EQ(Frame(Call::DrawLogo), (Requests{{Call::DrawLogo, 384 + 2 * move, 352}}));
    }
    for (int frame = 0; frame < 10; ++frame) {
        EXPECT_TRUE(Frame(Call::DrawLogo).empty());
    }
    EXPECT_EQ(logoX, 640 + 256);
}

TEST_F(FrameRender, TextShowsTheAverageRateOverWholeSeconds) {
    CurrentSettings.DisplayInformations = 1;
    const struct {
        std::int64_t milliseconds;
        int frames;  // Panel frames drawn at that moment.
        std::string text;
    } cases[] = {
        {0, 1, "0"}, {999, 250, "0"}, {2900, 30, "15"}, {10000, 600, "60"}, {10999, 659, "65"},
    };
    for (const auto& c : cases) {
        frameCount = 0;
        recorder_.counter = c.milliseconds;
        Requests text;
        for (int frame = 0; frame < c.frames; ++frame) {
            text = Frame(Call::WriteText);
            ASSERT_EQ(recorder_.Only(Call::DrawPanel).size(), 1u);
        }
        EXPECT_EQ(text, (Requests{{Call::WriteText, 95, 32, 0, c.text}})) << c.milliseconds;
        EXPECT_EQ(frameCount, static_cast<std::uint32_t>(c.frames));
    }
}

TEST_F(FrameRender, PreviewHasNoPanelButTheLogoStillLeaves) {
    IsPreview = 1;
    CurrentSettings.DisplayInformations = 1;
    recorder_.counter = 11000;
    for (int frame = 0; frame < 300; ++frame) {
        ASSERT_TRUE(Frame(Call::DrawPanel).empty());
        ASSERT_TRUE(recorder_.Only(Call::WriteText).empty());
    }
    EXPECT_EQ(frameCount, 0u);
    EXPECT_EQ(logoX, 640 + 256);
    EXPECT_EQ(shownValue, 11);
}

// Without a performance counter no time passes: the rate reads 0 and the logo stays. Counter
// differences wrap instead of overflowing.
TEST_F(FrameRender, OddClocksNeitherDivideByZeroNorOverflow) {
    CurrentSettings.DisplayInformations = 1;
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    const struct {
        std::int64_t frequency, start, now;
        std::string text;
    } cases[] = {
        {0, 0, 60000, "0"},    {-5, 0, 100, "0"},  // None, or a nonsensical one.
        {1, kMax, kMin, "1"},                      // Wrapped once: one tick later.
        {1, kMin, kMax, "-1"},                     // Wrapped the other way: a clock gone backwards.
        {kMax, 0, kMax, "1"},                      // One whole second of the largest frequency.
    };
    for (const auto& c : cases) {
        frameCount = 0;
        counterFrequency = c.frequency;
        startCount = c.start;
        recorder_.counter = c.now;
        EXPECT_EQ(Frame(Call::WriteText).front().text, c.text) << c.frequency;
    }
    EXPECT_EQ(logoX, 384);
}

}  // namespace
