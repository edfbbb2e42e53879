#pragma once

#include <cstdint>

#include "scene/Point4.h"

// Painter's order: sorts points[first..last] (both ends included) in place into descending
// depth, farthest first. Points of equal depth end in exactly the order that this quicksort's
// sequence of swaps produces, which the drawing order depends on.
void SortByDepth(std::int32_t first, std::int32_t last, Point4* points);

// One partition step: the middle point is the pivot; points strictly deeper than it move to
// the front. Returns the pivot's final index.
std::int32_t Partition(std::int32_t first, std::int32_t last, Point4* points);

// Exchanges two whole records; swapping a record with itself leaves it unchanged.
void SwapPoints(Point4& p, Point4& q);
