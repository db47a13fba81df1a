#include "res/DialogTemplates.h"

#include "res/ResourceIds.h"

namespace {

using K = ItemKind;

constexpr unsigned kBox = IS_BORDER | IS_AUTO_HSCROLL | IS_TABSTOP;

// Rows a..g of the parameter group start 18 units apart; the labels of a..d are 18 units
// high, those of e..g 15 (the window moves e..g to fixed pixel rows at run time).
constexpr int RowTop(int row) {
    return 24 + 18 * row;
}
constexpr int RowHeight(int row) {
    return row < 4 ? 18 : 15;
}

// Template 102. Items are listed in creation order: a group box comes before the controls it
// frames, and the value boxes after the limit labels they overlap, so the boxes stay on top.
// The X, Y, Z names have no size of their own: 5 x 9 fills the gap between the limit labels.
constexpr DialogItem kMainItems[] = {
    {IDC_PLOT_FRAME, K::StaticFrame, "", 210, 1, 394, 317, IS_SUNKEN | IS_BORDER},
    {IDC_MARKER, K::Static, "", 166, 22, 5, 5, 0},
    {IDC_STATUS, K::Static, "Static", 210, 318, 125, 8, 0},
    {IDC_PROGRESS, K::Progress, "", 335, 318, 269, 8, IS_SMOOTH | IS_BORDER},

    {IDC_EQUATIONS_GROUP, K::GroupBox, "Equations", 173, 331, 130, 60, 0},
    {IDC_EQUATION_X, K::Static, "x equation", 179, 345, 100, 8, IS_OWNER_DRAW},
    {IDC_EQUATION_Y, K::Static, "y equation", 179, 360, 100, 8, IS_OWNER_DRAW},
    {IDC_EQUATION_Z, K::Static, "z equation", 179, 375, 120, 8, IS_OWNER_DRAW},

    {IDC_STATIC, K::GroupBox, "Initial Conditions", 306, 331, 107, 60, 0},
    {IDC_NAME_X, K::Static, "X", 336, 345, 5, 9, 0},
    {IDC_NAME_Y, K::Static, "Y", 336, 360, 5, 9, 0},
    {IDC_NAME_Z, K::Static, "Z", 336, 375, 5, 9, 0},
    {IDC_LOW_X, K::Static, "1.0 < ", 312, 345, 24, 9, 0},
    {IDC_LOW_Y, K::Static, "1.0 < ", 312, 360, 24, 9, 0},
    {IDC_LOW_Z, K::Static, "1.0 < ", 312, 375, 24, 9, 0},
    {IDC_HIGH_X, K::Static, " < 4.0", 341, 345, 28, 9, 0},
    {IDC_HIGH_Y, K::Static, " < 4.0", 341, 360, 28, 9, 0},
    {IDC_HIGH_Z, K::Static, " < 4.0", 341, 375, 28, 9, 0},
    {IDC_INIT_X, K::Edit, "", 375, 344, 30, 11, kBox},
    {IDC_INIT_Y, K::Edit, "", 375, 359, 30, 11, kBox},
    {IDC_INIT_Z, K::Edit, "", 375, 374, 30, 11, kBox},

    {IDC_PARAMETERS_GROUP, K::GroupBox, "Parameters", 6, 6, 175, 160, 0},
    {IDC_NAME_A, K::Static, "a", 43, RowTop(0), 5, RowHeight(0), 0},
    {IDC_NAME_B, K::Static, "b", 43, RowTop(1), 5, RowHeight(1), 0},
    {IDC_NAME_C, K::Static, "c", 43, RowTop(2), 5, RowHeight(2), 0},
    {IDC_NAME_D, K::Static, "d", 43, RowTop(3), 5, RowHeight(3), 0},
    {IDC_NAME_E, K::Static, "e", 43, RowTop(4), 5, RowHeight(4), 0},
    {IDC_NAME_F, K::Static, "f", 43, RowTop(5), 5, RowHeight(5), 0},
    {IDC_NAME_G, K::Static, "g", 43, RowTop(6), 5, RowHeight(6), 0},
    {IDC_LOW_A, K::Static, "10.0 <=", 14, RowTop(0), 29, RowHeight(0), 0},
    {IDC_LOW_B, K::Static, "0.5 <= ", 14, RowTop(1), 29, RowHeight(1), 0},
    {IDC_LOW_C, K::Static, "1.0 <= ", 14, RowTop(2), 29, RowHeight(2), 0},
    {IDC_LOW_D, K::Static, "1.0 <= ", 14, RowTop(3), 29, RowHeight(3), 0},
    {IDC_LOW_E, K::Static, "1.0 <= ", 14, RowTop(4), 29, RowHeight(4), 0},
    {IDC_LOW_F, K::Static, "---", 14, RowTop(5), 29, RowHeight(5), 0},
    {IDC_LOW_G, K::Static, "---", 14, RowTop(6), 29, RowHeight(6), 0},
    {IDC_HIGH_A, K::Static, " <= 50.0", 48, RowTop(0), 120, RowHeight(0), 0},
    {IDC_HIGH_B, K::Static, " <= 10.0", 48, RowTop(1), 120, RowHeight(1), 0},
    {IDC_HIGH_C, K::Static, " <= 20.0", 48, RowTop(2), 120, RowHeight(2), 0},
    {IDC_HIGH_D, K::Static, " <= 20.0", 48, RowTop(3), 120, RowHeight(3), 0},
    {IDC_HIGH_E, K::Static, " <= 20.0", 48, RowTop(4), 120, RowHeight(4), 0},
    {IDC_HIGH_F, K::Static, "---", 48, RowTop(5), 120, RowHeight(5), 0},
    {IDC_HIGH_G, K::Static, "---", 48, RowTop(6), 120, RowHeight(6), 0},
    {IDC_PARAM_A, K::Edit, "", 130, RowTop(0), 45, 12, kBox},
    {IDC_PARAM_B, K::Edit, "", 130, RowTop(1), 45, 12, kBox},
    {IDC_PARAM_C, K::Edit, "", 130, RowTop(2), 45, 12, kBox},
    {IDC_PARAM_D, K::Edit, "", 130, RowTop(3), 45, 12, kBox},
    {IDC_PARAM_E, K::Edit, "", 130, RowTop(4), 45, 12, kBox},
    {IDC_PARAM_F, K::Edit, "", 130, RowTop(5), 45, 12, kBox},
    {IDC_PARAM_G, K::Edit, "", 130, RowTop(6), 45, 12, kBox},
    {IDC_QELMETER_CAPTION, K::Static, "[ad - bc]   -   The Qelmeter", 13, 96, 160, 12,
     IS_OWNER_DRAW},
    {IDC_QELMETER_VALUE, K::Static, "", 134, 98, 40, 12, 0},

    {IDC_STATIC, K::GroupBox, "Operation", 6, 331, 162, 60, 0},
    {IDC_STATIC, K::Static, "Variation     0.0001 <= v <= 0.1", 15, 345, 110, 10, 0},
    {IDC_STATIC, K::Static, "Iteration     1 <= r <= 10,000,000", 15, 360, 110, 10, 0},
    {IDC_STATIC, K::Static, "Zoom         0 <= z <= 100,000", 15, 375, 110, 10, 0},
    {IDC_VARIATION, K::Edit, "", 125, 345, 35, 11, kBox},
    {IDC_ITERATION, K::Edit, "", 125, 360, 35, 11, kBox | IS_DIGITS_ONLY},
    {IDC_ZOOM, K::Edit, "", 125, 375, 35, 11, kBox},

    {IDC_STATIC, K::GroupBox, "Display", 418, 331, 126, 60, 0},
    {IDC_PLANE_XY, K::RadioButton, "Output-Money", 430, 343, 99, 10, IS_GROUP | IS_TABSTOP},
    {IDC_PLANE_XZ, K::RadioButton, "Output-Price", 430, 355, 99, 10, 0},
    {IDC_PLANE_YZ, K::RadioButton, "Money-Pricing", 430, 367, 99, 10, 0},
    {IDC_PLANE_XYZ, K::RadioButton, "Output-Money-Price", 430, 379, 105, 10, 0},

    // IS_GROUP on Run ends the radio group above.
    {IDC_RUN, K::DefaultButton, "Run", 550, 335, 55, 10, IS_DISABLED | IS_GROUP | IS_TABSTOP},
    {IDC_SIMULATE, K::Button, "Simulate", 550, 350, 55, 10, IS_DISABLED | IS_TABSTOP},
    {IDC_STOP, K::Button, "Stop", 550, 365, 55, 10, IS_DISABLED | IS_TABSTOP},
    {IDC_CLEAR, K::Button, "Clear", 550, 380, 55, 10, IS_TABSTOP},

    {IDC_COUNTRY_LABEL, K::Static, "Country:", 24, 194, 50, 17, 0},
    // The height of a combo box includes its dropped-down list.
    {IDC_COUNTRY, K::ComboBox, "", 60, 194, 85, 195, IS_VSCROLL | IS_TABSTOP},
    {IDC_ACCUMULATED_LABEL, K::Static, "Accumulated Countries", 54, 176, 74, 8, 0},
    {IDC_ACCUMULATE, K::CheckBox, "Check1", 136, 176, 10, 10, IS_TABSTOP},
};

constexpr DialogItem kAboutItems[] = {
    {IDC_STATIC, K::StaticIcon, "", 11, 10, 20, 20, 0},
    {IDC_ABOUT_VERSION, K::Static, "Qel Version 2.0", 40, 10, 119, 8, IS_NOPREFIX},
    {IDC_STATIC, K::Static, "Based on:", 40, 25, 45, 8, 0},
    {IDC_ABOUT_MODEL, K::Static, "Sorvan attractor", 84, 25, 119, 8, 0},
    {IDC_ABOUT_IDEA_CAPTION, K::Static, "Idea Design:", 40, 45, 54, 19, 0},
    {IDC_ABOUT_IDEA_NAMES, K::Static, "The QEL team", 100, 45, 101, 30, 0},
    {IDC_ABOUT_SOFTWARE_CAPTION, K::Static, "Software Design:", 40, 55, 54, 19, 0},
    {IDC_ABOUT_SOFTWARE_NAMES, K::Static, "The QEL team", 100, 55, 101, 30, 0},
    {IDC_ABOUT_LINK, K::Static, kMakerWebAddress, 40, 75, 100, 12, IS_TABSTOP},
    {IDOK, K::DefaultButton, "OK", 178, 10, 50, 14, IS_GROUP | IS_TABSTOP},
};

constexpr DialogItem kGuideItems[] = {
    {IDC_GUIDE_TEXT, K::Static, "", 10, 10, 385, 380, IS_OWNER_DRAW | IS_BORDER},
    {IDC_GUIDE_PICTURE, K::Static, "", 400, 10, 420, 380, IS_OWNER_DRAW},
    {IDOK, K::DefaultButton, "OK", 375, 400, 70, 14, IS_GROUP | IS_TABSTOP},
};

template <int N> constexpr int Count(const DialogItem (&)[N]) {
    return N;
}

constexpr DialogTemplate kTemplates[] = {
    {IDD_ABOUTBOX, "About Qel2", "MS Sans Serif", 8, 235, 94, kAboutItems, Count(kAboutItems), 0,
     TS_MODAL_FRAME | TS_CAPTION | TS_SYSMENU},
    {IDD_QEL2_DIALOG, "QEL - Attractor", "MS Sans Serif", 9, 610, 400, kMainItems,
     Count(kMainItems), IDR_MAIN_MENU, TS_CAPTION | TS_SYSMENU | TS_MINIMIZE_BOX},
    {IDD_GUIDE, "QEL SIMULATOR GUIDE", "MS Sans Serif", 9, 830, 420, kGuideItems,
     Count(kGuideItems), 0, TS_MODAL_FRAME | TS_CAPTION | TS_SYSMENU},
};

} // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogTemplate& t : kTemplates) {
        if (t.id == id)
            return &t;
    }
    return nullptr;
}

const DialogItem* FindDialogItem(const DialogTemplate& dialog, int id) {
    if (id == IDC_STATIC || dialog.items == nullptr)
        return nullptr;
    for (int i = 0; i < dialog.count; ++i) {
        if (dialog.items[i].id == id)
            return &dialog.items[i];
    }
    return nullptr;
}
