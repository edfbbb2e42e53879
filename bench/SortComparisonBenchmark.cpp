// SortByDepth against std::sort of the same records, as a frame hands them over: the cube's
// points turned and projected, in model order.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "scene/BallCube.h"
#include "scene/DepthSort.h"
#include "scene/Matrix4.h"
#include "scene/SceneState.h"
#include "scene/TrigTables.h"

namespace {

// The cube of n balls per line turned by a fixed rotation, depth pushed back by 400.
std::vector<Point4> TurnedCube(std::int32_t n) {
    FillTrigTables();
    BuildBallCube(n);
    Matrix4 rx;
    Matrix4 ry;
    Matrix4 rz;
    Matrix4 m;
    SetRotationX(rx, 31);
    SetRotationY(ry, 47);
    SetRotationZ(rz, 113);
    SetIdentity(m);
    Multiply(m, rz, m);
    Multiply(m, ry, m);
    Multiply(m, rx, m);
    std::vector<Point4> points;
    for (std::int32_t i = 0; i < pointCount; ++i) {
        Point4 p = Transform(modelPoints[i], m);
        p.z += 400.0;
        points.push_back(p);
    }
    ReleaseScenePoints();
    return points;
}

// Each iteration restores the unsorted records and sorts them; BM_CopyOnly times the restore
// alone, so the sort's own cost is the difference.
template <typename Sort>
void RunSort(benchmark::State& state, Sort sort) {
    const std::vector<Point4> source = TurnedCube(static_cast<std::int32_t>(state.range(0)));
    std::vector<Point4> points = source;
    for (auto _ : state) {
        std::copy(source.begin(), source.end(), points.begin());
        sort(points);
        benchmark::DoNotOptimize(points.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(source.size()));
}

void BM_CopyOnly(benchmark::State& state) {
    RunSort(state, [](std::vector<Point4>&) {});
}

void BM_SortByDepth(benchmark::State& state) {
    RunSort(state, [](std::vector<Point4>& points) {
        SortByDepth(0, static_cast<std::int32_t>(points.size()) - 1, points.data());
    });
}

void BM_StdSortByDepth(benchmark::State& state) {
    RunSort(state, [](std::vector<Point4>& points) {
        std::sort(points.begin(), points.end(),
                  [](const Point4& a, const Point4& b) { return a.z > b.z; });
    });
}

BENCHMARK(BM_CopyOnly)->Arg(9)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SortByDepth)->Arg(9)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StdSortByDepth)->Arg(9)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

}  // namespace
