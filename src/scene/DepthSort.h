#pragma once

#include <cstdint>

#include "scene/Point4.h"

// Painter's order: sorts points[first..last] (both ends included) in place into descending
// depth, farthest first. Points of equal depth (and NaN depths) end in exactly the order that
// repeating Partition produces, recursing into the left range (which keeps the pivot's slot)
// and looping on the right one; the drawing order depends on it. Allocates nothing; the stack
// grows only with the logarithm of the length.
void SortByDepth(std::int32_t first, std::int32_t last, Point4* points);

// One partition step: the middle point is the pivot; points strictly deeper than it move to
// the front. Returns the pivot's final index.
std::int32_t Partition(std::int32_t first, std::int32_t last, Point4* points);

// Exchanges two whole records; swapping a record with itself leaves it unchanged.
void SwapPoints(Point4& p, Point4& q);
