#pragma once

#include <cstdint>

// Set to non-zero before the preview window is created and never cleared. The scene reads it
// to keep the preview still along the viewing axis and free of the information panel.
extern std::int32_t IsPreview;
