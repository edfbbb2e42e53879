#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "settings/SettingsDialogRules.h"

namespace {

TEST(SettingsDialogRules, FieldOfViewShowsTruncatedLow32Bits) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    const struct {
        double fieldOfView;
        std::int32_t shown;
    } cases[] = {
        {40.0, 40},
        {37.5, 37},
        {-12.7, -12},
        {0.9, 0},
        {-0.9, 0},
        {2147483647.9, 2147483647},
        {2147483648.0, -2147483647 - 1},  // Low 32 bits of 2^31, read as signed.
        {4294967296.0 + 5.0, 5},          // 2^32 + 5.
        {-4294967296.0 - 7.0, -7},
        {9223372036854774784.0, -1024},  // The largest double below 2^63.
        {-9223372036854775808.0, 0},     // -2^63 is in range; its low 32 bits are zero.
        {9223372036854775808.0, 0},      // 2^63 is not.
        {-9223372036854777856.0, 0},     // The next double below -2^63.
        {1e300, 0},
        {-1e300, 0},
        {kInfinity, 0},
        {-kInfinity, 0},
        {kNaN, 0},
        {-kNaN, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FieldOfViewShown(c.fieldOfView), c.shown) << "field of view " << c.fieldOfView;
    }
}

TEST(SettingsDialogRules, TypedFieldOfViewKeepsItsSign) {
    EXPECT_EQ(FieldOfViewTyped(37U), 37.0);
    EXPECT_EQ(FieldOfViewTyped(static_cast<std::uint32_t>(-5)), -5.0);
    EXPECT_EQ(FieldOfViewTyped(0U), 0.0);
    EXPECT_EQ(FieldOfViewTyped(0x80000000U), -2147483648.0);
}

}  // namespace
