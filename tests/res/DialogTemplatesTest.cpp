#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

const DialogTemplate& Template(int id) {
    const DialogTemplate* t = FindDialogTemplate(id);
    EXPECT_NE(t, nullptr) << id;
    static const DialogTemplate kEmpty{};
    return t ? *t : kEmpty;
}

int CountId(const DialogTemplate& t, int id) {
    int n = 0;
    for (int i = 0; i < t.count; ++i)
        n += t.items[i].id == id;
    return n;
}

void ExpectRect(const DialogItem* item, int x, int y, int cx, int cy) {
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->x, x) << item->id;
    EXPECT_EQ(item->y, y) << item->id;
    EXPECT_EQ(item->cx, cx) << item->id;
    EXPECT_EQ(item->cy, cy) << item->id;
}

} // namespace

TEST(DialogTemplates, EveryTemplateIsWellFormed) {
    for (int id : {IDD_ABOUTBOX, IDD_QEL2_DIALOG, IDD_GUIDE}) {
        const DialogTemplate& t = Template(id);
        ASSERT_NE(t.items, nullptr) << id;
        ASSERT_GT(t.count, 0) << id;
        std::set<int> ids;
        int defaults = 0;
        for (int i = 0; i < t.count; ++i) {
            const DialogItem& item = t.items[i];
            ASSERT_NE(item.text, nullptr) << id << " item " << i;
            if (item.id != IDC_STATIC) {
                EXPECT_TRUE(ids.insert(item.id).second) << "id " << item.id << " twice in " << id;
            }
            defaults += item.kind == ItemKind::DefaultButton;
            // A mistyped coordinate usually pushes a control off the dialog.
            EXPECT_GE(item.x, 0) << item.id;
            EXPECT_GE(item.y, 0) << item.id;
            EXPECT_GT(item.cx, 0) << item.id;
            EXPECT_GT(item.cy, 0) << item.id;
            EXPECT_LE(item.x + item.cx, t.cx) << id << " item " << i;
            EXPECT_LE(item.y + item.cy, t.cy) << id << " item " << i;
        }
        EXPECT_EQ(defaults, 1) << id;
    }
    EXPECT_EQ(FindDialogTemplate(0), nullptr);
    EXPECT_EQ(FindDialogTemplate(101), nullptr);
    EXPECT_EQ(FindDialogItem(Template(IDD_QEL2_DIALOG), IDC_STATIC), nullptr);
    EXPECT_EQ(FindDialogItem(Template(IDD_QEL2_DIALOG), 4242), nullptr);
}

TEST(DialogTemplates, MainWindowHoldsEveryBoundControlOnce) {
    const DialogTemplate& t = Template(IDD_QEL2_DIALOG);
    std::vector<int> bound = {IDC_COUNTRY,        IDC_COUNTRY_LABEL,    IDC_QELMETER_CAPTION,
                              IDC_QELMETER_VALUE, IDC_STATUS,           IDC_STOP,
                              IDC_CLEAR,          IDC_SIMULATE,         IDC_RUN,
                              IDC_MARKER,         IDC_PROGRESS,         IDC_PLOT_FRAME,
                              IDC_VARIATION,      IDC_ITERATION,        IDC_ZOOM,
                              IDC_EQUATION_X,     IDC_EQUATION_Y,       IDC_EQUATION_Z,
                              IDC_ACCUMULATE,     IDC_ACCUMULATED_LABEL};
    for (int i = 0; i < 10; ++i) {
        bound.push_back(kRowNameIds[i]);
        bound.push_back(kRowLowIds[i]);
        bound.push_back(kRowHighIds[i]);
        bound.push_back(kRowBoxIds[i]);
    }
    for (int id : kPlaneButtonIds)
        bound.push_back(id);
    ASSERT_EQ(bound.size(), 64u);
    EXPECT_EQ(std::set<int>(bound.begin(), bound.end()).size(), bound.size()); // distinct ids
    for (int id : bound)
        EXPECT_EQ(CountId(t, id), 1) << id;

    // The thirteen value boxes are edits; only Iteration is digits-only.
    for (int i = 0; i < 10; ++i) {
        const DialogItem* box = FindDialogItem(t, kRowBoxIds[i]);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->kind, ItemKind::Edit) << box->id;
        EXPECT_FALSE(box->style & IS_DIGITS_ONLY) << box->id;
    }
    EXPECT_TRUE(FindDialogItem(t, IDC_ITERATION)->style & IS_DIGITS_ONLY);
    EXPECT_FALSE(FindDialogItem(t, IDC_VARIATION)->style & IS_DIGITS_ONLY);
    EXPECT_FALSE(FindDialogItem(t, IDC_ZOOM)->style & IS_DIGITS_ONLY);
    for (int id : kPlaneButtonIds)
        EXPECT_EQ(FindDialogItem(t, id)->kind, ItemKind::RadioButton) << id;
}

