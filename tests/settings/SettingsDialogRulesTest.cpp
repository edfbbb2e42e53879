#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "settings/SettingsDialogRules.h"

namespace {

// Truncated toward zero to 64 bits, then the low 32 bits read as signed; NaN and values outside
// the 64-bit range show 0.
TEST(SettingsDialogRules, FieldOfViewShowsTruncatedLow32Bits) {
    const std::pair<double, std::int32_t> cases[] = {
        {37.5, 37},
        {-12.7, -12},
        {2147483648.0, -2147483647 - 1},
        {9223372036854774784.0, -1024},  // The largest double below 2^63.
        {-9223372036854775808.0, 0},     // -2^63 is in range; its low 32 bits are zero.
        {9223372036854775808.0, 0},      // 2^63 is not.
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& [fieldOfView, shown] : cases) {
        EXPECT_EQ(FieldOfViewShown(fieldOfView), shown) << fieldOfView;
    }
    EXPECT_EQ(FieldOfViewTyped(static_cast<std::uint32_t>(-5)), -5.0);
    EXPECT_EQ(FieldOfViewTyped(0x80000000U), -2147483648.0);
}

}  // namespace
