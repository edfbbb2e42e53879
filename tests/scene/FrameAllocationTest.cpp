// Counts every allocation the frame makes. Replacing the global operator new affects the whole
// executable, so this test lives in an executable of its own.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <new>

#include "SceneRecorder.h"
#include "raster/RasterScreen.h"
#include "scene/BallCube.h"
#include "scene/FrameRender.h"
#include "scene/Random.h"

namespace {

bool counting;
std::int64_t allocations;

}  // namespace

#ifndef _WIN32
// The linker routes the scene library's malloc and calloc calls here (--wrap), so a direct
// allocation in the frame is counted as well as one through operator new.
extern "C" {
void* __real_malloc(std::size_t size);
void* __real_calloc(std::size_t count, std::size_t size);
void* __wrap_malloc(std::size_t size) {
    allocations += counting ? 1 : 0;
    return __real_malloc(size);
}
void* __wrap_calloc(std::size_t count, std::size_t size) {
    allocations += counting ? 1 : 0;
    return __real_calloc(count, size);
}
}
#endif  // _WIN32

void* operator new(std::size_t size) {
    allocations += counting ? 1 : 0;
#ifdef _WIN32
    void* memory = std::malloc(size == 0 ? 1 : size);
#else
    void* memory = __real_malloc(size == 0 ? 1 : size);
#endif  // _WIN32
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}
// Kept out of line: inlined into a caller of operator new, the free would look mismatched.
[[gnu::noinline]] void Release(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory) noexcept {
    Release(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    Release(memory);
}
namespace {

std::int64_t CountAllocations(void (*work)()) {
    allocations = 0;
    counting = true;
    work();
    counting = false;
    return allocations;
}

TEST(FrameAllocation, FramesAllocateNothing) {
    // The counter sees operator new and, natively, the scene library's own two arrays.
    // Called through a pointer the compiler cannot see through, so the pair is not elided.
    static void* (*volatile allocate)(std::size_t) = ::operator new;
    EXPECT_EQ(CountAllocations([] { ::operator delete(allocate(4)); }), 1);
#ifndef _WIN32
    EXPECT_EQ(CountAllocations([] { BuildBallCube(2); }), 2);
#endif  // _WIN32

    SetUpStillScene();  // Every option on: trails, panel, camera movement, spin.
    CurrentSettings.ClearScreen = 0;
    SeedRandom(7);
    BuildBallCube(9);
    centroid = Centroid(modelPoints, pointCount);
    spinCountdown[0] = spinCountdown[1] = spinCountdown[2] = -1;
    // The recorder's log has room for a frame, so recording allocates nothing either.
    static Recorder recorder;
    recorder.requests.reserve(1000);
    EXPECT_EQ(CountAllocations([] {
                  for (int frame = 0; frame < 3000; ++frame) {
                      recorder.requests.clear();
                      recorder.counter += 17;  // About sixty frames a second.
                      RenderFrame(recorder, recorder);
                  }
              }),
              0);
    EXPECT_EQ(recorder.Only(Call::DrawBall).size(), 729u);
    EXPECT_EQ(frameCount, 3000u);
    EXPECT_EQ(logoX, 640 + 256) << "the logo's departure ran";

    // The software renderer draws the same frames into memory made at set-up.
    static std::vector<std::uint32_t> pixels(640 * 480);
    struct MemoryPresenter final : FramePresenter {
        FrameBuffer MakeFrame(std::int32_t w, std::int32_t h) override {
            return {pixels.data(), w, h, w};
        }
        void ShowFrame() override {}
    };
    static MemoryPresenter presenter;
    static RasterScreen screen(presenter);
    screen.Host().SetMode(640, 480, 16);
    screen.Host().Init();
    for (const SceneSprite sprite :
         {SceneSprite::Ball0, SceneSprite::Ball1, SceneSprite::Logo, SceneSprite::Info}) {
        screen.Host().AttachSprite(sprite);
        screen.Host().LoadSprite(sprite);
    }
    logoX = 384;
    EXPECT_EQ(CountAllocations([] {
                  for (int frame = 0; frame < 300; ++frame) {
                      recorder.requests.clear();  // It only keeps the clock here.
                      RenderFrame(screen.Sink(), recorder);
                  }
              }),
              0);
    EXPECT_NE(std::count(pixels.begin(), pixels.end(), 0u), 640 * 480) << "nothing was drawn";
    ReleaseScenePoints();
}

}  // namespace
