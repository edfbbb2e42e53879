// One whole software frame, as the X11 program draws it: the scene's arithmetic and the sprite
// drawing into a 1920 x 1080 frame in memory, without X.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "raster/RasterScreen.h"
#include "raster/SteadyClock.h"
#include "scene/FrameRender.h"
#include "scene/Random.h"
#include "scene/SceneSetUp.h"
#include "scene/SceneState.h"
#include "settings/SaverSettings.h"

namespace {

class MemoryPresenter final : public FramePresenter {
  public:
    FrameBuffer MakeFrame(std::int32_t width, std::int32_t height) override {
        pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        return {pixels.data(), width, height, width};
    }
    void ShowFrame() override {}
    std::vector<std::uint32_t> pixels;
};

void BM_SoftwareFrame1080p(benchmark::State& state) {
    MemoryPresenter presenter;
    RasterScreen screen(presenter);
    SteadyClock clock;
    ApplyDefaultSettings(CurrentSettings);
    CurrentSettings.BallsPerLine = static_cast<std::int32_t>(state.range(0));
    frameCount = 0;
    SeedRandom(1);
    screen.SetClientSize(1920, 1080);
    SetUpScene(screen.Host(), clock);
    for (auto _ : state) {
        RenderFrame(screen.Sink(), clock);
        benchmark::DoNotOptimize(presenter.pixels.data());
    }
    state.counters["balls"] = static_cast<double>(pointCount);
    ReleaseScenePoints();
}
BENCHMARK(BM_SoftwareFrame1080p)->Arg(9)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

}  // namespace
