#include "shell/SaverFlags.h"

std::int32_t IsPreview;
