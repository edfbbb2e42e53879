#include "scene/DepthSort.h"

#include <cstdint>
#include <limits>

// The drawing order among balls of equal depth is whatever this quicksort's exact sequence of
// swaps produces, so SortByDepth must give the very permutation of the plain loop
//
//     while (first < last) { p = Partition(first, last); SortByDepth(first, p); first = p + 1; }
//
// while staying fast on the inputs a large cube produces. Four observations make that possible
// without giving up exactness:
//
// 1. The two ranges left by a partition are disjoint, so sorting them in either order gives the
//    same result; recursing into the smaller one bounds the stack by log2 of the length.
// 2. A partition whose pivot is not a number, or no smaller than every depth in its range, finds
//    nothing deeper: it only swaps the middle point to the front. Each range carries a bound
//    that no depth in it exceeds, so such a step ("a peel") needs no scan. Without this a layer
//    of n^2 equal depths (every layer of a cube at rest) costs a scan per ball: quadratic.
// 3. Within one partition a swap touches only the store slot and the current slot, never a later
//    one, so a whole block of depths can be compared before its swaps are done. Comparing
//    without branching avoids the mispredictions that dominate on a turned cube.
// 4. A range whose depths are all different numbers has exactly one descending order, which any
//    sort reaches; only small ranges use that, checking the result for ties and falling back.

namespace {

constexpr double kNoBound = std::numeric_limits<double>::infinity();

// Depths compared per block in a partition; offsets within a block fit a byte.
constexpr std::int32_t kBlock = 64;

// Ranges up to this length are finished by an insertion sort of their depths.
constexpr std::int32_t kSmallRange = 16;

// True when Partition with this pivot would find nothing deeper in a range none of whose depths
// exceeds bound: the pivot is not a number or is at least the bound.
bool FindsNothingDeeper(double pivotDepth, double bound) {
    return !(pivotDepth < bound);
}

// Partition with the same swaps as the plain one, done block by block. In a block whose depths
// alternate, the deeper ones' offsets are collected without branches and swapped afterwards; once
// a block comes out all deeper or all not, the next is done with a plain branch, since such runs
// (a cube at rest, a row of one layer) keep the branch predictable. preferBranches carries that
// choice over to the next partition.
std::int32_t PartitionInBlocks(std::int32_t first, std::int32_t last, Point4* points,
                               bool& preferBranches) {
    const std::int32_t mid = (first + last) >> 1;
    SwapPoints(points[first], points[mid]);
    const double pivotDepth = points[first].z;
    std::int32_t store = first;
    std::uint8_t deeper[kBlock];
    Point4* const end = points + last + 1;
    std::int32_t length = 0;
    for (Point4* block = points + first + 1; block < end; block += length) {
        length = end - block < kBlock ? static_cast<std::int32_t>(end - block) : kBlock;
        std::int32_t count = 0;
        if (preferBranches) {
            for (std::int32_t k = 0; k < length; ++k) {
                if (block[k].z > pivotDepth) {
                    ++store;
                    ++count;
                    SwapPoints(block[k], points[store]);
                }
            }
        } else {
            for (std::int32_t k = 0; k < length; ++k) {
                deeper[count] = static_cast<std::uint8_t>(k);
                count += static_cast<std::int32_t>(block[k].z > pivotDepth);
            }
            for (std::int32_t j = 0; j < count; ++j) {
                ++store;
                SwapPoints(block[deeper[j]], points[store]);
            }
        }
        preferBranches = count == 0 || count == length;
    }
    SwapPoints(points[first], points[store]);
    return store;
}

// The plain algorithm on a few depths with their offsets, for ranges with ties or NaN.
struct DepthKey {
    double depth;
    std::int32_t offset;
};

void SwapKeys(DepthKey& p, DepthKey& q) {
    const DepthKey held = p;
    p = q;
    q = held;
}

void SortKeysPlainly(std::int32_t first, std::int32_t last, DepthKey* keys) {
    while (first < last) {
        const std::int32_t mid = (first + last) >> 1;
        SwapKeys(keys[first], keys[mid]);
        const double pivotDepth = keys[first].depth;
        std::int32_t store = first;
        for (std::int32_t i = first + 1; i <= last; ++i) {
            if (keys[i].depth > pivotDepth) {
                ++store;
                SwapKeys(keys[i], keys[store]);
            }
        }
        SwapKeys(keys[first], keys[store]);
        // At most kSmallRange keys, so this recursion stays shallow.
        SortKeysPlainly(first, store, keys);
        first = store + 1;
    }
}

// Finishes a range of at most kSmallRange points. Distinct depths without NaN have a single
// descending order, found by insertion; otherwise the plain algorithm runs on the keys. Either
// way the points then move once, through a copy on the stack.
void SortSmallRange(std::int32_t first, std::int32_t last, Point4* points) {
    const std::int32_t length = last - first + 1;
    Point4* const range = points + first;
    DepthKey keys[kSmallRange];
    bool distinct = true;
    for (std::int32_t i = 0; i < length; ++i) {
        const double depth = range[i].z;
        distinct = distinct && depth == depth;
        std::int32_t j = i;
        for (; j > 0 && keys[j - 1].depth < depth; --j) {
            keys[j] = keys[j - 1];
        }
        keys[j] = DepthKey{depth, i};
    }
    for (std::int32_t i = 1; distinct && i < length; ++i) {
        distinct = keys[i - 1].depth != keys[i].depth;
    }
    if (!distinct) {
        for (std::int32_t i = 0; i < length; ++i) {
            keys[i] = DepthKey{range[i].z, i};
        }
        SortKeysPlainly(0, length - 1, keys);
    }
    Point4 held[kSmallRange];
    for (std::int32_t i = 0; i < length; ++i) {
        held[i] = range[i];
    }
    for (std::int32_t i = 0; i < length; ++i) {
        range[i] = held[keys[i].offset];
    }
}

// Sorts points[first..last], no depth of which exceeds bound.
void SortRange(std::int32_t first, std::int32_t last, double bound, Point4* points,
               bool preferBranches) {
    while (first < last) {
        if (last - first < kSmallRange) {
            SortSmallRange(first, last, points);
            return;
        }
        const std::int32_t mid = (first + last) >> 1;
        const double pivotDepth = points[mid].z;
        if (FindsNothingDeeper(pivotDepth, bound)) {
            // A peel. When first + last is even the next step has the same middle slot, and its
            // pivot is the point this one moves there: two peels make one three-way rotation,
            // three moves instead of four swaps' worth.
            if (((first + last) & 1) == 0 && FindsNothingDeeper(points[first].z, bound)) {
                const Point4 front = points[first];
                points[first] = points[mid];
                points[mid] = points[first + 1];
                points[first + 1] = front;
                first += 2;
            } else {
                SwapPoints(points[first], points[mid]);
                ++first;
            }
            continue;
        }
        const std::int32_t pivot = PartitionInBlocks(first, last, points, preferBranches);
        if (pivot == first) {
            // Nothing was deeper, so the pivot bounds the rest.
            bound = pivotDepth;
            ++first;
            continue;
        }
        // Left: deeper than the pivot plus the pivot itself; right: at most as deep, or NaN.
        if (pivot - first + 1 <= last - pivot) {
            SortRange(first, pivot, bound, points, preferBranches);
            first = pivot + 1;
            bound = pivotDepth;
        } else {
            SortRange(pivot + 1, last, pivotDepth, points, preferBranches);
            last = pivot;
        }
    }
}

}  // namespace

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
    SortRange(first, last, kNoBound, points, true);
}