TEST(DialogTemplates, MainWindowGeometryAndStates) {
    const DialogTemplate& t = Template(IDD_QEL2_DIALOG);
    EXPECT_STREQ(t.caption, "QEL - Attractor");
    EXPECT_EQ(t.cx, 610);
    EXPECT_EQ(t.cy, 400);
    EXPECT_EQ(t.menu, IDR_MAIN_MENU);

    const DialogItem* frame = FindDialogItem(t, IDC_PLOT_FRAME);
    ExpectRect(frame, 210, 1, 394, 317);
    EXPECT_EQ(frame->kind, ItemKind::StaticFrame);
    EXPECT_EQ(frame->style & (IS_SUNKEN | IS_BORDER), IS_SUNKEN | IS_BORDER);
    ExpectRect(FindDialogItem(t, IDC_PROGRESS), 335, 318, 269, 8);
    EXPECT_EQ(FindDialogItem(t, IDC_PROGRESS)->kind, ItemKind::Progress);
    EXPECT_STREQ(FindDialogItem(t, IDC_STATUS)->text, "Static");

    // Row g and the last of the X, Y, Z rows.
    ExpectRect(FindDialogItem(t, IDC_NAME_G), 43, 132, 5, 15);
    ExpectRect(FindDialogItem(t, IDC_LOW_D), 14, 78, 29, 18);
    ExpectRect(FindDialogItem(t, IDC_HIGH_E), 48, 96, 120, 15);
    ExpectRect(FindDialogItem(t, IDC_PARAM_G), 130, 132, 45, 12);
    ExpectRect(FindDialogItem(t, IDC_INIT_Z), 375, 374, 30, 11);
    ExpectRect(FindDialogItem(t, IDC_PLANE_XYZ), 430, 379, 105, 10);

    const DialogItem* run = FindDialogItem(t, IDC_RUN);
    EXPECT_EQ(run->kind, ItemKind::DefaultButton);
    EXPECT_TRUE(run->style & IS_DISABLED);
    EXPECT_TRUE(FindDialogItem(t, IDC_SIMULATE)->style & IS_DISABLED);
    EXPECT_TRUE(FindDialogItem(t, IDC_STOP)->style & IS_DISABLED);
    EXPECT_FALSE(FindDialogItem(t, IDC_CLEAR)->style & IS_DISABLED);

    // The fixed captions of the Operation group, blanks included.
    std::set<std::string> captions;
    for (int i = 0; i < t.count; ++i) {
        if (t.items[i].id == IDC_STATIC && t.items[i].kind == ItemKind::Static) {
            captions.insert(t.items[i].text);
        }
    }
    EXPECT_EQ(captions, (std::set<std::string>{"Variation     0.0001 <= v <= 0.1",
                                               "Iteration     1 <= r <= 10,000,000",
                                               "Zoom         0 <= z <= 100,000"}));
    EXPECT_STREQ(FindDialogItem(t, IDC_QELMETER_CAPTION)->text, "[ad - bc]   -   The Qelmeter");
}

TEST(DialogTemplates, AboutAndGuide) {
    const DialogTemplate& about = Template(IDD_ABOUTBOX);
    EXPECT_EQ(about.cx, 235);
    EXPECT_EQ(about.cy, 94);
    for (int id : {IDC_ABOUT_VERSION, IDC_ABOUT_MODEL, IDC_ABOUT_IDEA_CAPTION, IDC_ABOUT_IDEA_NAMES,
                   IDC_ABOUT_SOFTWARE_CAPTION, IDC_ABOUT_SOFTWARE_NAMES, IDC_ABOUT_LINK, IDOK})
        EXPECT_EQ(CountId(about, id), 1) << id;
    const DialogItem* link = FindDialogItem(about, IDC_ABOUT_LINK);
    EXPECT_STREQ(link->text, kMakerWebAddress);
    EXPECT_TRUE(link->style & IS_TABSTOP);
    EXPECT_EQ(std::strncmp(kMakerWebAddress, "https://", 8), 0);
    EXPECT_TRUE(FindDialogItem(about, IDC_ABOUT_VERSION)->style & IS_NOPREFIX);

    const DialogTemplate& guide = Template(IDD_GUIDE);
    EXPECT_STREQ(guide.caption, "QEL SIMULATOR GUIDE");
    EXPECT_EQ(guide.count, 3);
    ExpectRect(FindDialogItem(guide, IDC_GUIDE_TEXT), 10, 10, 385, 380);
    ExpectRect(FindDialogItem(guide, IDC_GUIDE_PICTURE), 400, 10, 420, 380);
    EXPECT_EQ(FindDialogItem(guide, IDOK)->kind, ItemKind::DefaultButton);
}
