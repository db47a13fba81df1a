#include "res/Menu.h"

#include "res/ResourceIds.h"

namespace {

constexpr MenuItem kFileItems[] = {
    {ID_FILE_SAVE_AS, "&Save As", 0},
    {ID_FILE_SAVE_PARAMETERS, "Save &Parameters", 0},
    {ID_FILE_LOAD_PARAMETERS, "&Load Parameters...", 0},
    {ID_FILE_EXPORT_TRAJECTORY, "Export &Trajectory...", 0},
};

// In kind order; the initial attractor, Sorvan, is checked.
constexpr MenuItem kAttractorItems[] = {
    {ID_ATTRACTOR_HENON, "&Henon", 0},     {ID_ATTRACTOR_IKEDA, "&Ikeda", 0},
    {ID_ATTRACTOR_LORENZ, "&Lorenz", 0},   {ID_ATTRACTOR_PICKOVER, "&Pickover", 0},
    {ID_ATTRACTOR_ROSSLER, "&Rossler", 0}, {ID_ATTRACTOR_SORVAN, "&Sorvan", MIF_CHECKED},
};

// The analysis windows; each new one is one more row here.
constexpr MenuItem kAnalysisItems[] = {
    {ID_ANALYSIS_TIME_SERIES, "&Time Series", 0},
    {ID_ANALYSIS_BIFURCATION, "&Bifurcation Diagram...", 0},
    {ID_ANALYSIS_STABILITY_MAP, "Stability &Map...", 0},
    {ID_ANALYSIS_EQUILIBRIA, "&Equilibria...", 0},
};

constexpr MenuItem kHelpItems[] = {
    {ID_HELP_GUIDE, "&Qel software-guide", 0},
    {ID_HELP_ABOUT_QELMETER, "&About Qelmeter", 0},
    {0, "", MIF_SEPARATOR},
    {IDM_ABOUTBOX, "&About Qel2...", 0}, // the same text as string IDS_ABOUTBOX
};

template <typename T, int N> constexpr int Count(const T (&)[N]) {
    return N;
}

constexpr MenuPopup kMainPopups[] = {
    {"&File", kFileItems, Count(kFileItems)},
    {"&Attractor", kAttractorItems, Count(kAttractorItems)},
    {"A&nalysis", kAnalysisItems, Count(kAnalysisItems)},
    {"&Help", kHelpItems, Count(kHelpItems)},
};

constexpr MenuTemplate kMainMenu = {IDR_MAIN_MENU, kMainPopups, Count(kMainPopups)};

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
