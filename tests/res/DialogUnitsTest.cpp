#include "res/DialogUnits.h"

#include <climits>

#include <gtest/gtest.h>

TEST(DialogUnits, ConversionRoundsHalvesUp) {
    // The plot frame: 210, 1, 394, 317 dialog units.
    EXPECT_EQ(DluToPixelX(210), 315);
    EXPECT_EQ(DluToPixelY(1), 2); // 1.625
    EXPECT_EQ(DluToPixelX(394), 591);
    EXPECT_EQ(DluToPixelY(317), 515); // 515.125

    EXPECT_EQ(DluToPixelX(1), 2);     // 1.5
    EXPECT_EQ(DluToPixelY(4), 7);     // 6.5
    EXPECT_EQ(DluToPixelY(132), 215); // 214.5
    EXPECT_EQ(DluToPixelY(114), 185); // 185.25
    EXPECT_EQ(DluToPixelX(0), 0);
    EXPECT_EQ(DluToPixelX(-1), -1); // -1.5 rounds up to -1
    EXPECT_EQ(DluToPixelY(-1), -2); // -1.625
}

TEST(DialogUnits, ExtremeInputsClampInsteadOfOverflowing) {
    EXPECT_EQ(DluToPixelX(INT_MAX), INT_MAX);
    EXPECT_EQ(DluToPixelY(INT_MIN), INT_MIN);
    EXPECT_EQ(DluToPixelY(1500000000), INT_MAX);
    EXPECT_EQ(DluToPixelX(-2000000000), INT_MIN);
    EXPECT_EQ(DluToPixelY(1000000000), 1625000000);
}
