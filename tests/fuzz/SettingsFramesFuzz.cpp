// Arbitrary bytes (at most 64) as the settings file in a private working directory, loaded into
// a zero-filled record as at process start, then set-up and frames on a 640 x 480 screen and a
// 152 x 112 preview. Nothing may crash or be undefined, the cube stays within its cap, every
// other frame allocates nothing and the rest hand over exactly the requests their state calls
// for. Bytes 24 on give the seed, the counter frequency and the ticks per frame. A run by hand
// names its -artifact_prefix: a crash happens in the private directory.

#include <sanitizer/allocator_interface.h>

#include <algorithm>
#include <climits>
#include <cmath>
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

// Big cubes cost seconds per frame under the sanitizers: ZEMLAR_FUZZ_BALLS_PER_LINE_LIMIT makes
// a run skip files whose cube would have more balls per line (counts above the cap build no
// cube and always run).
std::int32_t ballsPerLineLimit = INT32_MAX;
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

bool HasPixel(double coordinate) {  // Its truncation toward zero is a 32-bit int.
    return std::isfinite(coordinate) && std::trunc(coordinate) >= INT32_MIN &&
           std::trunc(coordinate) <= INT32_MAX;
}

// The software renderer draws every other frame into memory made once, so that what the frame
// and its drawing allocate can be counted; the sanitizers watch its writes near the edges.
std::uint32_t pixels[640 * 480];
struct MemoryPresenter final : FramePresenter {
    FrameBuffer MakeFrame(std::int32_t w, std::int32_t h) override { return {pixels, w, h, w}; }
    void ShowFrame() override {}
};
struct FixedClock final : SceneClock {
    std::int64_t now = 0;
    std::int64_t CounterFrequency() override { return 0; }
    std::int64_t CounterValue() override { return now; }
};
bool counting;
std::size_t allocations;
void CountAllocation(const volatile void*, std::size_t) {
    allocations += counting ? 1 : 0;
}
void IgnoreFree(const volatile void*) {}

// The frame that the state it left behind calls for; the logo only where the frame drew one.
Log ExpectedFrame(const Log& drawn, std::int32_t height) {
    Log frame{CurrentSettings.ClearScreen != 0 ? "clear" : "copy"};
    for (std::int32_t i = 0; i < pointCount; ++i) {
        const Point4& p = viewPoints[i];
        Require(i == 0 || viewPoints[i - 1].z >= p.z, "view points not sorted far to near");
        if (p.z > 1.0 && HasPixel(p.x) && HasPixel(p.y)) {
            frame.push_back(Entry("ball", p.sprite, static_cast<std::int32_t>(p.x),
                                  static_cast<std::int32_t>(p.y)));
        }
    }
    if (frame.size() < drawn.size() && drawn[frame.size()].starts_with("logo")) {
        frame.push_back(Entry("logo", logoX, height - 128));
    }
    if (IsPreview == 0 && CurrentSettings.DisplayInformations != 0) {
        frame.push_back("panel");
        frame.push_back(Entry("text", 95, 32, shownValue));
    }
    frame.push_back("present");
    return frame;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* limit = std::getenv("ZEMLAR_FUZZ_BALLS_PER_LINE_LIMIT")) {
        ballsPerLineLimit = static_cast<std::int32_t>(std::strtol(limit, nullptr, 10));
    }
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
        (record.BallsPerLine > ballsPerLineLimit && record.BallsPerLine <= kMaxBallsPerLine)) {
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
        SeedRandom(Read<std::uint32_t>(data, size, 24, 0x5EED));
        IsPreview = preview ? 1 : 0;
        Recorder rec;
        rec.width = preview ? 152 : 640;
        rec.height = preview ? 112 : 480;
        rec.frequency = Read<std::int64_t>(data, size, 28, 1000);
        Require(SetUpScene(rec, rec), "set-up reported failure");
        const std::int32_t n = CurrentSettings.BallsPerLine;
        Require(pointCount == (n > 0 && n <= kMaxBallsPerLine ? n * n * n : 0) &&
                    (pointCount == 0) == (modelPoints == nullptr) &&
                    (pointCount == 0) == (viewPoints == nullptr),
                "the cube is not the size its settings and the cap allow");
        MemoryPresenter presenter;
        RasterScreen screen(presenter);
        screen.SetClientSize(rec.width, rec.height);
        screen.Host().SetMode(rec.width, rec.height, 16);
        screen.Host().Init();
        for (const auto sprite :
             {SceneSprite::Ball0, SceneSprite::Ball1, SceneSprite::Logo, SceneSprite::Info}) {
            screen.Host().AttachSprite(sprite);
            screen.Host().LoadSprite(sprite);
        }
        FixedClock quiet;
        for (int frame = 0; frame < 4; ++frame) {
            rec.log.clear();
            rec.counter = quiet.now = static_cast<std::int64_t>(
                static_cast<std::uint64_t>(rec.counter) + static_cast<std::uint64_t>(ticks));
            if (frame % 2 == 1) {  // Every other frame: it allocates nothing.
                allocations = 0;
                counting = true;
                RenderFrame(screen.Sink(), quiet);
                counting = false;
                Require(allocations == 0, "a frame allocated memory");
                continue;
            }
            RenderFrame(rec, rec);
            std::erase(rec.log, "counter");  // Only what reaches the display and the sprites.
            Require(rec.log == ExpectedFrame(rec.log, rec.height), "a frame out of shape");
        }
        ReleaseScenePoints();
    }
    return 0;
}
