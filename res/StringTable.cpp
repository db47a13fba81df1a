#include "res/StringTable.h"

namespace {

struct StringEntry {
    unsigned id;
    const char* text;
};

// Texts are copied character for character: the blanks are part of the layout.
constexpr StringEntry kStrings[] = {
    {IDS_ABOUTBOX, "&About Qel2..."},
    {IDS_RANGE_INT, "%s must vary between %d and %d. Previous data remains."},
    {IDS_VARIATION_NUMBER, "Variation Number"},
    {IDS_ITERATION_NUMBER, "Iteration Number"},
    {IDS_INERTION, "Inertion (A)"},
    {IDS_ADAPTATION, "Adaptation (D)"},
    {IDS_PRODUCTION, "Production (B)"},
    {IDS_PRINTING, "Printing (C)"},
    {IDS_INDEXATION, "Indexation (G)"},
    {IDS_UNEMPLOY, "Unemploy (U)"},
    {IDS_INTEREST, "Interest (I)"},
    {IDS_X_STARTING_POINT, "X Starting Point"},
    {IDS_Y_STARTING_POINT, "Y Starting Point"},
    {IDS_Z_STARTING_POINT, "Z Starting Point"},
    {IDS_RANGE_REAL, "%s must vary between %f and %f. Previous data remains."},
    {IDS_SORVAN_PLANE_YZ, "Money-Pricing,  Y-Z"},
    {IDS_SORVAN_PLANE_XY, "Output-Money,  X-Y"},
    {IDS_SORVAN_PLANE_XYZ, "Money-Pricing-Output,  X-Y-Z"},
    {IDS_PLANE_XZ, "X-Z"},
    {IDS_PLANE_XY, "X-Y"},
    {IDS_PLANE_XYZ, "X-Y-Z"},
    {IDS_NAME_X, "X"},
    {IDS_NAME_Y, "Y"},
    {IDS_NAME_Z, "Z"},
    {IDS_PREPARING, "Preparing bitmaps, please wait...."},
    {IDS_DRAWING, "Drawing graphs...."},
    {IDS_SORVAN_PLANE_XZ, "Output-Pricing,  X-Z"},
    {IDS_PLANE_YZ, "Y-Z"},
    {IDS_PARAMETER_A, "Parameter A"},
    {IDS_PARAMETER_B, "Parameter B"},
    {IDS_PARAMETER_C, "Parameter C"},
    {IDS_PARAMETER_D, "Parameter D"},
    {IDS_PARAMETER_E, "Parameter E"},
    {IDS_PARAMETER_F, "Parameter F"},
    {IDS_PARAMETER_G, "Parameter G"},
    {IDS_NAME_A, "a"},
    {IDS_NAME_B, "b"},
    {IDS_NAME_C, "c"},
    {IDS_NAME_D, "d"},
    {IDS_NAME_E, "e"},
    {IDS_NAME_F, "f"},
    {IDS_NAME_G, "g"},
    {IDS_SPILLING, "Spilling bitmaps into screen..."},
    {IDS_TITLE_FORMAT, "QEL - %s Attractor"},
    {IDS_TITLE_SORVAN, "QEL - Economic Simulator, based on Sorvan Attractor"},
    {IDS_SORVAN_NAME_A, "a"},
    {IDS_SORVAN_NAME_B, "b"},
    {IDS_SORVAN_NAME_C, "c"},
    {IDS_SORVAN_NAME_D, "d"},
    {IDS_SORVAN_NAME_G, "G"},
    {IDS_SORVAN_NAME_U, "U"},
    {IDS_SORVAN_NAME_I, "I"},
    {IDS_ERROR_CREATING_FILE, "Error creating file %s"},
    {IDS_NO_PARAMETERS, "%s holds no parameters for the %s attractor."},
    {IDS_EXPORT_SIZE, "Writing %s points, ~%s MB..."},
    {IDS_EXPORTING, "Exporting the trajectory..."},
    {IDS_CANNOT_READ, "Cannot read %s"},
    {IDS_LOWER_LE, "%.2f <= "},
    {IDS_UPPER_LE, " <= %.2f"},
    {IDS_LOWER_LT, "%.2f < "},
    {IDS_UPPER_LT, " < %.2f"},
    {IDS_UPPER_INERTION, " <= %.2f    (Inertion)"},
    {IDS_UPPER_PRODUCTION, " <= %.2f    (Production)"},
    {IDS_UPPER_PRINTING, " <= %.2f    (Printing)"},
    {IDS_UPPER_ADAPTATION, " <= %.2f    (Adaptation)"},
    {IDS_UPPER_INDEXATION, " <= %.2f    (Indexation)"},
    {IDS_UPPER_UNEMPLOYMENT, " <= %.2f  (Unemployment)"},
    {IDS_UPPER_INTEREST, " <= %.2f    (Interest)"},
};

constexpr bool IdsAreUnique() {
    for (const StringEntry& a : kStrings) {
        int n = 0;
        for (const StringEntry& b : kStrings)
            n += a.id == b.id;
        if (n != 1)
            return false;
    }
    return true;
}
static_assert(IdsAreUnique(), "a string id is listed twice");

} // namespace

const char* LoadString(unsigned id) {
    for (const StringEntry& e : kStrings) {
        if (e.id == id)
            return e.text;
    }
    return "";
}
