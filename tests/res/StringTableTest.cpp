#include "res/StringTable.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string Format(unsigned id, double value) {
    char buf[128];
    std::snprintf(buf, sizeof buf, LoadString(id), value);
    return buf;
}

} // namespace

TEST(StringTable, LimitFormatsKeepTheirBlanks) {
    EXPECT_EQ(Format(IDS_LOWER_LE, 0.5), "0.50 <= ");
    EXPECT_EQ(Format(IDS_UPPER_LE, 10), " <= 10.00");
    EXPECT_EQ(Format(IDS_LOWER_LT, 1), "1.00 < ");
    EXPECT_EQ(Format(IDS_UPPER_LT, 4), " < 4.00");

    EXPECT_EQ(Format(IDS_UPPER_INERTION, 50), " <= 50.00    (Inertion)");
    EXPECT_EQ(Format(IDS_UPPER_PRODUCTION, 10), " <= 10.00    (Production)");
    EXPECT_EQ(Format(IDS_UPPER_PRINTING, 1), " <= 1.00    (Printing)");
    EXPECT_EQ(Format(IDS_UPPER_ADAPTATION, 1), " <= 1.00    (Adaptation)");
    EXPECT_EQ(Format(IDS_UPPER_INDEXATION, 1), " <= 1.00    (Indexation)");
    EXPECT_EQ(Format(IDS_UPPER_UNEMPLOYMENT, 1), " <= 1.00  (Unemployment)");
    EXPECT_EQ(Format(IDS_UPPER_INTEREST, 1), " <= 1.00    (Interest)");
}

TEST(StringTable, MessagesAndStatusTexts) {
    char buf[160];
    std::snprintf(buf, sizeof buf, LoadString(IDS_RANGE_REAL), LoadString(IDS_INERTION), 10.0,
                  50.0);
    EXPECT_STREQ(buf, "Inertion (A) must vary between 10.000000 and 50.000000. Previous data "
                      "remains.");
    std::snprintf(buf, sizeof buf, LoadString(IDS_RANGE_INT), LoadString(IDS_ITERATION_NUMBER), 1,
                  10000000);
    EXPECT_STREQ(buf, "Iteration Number must vary between 1 and 10000000. Previous data remains.");
    std::snprintf(buf, sizeof buf, LoadString(IDS_TITLE_FORMAT), "Lorenz");
    EXPECT_STREQ(buf, "QEL - Lorenz Attractor");
    std::snprintf(buf, sizeof buf, LoadString(IDS_ERROR_CREATING_FILE), "/x/graph.bmp");
    EXPECT_STREQ(buf, "Error creating file /x/graph.bmp");

    EXPECT_STREQ(LoadString(IDS_PREPARING), "Preparing bitmaps, please wait....");
    EXPECT_STREQ(LoadString(IDS_DRAWING), "Drawing graphs....");
    EXPECT_STREQ(LoadString(IDS_SPILLING), "Spilling bitmaps into screen...");
    EXPECT_STREQ(LoadString(IDS_TITLE_SORVAN),
                 "QEL - Economic Simulator, based on Sorvan Attractor");
    EXPECT_STREQ(LoadString(IDS_SORVAN_PLANE_XY), "Output-Money,  X-Y");
    EXPECT_STREQ(LoadString(IDS_SORVAN_PLANE_XYZ), "Money-Pricing-Output,  X-Y-Z");
}

TEST(StringTable, NumberedRunsAreInOrder) {
    // Code indexes these runs by row: a wrong text at one offset mislabels a row.
    const char* generic[] = {"a", "b", "c", "d", "e", "f", "g"};
    const char* economic[] = {"a", "b", "c", "d", "G", "U", "I"};
    for (unsigned i = 0; i < 7; ++i) {
        EXPECT_STREQ(LoadString(IDS_NAME_A + i), generic[i]) << i;
        EXPECT_STREQ(LoadString(IDS_SORVAN_NAME_A + i), economic[i]) << i;
        EXPECT_EQ(LoadString(IDS_PARAMETER_A + i), "Parameter " + std::string(1, char('A' + i)));
    }
}

TEST(StringTable, UnknownIdsGiveAnEmptyText) {
    for (unsigned id : {0u, 1u, 102u, 155u, 1062u, 1070u, 2047u, 0xFFFFFFFFu}) {
        const char* text = LoadString(id);
        ASSERT_NE(text, nullptr) << id;
        EXPECT_STREQ(text, "") << id;
    }
}
