#include "scene/DepthSort.h"

void SwapPoints(Point4& p, Point4& q) {
    const Point4 held = p;
    p = q;
    q = held;
}

std::int32_t Partition(std::int32_t first, std::int32_t last, Point4* points) {
    const std::int32_t mid = (first + last) >> 1;
    SwapPoints(points[first], points[mid]);
    const double pivotDepth = points[first].z;
    std::int32_t store = first;
    for (std::int32_t i = first + 1; i <= last; ++i) {
        // Equal, shallower and NaN depths all stay behind the pivot.
        if (points[i].z > pivotDepth) {
            ++store;
            SwapPoints(points[i], points[store]);
        }
    }
    SwapPoints(points[first], points[store]);
    return store;
}

void SortByDepth(std::int32_t first, std::int32_t last, Point4* points) {
    while (first < last) {
        const std::int32_t pivot = Partition(first, last, points);
        // The left range keeps the pivot's slot. The two ranges are disjoint, so sorting them
        // in either order gives the same result: recurse into the smaller one and loop on the
        // larger one, which bounds the stack by the logarithm of the length.
        if (pivot - first < last - pivot) {
            SortByDepth(first, pivot, points);
            first = pivot + 1;
        } else {
            SortByDepth(pivot + 1, last, points);
            last = pivot;
        }
    }
}
