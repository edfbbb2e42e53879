#include <gtest/gtest.h>

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
constexpr double kInf = std::numeric_limits<double>::infinity();

// A still 640 x 480 scene at 40 degrees, camera at 400, the logo in its corner, a millisecond
// clock started at 0, no balls, no panel and no movement along the viewing axis; each test
// switches on what it looks at.
class FrameRender : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetScene();
        FillTrigTables();
        HoldSpin();
        clientWidth = 640;
        clientHeight = 480;
        projection = {0.0, 0.0, 640.0, 480.0, 40.0, 0.75};
        UpdateFocalLengths(projection);
        screenCentre = MakePoint(320.0, 240.0, 400.0, 0);
        logoX = 384;
        logoY = 352;
        counterFrequency = 1000;
        CurrentSettings.IncZPos = CurrentSettings.DisplayInformations = 0;
    }
    void TearDown() override {
        ReleaseScenePoints();
        FillTrigTables();
    }
    // Replaces the cube by the given points, centroid at the origin.
    static void UsePoints(const std::vector<Point4>& points) {
        ReleaseScenePoints();
        pointCount = static_cast<std::int32_t>(points.size());
        modelPoints = static_cast<Point4*>(std::malloc(points.size() * sizeof(Point4)));
        viewPoints = static_cast<Point4*>(std::malloc(points.size() * sizeof(Point4)));
        std::copy(points.begin(), points.end(), modelPoints);
        centroid = {};
    }
    Log Frame(const char* only) {
        rec.log.clear();
        RenderFrame(rec, rec);
        return rec.Only(only);
    }
    Log BallsOf(double x, double y, double z) {
        UsePoints({MakePoint(x, y, z, 0)});
        return Frame("ball");
    }
    Recorder rec;
};

// Depth after the camera distance (19) is added; the cull looks at it with the distance added
// once more, and a depth of 0 is not projected at all.
TEST_F(FrameRender, ProjectsCullsAndSkipsUnprojectableDepths) {
    EXPECT_EQ(BallsOf(64.0, 0.0, 0.0), (Log{"ball 0 460 240"}));
    screenCentre.z = 19.0;
    const double focal = projection.hFocal;
    const auto at = [focal](double depth) {
        return Log{Entry("ball", 0, static_cast<std::int32_t>(320.0 + focal / depth * 5.0),
                         static_cast<std::int32_t>(240.0 + focal / depth * 7.0))};
    };
    const std::pair<double, Log> cases[] = {
        {-18.0, {}},
        {-18.5, {}},
        {-17.5, at(-17.5)},
        {-10.0, at(-10.0)},  // Mirrored through a negative divisor.
        {0.0, {"ball 0 325 247"}},
        {1e-9, {}},
        {400.0, at(400.0)},
    };
    for (const auto& [depth, balls] : cases) {
        EXPECT_EQ(BallsOf(5.0, 7.0, depth - 19.0), balls) << depth;
    }
    EXPECT_EQ(at(-10.0)[0], "ball 0 -119 -375");
}

TEST_F(FrameRender, PixelsTruncateTowardZeroAndUnrepresentableOnesAreSkipped) {
    projection.hFocal = projection.vFocal = 400.0;  // Equal to the depth: x and y stay.
    screenCentre = MakePoint(0.0, 0.0, 400.0, 0);
    const struct {
        double x, y;
        Log balls;
    } cases[] = {
        {10.9, -0.7, {"ball 0 10 0"}},
        {-10.9, 0.99, {"ball 0 -10 0"}},
        {2147483647.5, -2147483648.9, {"ball 0 2147483647 -2147483648"}},
        {2147483648.0, 0.0, {}},
        {0.0, -2147483649.0, {}},
        {kNaN, 0.0, {}},
        {0.0, kInf, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BallsOf(c.x, c.y, 0.0), c.balls) << c.x << ", " << c.y;
    }
}

// Doubled cosines at angle 0 scale every axis by 4 through Rz x Ry x Rx; a frame that computed
// its own cosines would not see them.
TEST_F(FrameRender, RotationReadsTheTablesOnly) {
    cosTable[0] = 2.0;
    const auto x = static_cast<std::int32_t>(320.0 + projection.hFocal / 400.0 * 256.0);
    EXPECT_EQ(BallsOf(64.0, 0.0, 0.0), (Log{Entry("ball", 0, x, 240)}));
}

