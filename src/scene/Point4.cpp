#include "scene/Point4.h"

Point4 MakePoint(double x, double y, double z, std::int32_t sprite) {
    return Point4{x, y, z, 1.0, sprite};
}

Point4 Add(const Point4& a, const Point4& b) {
    return Point4{a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w, a.sprite};
}

Point4 Subtract(const Point4& a, const Point4& b) {
    return Point4{a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w, a.sprite};
}

Point4 Centroid(const Point4* points, std::int32_t count) {
    Point4 mean{0.0, 0.0, 0.0, 0.0, 0};
    if (count <= 0) {
        return mean;
    }
    const double n = count;
    for (std::int32_t i = 0; i < count; ++i) {
        mean.x += points[i].x / n;
        mean.y += points[i].y / n;
        mean.z += points[i].z / n;
    }
    return mean;
}
