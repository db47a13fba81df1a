#pragma once

// Dialog templates as tables: ids, texts and rectangles in dialog units (see DialogUnits.h).
// A builder turns a template into widgets and keeps them findable by id.

enum class ItemKind {
    Static,
    StaticFrame, // black sunken rectangle
    GroupBox,
    Edit,
    Button,
    DefaultButton,
    RadioButton, // automatic: checking one unchecks the others of its group
    CheckBox,    // automatic: a click toggles it
    ComboBox,    // drop-down list with an edit field
    Progress,
    StaticIcon, // shows the program icon IDR_MAINFRAME
};

// Item style flags.
enum : unsigned {
    IS_DISABLED = 1u << 0,      // created disabled
    IS_DIGITS_ONLY = 1u << 1,   // edit accepts only the digits 0-9
    IS_SUNKEN = 1u << 2,        // sunken edge
    IS_BORDER = 1u << 3,        // thin border
    IS_OWNER_DRAW = 1u << 4,    // painted by its own control class
    IS_CENTER = 1u << 5,        // text centred horizontally
    IS_RIGHT = 1u << 6,         // text right-aligned
    IS_NOPREFIX = 1u << 7,      // "&" is shown, not taken as a mnemonic
    IS_CENTER_IMAGE = 1u << 8,  // image or text centred vertically
    IS_TABSTOP = 1u << 9,       // reachable with Tab
    IS_GROUP = 1u << 10,        // starts a group; it runs up to the next IS_GROUP item
    IS_AUTO_HSCROLL = 1u << 11, // edit scrolls its text instead of refusing at the edge
    IS_VSCROLL = 1u << 12,      // vertical scroll bar (combo box list)
    IS_SMOOTH = 1u << 13,       // progress bar drawn as one continuous bar
};

// Template style flags.
enum : unsigned {
    TS_CAPTION = 1u << 0,
    TS_SYSMENU = 1u << 1,
    TS_MINIMIZE_BOX = 1u << 2,
    TS_MODAL_FRAME = 1u << 3,
};

struct DialogItem {
    int id; // -1 (IDC_STATIC) for none
    ItemKind kind;
    const char* text; // never null; "" for none
    int x, y, cx, cy; // dialog units
    unsigned style;   // IS_* flags
};

struct DialogTemplate {
    int id;
    const char* caption;
    const char* font;
    int pointSize;
    int cx, cy; // dialog units
    const DialogItem* items;
    int count;
    int menu;       // menu resource id, 0 for none
    unsigned style; // TS_* flags
};

// The maker's web address: the link text of the About box and the address it opens.
inline constexpr char kMakerWebAddress[] = "https://www.example.org/qel";

// Template 100 (About), 102 (main window) or 160 (guide); null for any other id.
const DialogTemplate* FindDialogTemplate(int id);

// The first item of the template with this id; null if there is none (or for id -1).
const DialogItem* FindDialogItem(const DialogTemplate& dialog, int id);
