// Arbitrary bytes (at most 64) as the settings file in a private working directory, loaded into
// a zero-filled record as at process start, then set-up and frames on a 640 x 480 screen and a
// 152 x 112 preview, drawn by the software renderer. Nothing may crash or be undefined, the
// cube stays within its cap, frames sort far to near and allocate nothing.
// Bytes 24 on give the seed, the counter frequency and the ticks per frame. A run by hand names
// its -artifact_prefix: a crash happens in the private directory.

#include <sanitizer/allocator_interface.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "scene/BallCube.h"
#include "scene/FrameRender.h"
#include "scene/Random.h"
#include "scene/SceneSetUp.h"
#include "raster/RasterScreen.h"
#include "tests/scene/SceneRecorder.h"

namespace {

// Big cubes cost seconds per frame under the sanitizers, so files with more balls a line are
// skipped (counts above the cap build no cube and always run). The cube's own limits are tested.
constexpr std::int32_t kBallsPerLineLimit = 20;
std::filesystem::path workDirectory;

template <typename T>
T Read(const std::uint8_t* data, std::size_t size, std::size_t at, T fallback) {
    T value = fallback;
    if (size >= at + sizeof(T)) {
        std::memcpy(&value, data + at, sizeof value);
    }
    return value;
}

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "settings through frames: %s\n", what);
        std::abort();
    }
}

// The software renderer draws the frames into memory made once, so that what the frame
// and its drawing allocate can be counted; the sanitizers watch its writes near the edges.
std::uint32_t pixels[640 * 480];
struct MemoryPresenter final : FramePresenter {
    FrameBuffer MakeFrame(std::int32_t w, std::int32_t h) override { return {pixels, w, h, w}; }
    void ShowFrame() override {}
};
struct FixedClock final : SceneClock {
    std::int64_t frequency = 0, now = 0;
    std::int64_t CounterFrequency() override { return frequency; }
    std::int64_t CounterValue() override { return now; }
};
bool counting;
std::size_t allocations;
void CountAllocation(const volatile void*, std::size_t) {
    allocations += counting ? 1 : 0;
}
void IgnoreFree(const volatile void*) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A directory of this process's own, so that parallel fuzzing jobs never share the file.
    std::string pattern = (std::filesystem::temp_directory_path() / "zemlar-fuzz-XXXXXX").string();
    Require(mkdtemp(pattern.data()) != nullptr, "cannot create a working directory");
    workDirectory = pattern;
    std::atexit([] {
        std::error_code error;
        std::filesystem::remove_all(workDirectory, error);
    });
    std::filesystem::current_path(workDirectory);
    Require(__sanitizer_install_malloc_and_free_hooks(CountAllocation, IgnoreFree) != 0,
            "cannot count allocations");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SaverSettings record{};
    if (size > 0) {
        std::memcpy(&record, data, std::min(size, sizeof record));
    }
    if (size > 64 ||
        (record.BallsPerLine > kBallsPerLineLimit && record.BallsPerLine <= kMaxBallsPerLine)) {
        return -1;  // Not a file this target considers; keeps it out of the corpus.
    }
    std::FILE* file = std::fopen(kSettingsFileName, "wb");
    Require(file != nullptr && (size == 0 || std::fwrite(data, size, 1, file) == 1),
            "cannot write");
    Require(std::fclose(file) == 0, "cannot close the settings file");
    const auto ticks = Read<std::int64_t>(data, size, 36, 5500);  // The logo moves from frame 2.

    for (const bool preview : {false, true}) {
        ResetScene();
        CurrentSettings = {};
        LoadSettings(CurrentSettings);  // The software screen leaves the settings to its caller.
        SeedRandom(Read<std::uint32_t>(data, size, 24, 0x5EED));
        IsPreview = preview ? 1 : 0;
        MemoryPresenter presenter;
        RasterScreen screen(presenter);
        screen.SetClientSize(preview ? 152 : 640, preview ? 112 : 480);
        FixedClock clock;
        clock.frequency = Read<std::int64_t>(data, size, 28, 1000);
        Require(SetUpScene(screen.Host(), clock), "set-up reported failure");
        const std::int32_t n = CurrentSettings.BallsPerLine;
        Require(pointCount == (n > 0 && n <= kMaxBallsPerLine ? n * n * n : 0) &&
                    (pointCount == 0) == (modelPoints == nullptr) &&
                    (pointCount == 0) == (viewPoints == nullptr),
                "the cube is not the size its settings and the cap allow");
        for (int frame = 0; frame < 4; ++frame) {
            clock.now = static_cast<std::int64_t>(static_cast<std::uint64_t>(clock.now) +
                                                  static_cast<std::uint64_t>(ticks));
            allocations = 0;
            counting = true;  // A frame allocates nothing.
            RenderFrame(screen.Sink(), clock);
            counting = false;
            Require(allocations == 0, "a frame allocated memory");
            for (std::int32_t i = 1; i < pointCount; ++i) {
                Require(viewPoints[i - 1].z >= viewPoints[i].z, "view points not sorted");
            }
        }
        ReleaseScenePoints();
    }
    return 0;
}
