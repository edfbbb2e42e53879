// Counts every allocation the frame makes. Replacing the global operator new affects the whole
// executable, so this test lives in an executable of its own.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "SceneRecorder.h"
#include "scene/BallCube.h"
#include "scene/FrameRender.h"
#include "scene/Random.h"

namespace {

bool counting;
std::int64_t allocations;

}  // namespace

#ifndef _WIN32
// The linker routes the scene library's malloc calls here (--wrap), so a direct allocation in
// the frame is counted as well as one through operator new.
extern "C" {
void* __real_malloc(std::size_t size);
void* __wrap_malloc(std::size_t size) {
    allocations += counting ? 1 : 0;
    return __real_malloc(size);
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

// Counts the balls of the last frame without storing anything; about sixty frames a second.
struct CountingSink final : FrameSink, SceneClock {
    std::int64_t balls = 0, ms = 0;
    void Clear() override { balls = 0; }
    void CopyPrimaryToBack() override { balls = 0; }
    void DrawBall(std::int32_t, std::int32_t, std::int32_t) override { ++balls; }
    void DrawLogo(std::int32_t, std::int32_t) override {}
    void DrawPanel() override {}
    void WriteText(std::int32_t, std::int32_t, const char*, std::int32_t) override {}
    void Present() override {}
    std::int64_t CounterFrequency() override { return 1000; }
    std::int64_t CounterValue() override { return ms += 17; }
};

std::int64_t CountAllocations(void (*work)()) {
    allocations = 0;
    counting = true;
    work();
    counting = false;
    return allocations;
}

TEST(FrameAllocation, FramesAllocateNothing) {
    // The counter sees operator new and, natively, the scene library's own two arrays. Called
    // through a pointer the compiler cannot see through, so the pair is not elided.
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
    static CountingSink sink;
    EXPECT_EQ(CountAllocations([] {
                  for (int frame = 0; frame < 3000; ++frame) {
                      RenderFrame(sink, sink);
                  }
              }),
              0);
    EXPECT_EQ(sink.balls, 729);
    EXPECT_EQ(frameCount, 3000u);
    EXPECT_EQ(logoX, 640 + 256) << "the logo's departure ran";
    ReleaseScenePoints();
}

}  // namespace
