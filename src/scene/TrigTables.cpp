#include "scene/TrigTables.h"

#include <cmath>

double sinTable[kTrigTableSize];
double cosTable[kTrigTableSize];

void FillTrigTables() {
    // The nearest double to 1/180, multiplied rather than divided, so the tables match bit for
    // bit wherever they are built.
    constexpr double kOneOver180 = 0.005555555555555556;
    for (int i = 0; i < kTrigTableSize; ++i) {
        const double radians = (i * 3.14) * kOneOver180;
        sinTable[i] = std::sin(radians);
        cosTable[i] = std::cos(radians);
    }
}
