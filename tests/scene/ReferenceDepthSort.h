#pragma once

#include <cstdint>

#include "scene/Point4.h"

// A plain transcription of the depth sort as first designed: recursion into the left range
// (which keeps the pivot's slot), a loop on the right one. The tests hold the product's sort
// to exactly the permutation this produces, ties included.
namespace reference {

inline void Swap(Point4& p, Point4& q) {
    const Point4 held = p;
    p = q;
    q = held;
}

inline std::int32_t Partition(std::int32_t first, std::int32_t last, Point4* points) {
    const std::int32_t mid = (first + last) >> 1;
    Swap(points[first], points[mid]);
    const double pivot = points[first].z;
    std::int32_t store = first;
    for (std::int32_t i = first + 1; i <= last; ++i) {
        if (points[i].z > pivot) {
            ++store;
            Swap(points[i], points[store]);
        }
    }
    Swap(points[first], points[store]);
    return store;
}

inline void SortByDepth(std::int32_t first, std::int32_t last, Point4* points) {
    while (first < last) {
        const std::int32_t p = reference::Partition(first, last, points);
        reference::SortByDepth(first, p, points);
        first = p + 1;
    }
}

}  // namespace reference
