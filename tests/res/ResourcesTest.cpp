#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"
#include "res/Menu.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <span>
#include <string>
#include <vector>

TEST(DialogTemplates, WellFormedAndEveryBoundControlOnce) {
    for (int id : {IDD_ABOUTBOX, IDD_QEL2_DIALOG, IDD_GUIDE}) {
        const DialogTemplate* t = FindDialogTemplate(id);
        ASSERT_TRUE(t && t->items && t->count > 0) << id;
        std::set<int> ids;
        int defaults = 0;
        for (const DialogItem& item : std::span(t->items, t->count)) {
            ASSERT_NE(item.text, nullptr) << id;
            EXPECT_TRUE(item.id == IDC_STATIC || ids.insert(item.id).second) << item.id;
            defaults += item.kind == ItemKind::DefaultButton;
            // A mistyped coordinate usually pushes a control off the dialog.
            EXPECT_TRUE(item.x >= 0 && item.y >= 0 && item.cx > 0 && item.cy > 0) << item.id;
            EXPECT_TRUE(item.x + item.cx <= t->cx && item.y + item.cy <= t->cy) << item.id;
        }
        EXPECT_EQ(defaults, 1) << id;
    }
    EXPECT_EQ(FindDialogTemplate(101), nullptr);

    const DialogTemplate& t = *FindDialogTemplate(IDD_QEL2_DIALOG);
    std::vector<int> bound = {IDC_COUNTRY,        IDC_COUNTRY_LABEL,    IDC_QELMETER_CAPTION,
                              IDC_QELMETER_VALUE, IDC_STATUS,           IDC_STOP,
                              IDC_CLEAR,          IDC_SIMULATE,         IDC_RUN,
                              IDC_MARKER,         IDC_PROGRESS,         IDC_PLOT_FRAME,
                              IDC_VARIATION,      IDC_ITERATION,        IDC_ZOOM,
                              IDC_EQUATION_X,     IDC_EQUATION_Y,       IDC_EQUATION_Z,
                              IDC_ACCUMULATE,     IDC_ACCUMULATED_LABEL};
    for (int i = 0; i < 10; ++i)
        bound.insert(bound.end(), {kRowNameIds[i], kRowLowIds[i], kRowHighIds[i], kRowBoxIds[i]});
    bound.insert(bound.end(), std::begin(kPlaneButtonIds), std::end(kPlaneButtonIds));
    EXPECT_EQ(std::set<int>(bound.begin(), bound.end()).size(), 64u); // distinct ids
    for (int id : bound)
        EXPECT_NE(FindDialogItem(t, id), nullptr) << id;
    EXPECT_EQ(FindDialogItem(t, IDC_STATIC), nullptr);

    // Only Iteration refuses the point and the minus; Run is the default but starts disabled.
    for (int id : kRowBoxIds)
        EXPECT_EQ(FindDialogItem(t, id)->kind, ItemKind::Edit) << id;
    for (int id : {kRowBoxIds[0], kRowBoxIds[9], IDC_VARIATION, IDC_ZOOM, IDC_ITERATION})
        EXPECT_EQ((FindDialogItem(t, id)->style & IS_DIGITS_ONLY) != 0, id == IDC_ITERATION);
    for (int id : kPlaneButtonIds)
        EXPECT_EQ(FindDialogItem(t, id)->kind, ItemKind::RadioButton) << id;
    EXPECT_EQ(FindDialogItem(t, IDC_RUN)->kind, ItemKind::DefaultButton);
    for (int id : {IDC_RUN, IDC_SIMULATE, IDC_STOP, IDC_CLEAR})
        EXPECT_EQ((FindDialogItem(t, id)->style & IS_DISABLED) != 0, id != IDC_CLEAR) << id;
    const DialogItem* link = FindDialogItem(*FindDialogTemplate(IDD_ABOUTBOX), IDC_ABOUT_LINK);
    EXPECT_STREQ(link->text, kMakerWebAddress);
    EXPECT_TRUE(link->style & IS_TABSTOP);
    EXPECT_EQ(std::strncmp(kMakerWebAddress, "https://", 8), 0);
}

