#pragma once

// Focal lengths in pixels for a drawing area and a field of view in degrees.
struct Projection {
    double hFocal;
    double vFocal;
    double width;
    double height;
    double fov;
    double aspect;  // The scene uses 0.75: every area is filled as if it were 4:3.
};

// Recomputes hFocal and vFocal from the other four fields.
void UpdateFocalLengths(Projection& projection);
