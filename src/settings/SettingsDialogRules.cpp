#include "settings/SettingsDialogRules.h"

#include <cmath>

namespace {

// 2^63: the smallest double beyond the signed 64-bit range. -2^63 itself is in range, and no
// double lies between -2^63 - 2048 and -2^63, so the two comparisons below are exact.
constexpr double kTwoToThe63 = 9223372036854775808.0;

}  // namespace

std::int32_t FieldOfViewShown(double fieldOfView) {
    // NaN fails both comparisons; converting an out-of-range double would be undefined.
    if (!(fieldOfView >= -kTwoToThe63 && fieldOfView < kTwoToThe63)) {
        return 0;
    }
    const auto truncated = static_cast<std::int64_t>(std::trunc(fieldOfView));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(truncated));
}

double FieldOfViewTyped(std::uint32_t typed) {
    return static_cast<double>(static_cast<std::int32_t>(typed));
}
