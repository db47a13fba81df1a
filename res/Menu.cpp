#include "res/Menu.h"

#include "res/ResourceIds.h"

namespace {

constexpr MenuItem kFileItems[] = {
    {ID_FILE_SAVE_AS, "&Save As", 0},
    {ID_FILE_SAVE_PARAMETERS, "Save &Parameters", 0},
};

// In kind order; the initial attractor, Sorvan, is checked.
constexpr MenuItem kAttractorItems[] = {
    {ID_ATTRACTOR_HENON, "&Henon", 0},     {ID_ATTRACTOR_IKEDA, "&Ikeda", 0},
    {ID_ATTRACTOR_LORENZ, "&Lorenz", 0},   {ID_ATTRACTOR_PICKOVER, "&Pickover", 0},
    {ID_ATTRACTOR_ROSSLER, "&Rossler", 0}, {ID_ATTRACTOR_SORVAN, "&Sorvan", MIF_CHECKED},
};

constexpr MenuItem kHelpItems[] = {
    {ID_HELP_GUIDE, "&Qel software-guide", 0},
    {ID_HELP_ABOUT_QELMETER, "&About Qelmeter", 0},
    {0, "", MIF_SEPARATOR},
    {IDM_ABOUTBOX, "&About Qel2...", 0}, // the same text as string IDS_ABOUTBOX
};

template <int N> constexpr int Count(const MenuItem (&)[N]) {
    return N;
}

constexpr MenuPopup kMainPopups[] = {
    {"&File", kFileItems, Count(kFileItems)},
    {"&Attractor", kAttractorItems, Count(kAttractorItems)},
    {"&Help", kHelpItems, Count(kHelpItems)},
};

constexpr MenuTemplate kMainMenu = {IDR_MAIN_MENU, kMainPopups, 3};

} // namespace

const MenuTemplate* FindMenuTemplate(int id) {
    return id == kMainMenu.id ? &kMainMenu : nullptr;
}

const MenuItem* FindMenuItem(const MenuTemplate& menu, int id) {
    for (int p = 0; p < menu.count; ++p) {
        const MenuPopup& popup = menu.popups[p];
        for (int i = 0; i < popup.count; ++i) {
            if (!(popup.items[i].flags & MIF_SEPARATOR) && popup.items[i].id == id)
                return &popup.items[i];
        }
    }
    return nullptr;
}