TEST(DialogUnits, RoundHalvesUpAndClampInsteadOfOverflowing) {
    // Dialog units, then pixels across (x 1.5) and down (x 1.625).
    const long long cases[][3] = {{210, 315, 341},
                                  {1, 2, 2},
                                  {317, 476, 515},
                                  {4, 6, 7},
                                  {132, 198, 215},
                                  {114, 171, 185},
                                  {0, 0, 0},
                                  {-1, -1, -2},
                                  {INT_MAX, INT_MAX, INT_MAX},
                                  {INT_MIN, INT_MIN, INT_MIN},
                                  {1500000000, INT_MAX, INT_MAX},
                                  {-2000000000, INT_MIN, INT_MIN},
                                  {1000000000, 1500000000, 1625000000}};
    for (const auto& c : cases) {
        EXPECT_EQ(DluToPixelX(static_cast<int>(c[0])), c[1]) << c[0];
        EXPECT_EQ(DluToPixelY(static_cast<int>(c[0])), c[2]) << c[0];
    }
}

TEST(Menu, AttractorCommandsMapToTheirKinds) {
    const MenuTemplate* menu = FindMenuTemplate(IDR_MAIN_MENU);
    ASSERT_TRUE(menu && menu->count == 4 && menu->popups[1].count == 6);
    std::set<char> mnemonics;
    for (int kind = 0; kind < 6; ++kind) {
        const MenuItem& item = menu->popups[1].items[kind];
        EXPECT_EQ(item.id, kAttractorCommands[kind]);
        EXPECT_EQ(AttractorKindFromCommand(item.id), kind);
        const char* amp = std::strchr(item.text, '&');
        ASSERT_TRUE(amp && amp[1]) << item.text;
        EXPECT_TRUE(mnemonics.insert(std::tolower(amp[1])).second) << item.text;
        EXPECT_EQ((item.flags & MIF_CHECKED) != 0, kind == 5) << kind; // Sorvan
    }
    EXPECT_EQ(AttractorKindFromCommand(ID_FILE_SAVE_AS), -1);
    ASSERT_NE(FindMenuItem(*menu, IDM_ABOUTBOX), nullptr);
    EXPECT_STREQ(FindMenuItem(*menu, IDM_ABOUTBOX)->text, LoadString(IDS_ABOUTBOX));
    EXPECT_EQ(FindMenuItem(*menu, 0), nullptr); // the separator is no command
    EXPECT_EQ(FindMenuTemplate(133), nullptr);
}

TEST(StringTable, FormatsTakeTheirArgumentsAndUnknownIdsGiveEmptyText) {
    char buf[160];
    std::snprintf(buf, sizeof buf, LoadString(IDS_UPPER_UNEMPLOYMENT), 1.0);
    EXPECT_STREQ(buf, " <= 1.00  (Unemployment)");
    std::snprintf(buf, sizeof buf, LoadString(IDS_RANGE_REAL), LoadString(IDS_INERTION), 10.0,
                  50.0);
    EXPECT_STREQ(buf, "Inertion (A) must vary between 10.000000 and 50.000000. Previous data "
                      "remains.");
    std::snprintf(buf, sizeof buf, LoadString(IDS_RANGE_INT), LoadString(IDS_ITERATION_NUMBER), 1,
                  10000000);
    EXPECT_STREQ(buf, "Iteration Number must vary between 1 and 10000000. Previous data remains.");
    // Code indexes these runs by row: a wrong text at one offset mislabels a row.
    for (unsigned i = 0; i < 7; ++i) {
        EXPECT_EQ(LoadString(IDS_NAME_A + i), std::string(1, char('a' + i)));
        EXPECT_EQ(LoadString(IDS_SORVAN_NAME_A + i), std::string(1, "abcdGUI"[i]));
        EXPECT_EQ(LoadString(IDS_PARAMETER_A + i), "Parameter " + std::string(1, char('A' + i)));
    }
    for (unsigned id : {0u, 102u, 155u, 1062u, 2047u, 0xFFFFFFFFu}) {
        ASSERT_NE(LoadString(id), nullptr) << id;
        EXPECT_STREQ(LoadString(id), "") << id;
    }
}
