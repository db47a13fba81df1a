#include "res/Menu.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

#include <cctype>
#include <cstring>
#include <set>

#include <gtest/gtest.h>

namespace {

char Mnemonic(const char* text) {
    const char* amp = std::strchr(text, '&');
    return amp && amp[1] ? static_cast<char>(std::tolower(static_cast<unsigned char>(amp[1]))) : 0;
}

} // namespace

TEST(Menu, AttractorMenuOffersAllSixKinds) {
    const MenuTemplate* menu = FindMenuTemplate(IDR_MAIN_MENU);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->count, 3);
    const MenuPopup& attractors = menu->popups[1];
    EXPECT_STREQ(attractors.text, "&Attractor");
    ASSERT_EQ(attractors.count, 6);

    const char* names[] = {"Henon", "Ikeda", "Lorenz", "Pickover", "Rossler", "Sorvan"};
    std::set<char> mnemonics;
    for (int kind = 0; kind < 6; ++kind) {
        const MenuItem& item = attractors.items[kind];
        EXPECT_EQ(item.id, kAttractorCommands[kind]) << kind;
        EXPECT_EQ(AttractorKindFromCommand(item.id), kind);
        EXPECT_EQ(std::string(item.text), "&" + std::string(names[kind]));
        EXPECT_TRUE(mnemonics.insert(Mnemonic(item.text)).second) << item.text;
        EXPECT_EQ((item.flags & MIF_CHECKED) != 0, kind == 5) << kind;
    }
    EXPECT_EQ(kAttractorCommands[0], 32776);
    EXPECT_EQ(kAttractorCommands[2], 32772);
    EXPECT_EQ(kAttractorCommands[5], 32771);
    EXPECT_EQ(AttractorKindFromCommand(ID_FILE_SAVE_AS), -1);
}

TEST(Menu, FileAndHelpCommands) {
    const MenuTemplate& menu = *FindMenuTemplate(IDR_MAIN_MENU);
    EXPECT_STREQ(menu.popups[0].text, "&File");
    EXPECT_STREQ(menu.popups[2].text, "&Help");
    EXPECT_STREQ(FindMenuItem(menu, 57603)->text, "&Save As");
    EXPECT_STREQ(FindMenuItem(menu, 32782)->text, "Save &Parameters");
    EXPECT_STREQ(FindMenuItem(menu, 32781)->text, "&Qel software-guide");
    EXPECT_STREQ(FindMenuItem(menu, 32780)->text, "&About Qelmeter");
    const MenuItem* about = FindMenuItem(menu, IDM_ABOUTBOX);
    ASSERT_NE(about, nullptr);
    EXPECT_STREQ(about->text, LoadString(IDS_ABOUTBOX));
    // The separator's id 0 is not a command.
    EXPECT_EQ(FindMenuItem(menu, 0), nullptr);
    EXPECT_EQ(FindMenuTemplate(133), nullptr);
}
