#pragma once

// Menus as tables: a bar of popups, each a list of command items.

// Menu item flags.
enum : unsigned {
    MIF_CHECKED = 1u << 0,   // carries a check mark in the template
    MIF_SEPARATOR = 1u << 1, // a separator line; id and text are unused
};

struct MenuItem {
    int id;
    const char* text; // never null; "&" marks the mnemonic
    unsigned flags;   // MIF_* flags
};

struct MenuPopup {
    const char* text;
    const MenuItem* items;
    int count;
};

struct MenuTemplate {
    int id;
    const MenuPopup* popups;
    int count;
};

// Menu 132 (the main window's menu bar); null for any other id. The About item of the window's
// system menu is offered at the end of "&Help", because the window manager owns the system menu.
const MenuTemplate* FindMenuTemplate(int id);

// The item with this command id anywhere in the menu; null if there is none.
const MenuItem* FindMenuItem(const MenuTemplate& menu, int id);
