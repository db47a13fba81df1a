#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include <climits>
#include <gtest/gtest.h>
#include <set>
#include <span>

// A mistyped coordinate usually pushes a control off its dialog or onto another's id.
TEST(DialogTemplates, EveryControlInsideItsDialogIdsOnceOneDefaultButton) {
    for (int id : {IDD_ABOUTBOX, IDD_QEL2_DIALOG, IDD_GUIDE}) {
        const DialogTemplate* t = FindDialogTemplate(id);
        ASSERT_TRUE(t && t->items && t->count > 0) << id;
        std::set<int> ids;
        int defaults = 0;
        for (const DialogItem& item : std::span(t->items, t->count)) {
            EXPECT_TRUE(item.id == IDC_STATIC || ids.insert(item.id).second) << item.id;
            defaults += item.kind == ItemKind::DefaultButton;
            EXPECT_TRUE(item.x >= 0 && item.y >= 0 && item.cx > 0 && item.cy > 0) << item.id;
            EXPECT_TRUE(item.x + item.cx <= t->cx && item.y + item.cy <= t->cy) << item.id;
        }
        EXPECT_EQ(defaults, 1) << id;
    }
}

TEST(DialogUnits, RoundHalvesUpAndClampInsteadOfOverflowing) {
    // Dialog units, then pixels across (x 1.5) and down (x 1.625).
    const long long cases[][3] = {{1, 2, 2},
                                  {4, 6, 7},
                                  {317, 476, 515},
                                  {-1, -1, -2},
                                  {INT_MIN, INT_MIN, INT_MIN},
                                  {1500000000, INT_MAX, INT_MAX},
                                  {1000000000, 1500000000, 1625000000}};
    for (const auto& c : cases) {
        EXPECT_EQ(DluToPixelX(static_cast<int>(c[0])), c[1]) << c[0];
        EXPECT_EQ(DluToPixelY(static_cast<int>(c[0])), c[2]) << c[0];
    }
    for (unsigned id : {0u, 102u, 0xFFFFFFFFu})
        EXPECT_STREQ(LoadString(id), "") << id; // never a null pointer
}
