#pragma once

#include <cstdint>

// How the settings dialog turns the field of view into the whole number it shows, free of the
// platform.

// The field of view truncated toward zero to a 64-bit integer, of which the low 32 bits are
// read as a signed number. NaN and values outside the 64-bit range give 0.
std::int32_t FieldOfViewShown(double fieldOfView);

// The number typed into an edit field, as the platform hands it over (its 32 bits), stored as
// the field of view: read as signed, then converted exactly to a double.
double FieldOfViewTyped(std::uint32_t typed);