TEST_F(FrameRender, CameraDistanceSwingsBetweenNineteenAndOneThousandAndOne) {
    CurrentSettings.IncZPos = 1;
    const std::pair<int, double> steps[] = {{1, 399.0},     {381, 19.0},    {382, 20.0},
                                            {1363, 1001.0}, {1364, 1000.0}, {1964, 400.0},
                                            {2345, 19.0}};
    for (int drawn = 0; const auto& [frames, distance] : steps) {
        for (; drawn < frames; ++drawn) {
            RenderFrame(rec, rec);
        }
        EXPECT_EQ(screenCentre.z, distance) << "after " << frames << " frames";
    }
    for (const int preview : {1, 0}) {  // The preview, and the option off, keep the distance.
        IsPreview = CurrentSettings.IncZPos = static_cast<std::uint8_t>(preview);
        screenCentre.z = 400.0;
        for (int frame = 0; frame < 500; ++frame) {
            RenderFrame(rec, rec);
        }
        EXPECT_EQ(screenCentre.z, 400.0) << "preview " << preview;
    }
}

TEST_F(FrameRender, IssuesItsRequestsInOrder) {
    CurrentSettings.DisplayInformations = 1;
    UsePoints({MakePoint(0.0, 0.0, 0.0, 0), MakePoint(16.0, 0.0, 0.0, 1)});
    for (const int clear : {1, 0}) {
        CurrentSettings.ClearScreen = static_cast<std::uint8_t>(clear);
        Frame("");
        EXPECT_EQ(rec.log, (Log{clear ? "clear" : "copy", "ball 0 320 240", "ball 1 355 240",
                                "counter", "logo 384 352", "panel", "text 95 32 0", "present"}));
    }
    for (const std::int32_t n : {0, -3, 1000}) {
        BuildBallCube(n);
        Frame("");
        EXPECT_EQ(rec.log,
                  (Log{"copy", "counter", "logo 384 352", "panel", "text 95 32 0", "present"}))
            << n;
    }
}

// The preview draws no panel, but its logo leaves all the same.
TEST_F(FrameRender, LogoLeavesTwoPixelsAFrameAfterTenWholeSeconds) {
    for (const auto& [ms, x] : {std::pair{0, 384}, {10000, 384}, {10999, 384}, {11000, 386}}) {
        logoX = 384;
        rec.counter = ms;
        EXPECT_EQ(Frame("logo"), (Log{Entry("logo", x, 352)})) << ms;
    }
    IsPreview = CurrentSettings.DisplayInformations = 1;
    logoX = 384;
    for (int move = 1; move <= 256; ++move) {
        ASSERT_EQ(Frame("logo"), (Log{Entry("logo", 384 + 2 * move, 352)}));
        ASSERT_EQ(rec.Only("panel").size() + rec.Only("text").size(), 0u);
    }
    EXPECT_TRUE(Frame("logo").empty());
    EXPECT_EQ(logoX, 640 + 256);
    EXPECT_EQ(frameCount, 0u);
    EXPECT_EQ(shownValue, 11);
}

// The average over whole seconds. Without a performance counter no time passes: the rate reads
// 0 and the logo stays. Counter differences wrap instead of overflowing.
TEST_F(FrameRender, TextShowsTheAverageRateEvenOnOddClocks) {
    CurrentSettings.DisplayInformations = 1;
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    const struct {
        std::int64_t frequency, start, now;
        int frames;  // Panel frames drawn at that moment.
        const char* text;
    } cases[] = {
        {1000, 0, 0, 1, "0"},        {1000, 0, 999, 250, "0"},    {1000, 0, 2900, 30, "15"},
        {1000, 0, 10000, 600, "60"}, {1000, 0, 10999, 659, "65"}, {0, 0, 60000, 1, "0"},
        {-5, 0, 100, 1, "0"},        {1, kMax, kMin, 1, "1"},     {1, kMin, kMax, 1, "-1"},
        {kMax, 0, kMax, 1, "1"},
    };
    for (const auto& c : cases) {
        frameCount = 0;
        counterFrequency = c.frequency;
        startCount = c.start;
        rec.counter = c.now;
        Log text;
        for (int frame = 0; frame < c.frames; ++frame) {
            text = Frame("text");
            ASSERT_EQ(rec.Only("panel").size(), 1u);
        }
        EXPECT_EQ(text, (Log{std::string("text 95 32 ") + c.text})) << c.frequency << " " << c.now;
        EXPECT_EQ(frameCount, static_cast<std::uint32_t>(c.frames));
    }
    EXPECT_EQ(logoX, 384);
}

}  // namespace
