// SortByDepth against the plain transcription it must agree with and against std::sort of the
// same records by descending depth, all three timed in the same iterations on the same inputs:
// cubes of n^3 balls at rest (each layer shares one depth) or turned by generic angles (a new
// turn each iteration, as frames bring, so no branch history carries over).
//
// The Time column is SortByDepth's; the counters give each sort's mean time in microseconds and
// the ratios to std::sort. The reference is quadratic at rest, so it is timed only until it has
// used kReferenceBudget seconds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

#include "scene/DepthSort.h"
#include "scene/Matrix4.h"
#include "scene/TrigTables.h"
#include "tests/scene/ReferenceDepthSort.h"

namespace {

constexpr double kReferenceBudget = 0.5;

using Angles = std::array<int, 3>;  // About x, y and z, in whole degrees.

constexpr std::array<Angles, 8> kGenericTurns = {{{37, 101, 250},
                                                  {10, 20, 30},
                                                  {200, 45, 77},
                                                  {123, 321, 11},
                                                  {5, 300, 170},
                                                  {88, 8, 222},
                                                  {301, 150, 33},
                                                  {64, 199, 281}}};

// The cube as a frame hands it to the sort: built layer by layer, 16 apart around the origin,
// turned by Rz x Ry x Rx about its centroid and pushed back by 800.
std::vector<Point4> TurnedCube(int n, const Angles& angles) {
    FillTrigTables();
    Matrix4 m;
    SetSpinRotation(m, angles[0], angles[1], angles[2]);
    const double origin = -(n >> 1) * 16.0;
    std::vector<Point4> points;
    for (int iz = 0; iz < n; ++iz) {
        for (int iy = 0; iy < n; ++iy) {
            for (int ix = 0; ix < n; ++ix) {
                points.push_back(MakePoint(origin + 16 * ix, origin + 16 * iy, origin + 16 * iz,
                                           static_cast<std::int32_t>(points.size() & 1)));
            }
        }
    }
    const Point4 centre = Centroid(points.data(), static_cast<std::int32_t>(points.size()));
    for (Point4& p : points) {
        p = Transform(Subtract(p, centre), m);
        p.z += 800.0;
    }
    return points;
}

void StdSortByDepth(std::vector<Point4>& points) {
    std::sort(points.begin(), points.end(),
              [](const Point4& a, const Point4& b) { return a.z > b.z; });
}

// Restores the unsorted records, then returns the seconds that sort takes on them.
template <typename Sort>
double TimeOneSort(const std::vector<Point4>& source, std::vector<Point4>& points, Sort sort) {
    std::copy(source.begin(), source.end(), points.begin());
    const auto start = std::chrono::steady_clock::now();
    sort(points);
    const auto stop = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(points.data());
    benchmark::ClobberMemory();
    return std::chrono::duration<double>(stop - start).count();
}

void BM_DepthSortAgainstStdSort(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    const bool turned = state.range(1) != 0;
    std::vector<std::vector<Point4>> inputs;
    if (turned) {
        for (const Angles& angles : kGenericTurns) {
            inputs.push_back(TurnedCube(n, angles));
        }
    } else {
        inputs.push_back(TurnedCube(n, {0, 0, 0}));
    }
    const auto last = static_cast<std::int32_t>(inputs[0].size()) - 1;
    std::vector<Point4> points = inputs[0];

    double sortTotal = 0.0;
    double stdTotal = 0.0;
    double referenceTotal = 0.0;
    std::int64_t referenceRuns = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        const std::vector<Point4>& source = inputs[next];
        next = (next + 1) % inputs.size();
        const double sortTime = TimeOneSort(
            source, points, [last](std::vector<Point4>& p) { SortByDepth(0, last, p.data()); });
        stdTotal += TimeOneSort(source, points, StdSortByDepth);
        if (referenceTotal < kReferenceBudget) {
            referenceTotal += TimeOneSort(source, points, [last](std::vector<Point4>& p) {
                reference::SortByDepth(0, last, p.data());
            });
            ++referenceRuns;
        }
        sortTotal += sortTime;
        state.SetIterationTime(sortTime);
    }

    const auto runs = static_cast<double>(state.iterations());
    const double sortMean = sortTotal / runs;
    const double stdMean = stdTotal / runs;
    const double referenceMean = referenceTotal / static_cast<double>(referenceRuns);
    state.counters["balls"] = static_cast<double>(last + 1);
    state.counters["sort_us"] = sortMean * 1e6;
    state.counters["reference_us"] = referenceMean * 1e6;
    state.counters["std_sort_us"] = stdMean * 1e6;
    state.counters["sort/std"] = sortMean / stdMean;
    state.counters["reference/std"] = referenceMean / stdMean;
}
BENCHMARK(BM_DepthSortAgainstStdSort)
    ->ArgNames({"n", "turned"})
    ->ArgsProduct({{9, 20, 40, 60}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
