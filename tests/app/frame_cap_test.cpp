#include <gtest/gtest.h>
#include "app/frame_cap.h"

TEST(FrameCap, PassesAreDueOnePeriodApartAndALatePassStartsAFreshCount)
{
    const double period = 1000.0 / 60;
    EXPECT_NEAR(nextFrameDue(1000.0, 1005, period), 1016.667, 1e-3);
    EXPECT_NEAR(nextFrameDue(1000.0, 1016, period), 1016.667, 1e-3);
    // After a menu or a stall: no burst of passes to make up for it.
    EXPECT_NEAR(nextFrameDue(1000.0, 5000, period), 5000.0, 1e-9);
    // Whole-tick passes still keep the rate: 60 passes take one second.
    double due = 0.0;
    for (int pass = 0; pass < 60; ++pass)
        due = nextFrameDue(due, static_cast<int>(due), period);
    EXPECT_NEAR(due, 1000.0, 1e-6);
}
