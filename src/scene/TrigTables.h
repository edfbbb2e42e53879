#pragma once

// Sine and cosine of whole degrees, filled once per scene set-up so that frames never evaluate
// either function. The angle of entry i is (i * 3.14) / 180 radians: pi is taken as 3.14, so
// entry 180 of the sine table is sin(3.14), not 0, and the step from 359 back to 0 is larger.
inline constexpr int kTrigTableSize = 360;

extern double sinTable[kTrigTableSize];
extern double cosTable[kTrigTableSize];

void FillTrigTables();
