// Counts every allocation the frame makes. Replacing the global operator new affects the whole
// executable, so these tests live in an executable of their own.
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

bool countingAllocations;
std::int64_t allocationCount;

}  // namespace

#ifndef _WIN32
// The linker routes malloc and calloc calls of the scene library and of this file
// here (--wrap), so a direct allocation in the frame is counted as well as one through
// operator new.
extern "C" {
void* __real_malloc(std::size_t size);
void* __real_calloc(std::size_t count, std::size_t size);

void* __wrap_malloc(std::size_t size) {
    if (countingAllocations) {
        ++allocationCount;
    }
    return __real_malloc(size);
}
void* __wrap_calloc(std::size_t count, std::size_t size) {
    if (countingAllocations) {
        ++allocationCount;
    }
    return __real_calloc(count, size);
}
}
#endif  // _WIN32

namespace {

// Takes memory without counting it a second time.
void* UncountedMalloc(std::size_t size) {
#ifdef _WIN32
    return std::malloc(size);
#else
    return __real_malloc(size);
#endif  // _WIN32
}

void* CountedAllocation(std::size_t size) {
    if (countingAllocations) {
        ++allocationCount;
    }
    void* memory = UncountedMalloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

}  // namespace

void* operator new(std::size_t size) {
    return CountedAllocation(size);
}
void* operator new[](std::size_t size) {
    return CountedAllocation(size);
}
// The library's nothrow forms call these.
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

// Records nothing, so that the sink itself allocates nothing.
class CountingSink final : public FrameSink, public SceneClock {
  public:
    std::int64_t requests = 0;
    std::int64_t counter = 0;

    void Clear() override { ++requests; }
    void CopyPrimaryToBack() override { ++requests; }
    void DrawBall(std::int32_t, std::int32_t, std::int32_t) override { ++requests; }
    void DrawLogo(std::int32_t, std::int32_t) override { ++requests; }
    void DrawPanel() override { ++requests; }
    void WriteText(std::int32_t, std::int32_t, const char*, std::int32_t) override { ++requests; }
    void Present() override { ++requests; }
    std::int64_t CounterFrequency() override { return 1000; }
    std::int64_t CounterValue() override {
        counter += 17;  // About sixty frames a second.
        return counter;
    }
};

class CountedRegion {
  public:
    CountedRegion() {
        allocationCount = 0;
        countingAllocations = true;
    }
    ~CountedRegion() { countingAllocations = false; }
    CountedRegion(const CountedRegion&) = delete;
    CountedRegion& operator=(const CountedRegion&) = delete;
};

TEST(FrameAllocation, TheCounterSeesAllocations) {
    {
        CountedRegion region;
        delete new int(1);
    }
    EXPECT_EQ(allocationCount, 1);
#ifndef _WIN32
    {
        // The scene library's own two arrays come from malloc.
        CountedRegion region;
        BuildBallCube(2);
    }
    EXPECT_EQ(allocationCount, 2);
    ReleaseScenePoints();
#endif  // _WIN32
}

TEST(FrameAllocation, FramesAllocateNothing) {
    ResetScene();
    FillTrigTables();
    SeedRandom(7);
    CurrentSettings.ClearScreen = 0;  // Every option on: trails, panel, camera movement.
    clientWidth = 640;
    clientHeight = 480;
    projection = {0.0, 0.0, 640.0, 480.0, 40.0, 0.75};
    UpdateFocalLengths(projection);
    screenCentre = MakePoint(320.0, 240.0, 400.0, 0);
    logoX = 384;
    logoY = 352;
    BuildBallCube(9);
    centroid = Centroid(modelPoints, pointCount);
    spinCountdown[0] = spinCountdown[1] = spinCountdown[2] = -1;

    CountingSink sink;
    counterFrequency = sink.CounterFrequency();
    startCount = 0;
    {
        CountedRegion region;
        for (int frame = 0; frame < 3000; ++frame) {
            RenderFrame(sink, sink);
        }
    }
    EXPECT_EQ(allocationCount, 0);
    EXPECT_GT(sink.requests, 3000 * 729);
    EXPECT_EQ(frameCount, 3000u);
    EXPECT_EQ(logoX, 640 + 256) << "the logo's departure ran";
    ReleaseScenePoints();
}

}  // namespace
