#pragma once

#include <cstdint>

// A ball position in model, view or screen space, with the ball image that draws it.
struct Point4 {
    double x;
    double y;
    double z;  // Larger is farther from the viewer.
    double w;
    std::int32_t sprite;  // Which of the two ball images draws the point.
};

Point4 MakePoint(double x, double y, double z, std::int32_t sprite);

// Component-wise sum and difference; w takes part, sprite comes from the left operand.
Point4 Add(const Point4& a, const Point4& b);
Point4 Subtract(const Point4& a, const Point4& b);

// Mean position of the first count points: x, y and z are each divided by the count before
// they are summed. w and sprite stay 0; no points give the all-zero point.
Point4 Centroid(const Point4* points, std::int32_t count);
