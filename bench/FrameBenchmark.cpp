// The frame's computation on its own: camera step, spin, rotation, projection, sort, culling,
// clock and logo arithmetic, with a sink that draws nothing.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "scene/BallCube.h"
#include "scene/FrameRender.h"
#include "scene/Random.h"
#include "scene/SceneState.h"
#include "scene/TrigTables.h"
#include "settings/SaverSettings.h"

namespace {

class NullSink final : public FrameSink, public SceneClock {
  public:
    std::int64_t balls = 0;

    void Clear() override {}
    void CopyPrimaryToBack() override {}
    void DrawBall(std::int32_t, std::int32_t, std::int32_t) override { ++balls; }
    void DrawLogo(std::int32_t, std::int32_t) override {}
    void DrawPanel() override {}
    void WriteText(std::int32_t, std::int32_t, const char*, std::int32_t) override {}
    void Present() override {}
    std::int64_t CounterFrequency() override { return 1000; }
    std::int64_t CounterValue() override { return 0; }
};

void PrepareScene(std::int32_t ballsPerLine) {
    CurrentSettings = {};
    CurrentSettings.ClearScreen = 1;
    CurrentSettings.DisplayInformations = 1;
    CurrentSettings.IncZPos = 1;
    CurrentSettings.FieldOfView = 40.0;
    CurrentSettings.BallsPerLine = ballsPerLine;
    SeedRandom(1);
    FillTrigTables();
    BuildBallCube(ballsPerLine);
    centroid = Centroid(modelPoints, pointCount);
    clientWidth = 1024;
    clientHeight = 768;
    projection = {0.0, 0.0, 1024.0, 768.0, 40.0, 0.75};
    UpdateFocalLengths(projection);
    screenCentre = MakePoint(512.0, 384.0, 400.0, 0);
    logoX = 1024 - 256;
    logoY = 768 - 128;
    counterFrequency = 1000;
    startCount = 0;
    frameCount = 0;
    for (int axis = 0; axis < kSpinAxes; ++axis) {
        spinCountdown[axis] = -1;
        spinSpeed[axis] = 0;
        spinAngle[axis] = 0;
    }
}

void BM_FrameComputation(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    PrepareScene(n);
    NullSink sink;
    for (auto _ : state) {
        RenderFrame(sink, sink);
    }
    state.counters["balls"] = static_cast<double>(pointCount);
    state.SetItemsProcessed(state.iterations() * pointCount);
    ReleaseScenePoints();
}
BENCHMARK(BM_FrameComputation)->Arg(9)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

}  // namespace
