#pragma once

// String-table identifiers. User-visible texts are fetched by these numbers.
enum : unsigned {
    IDS_ABOUTBOX = 101,  // system-menu item of the About box
    IDS_RANGE_INT = 103, // range message for the integer box
    IDS_VARIATION_NUMBER = 106,
    IDS_ITERATION_NUMBER = 107,
    IDS_INERTION = 108,
    IDS_ADAPTATION = 109,
    IDS_PRODUCTION = 110,
    IDS_PRINTING = 111,
    IDS_INDEXATION = 112,
    IDS_UNEMPLOY = 113,
    IDS_INTEREST = 114,
    IDS_X_STARTING_POINT = 115,
    IDS_Y_STARTING_POINT = 116,
    IDS_Z_STARTING_POINT = 117,
    IDS_RANGE_REAL = 118, // range message for the real-valued boxes
    IDS_SORVAN_PLANE_YZ = 121,
    IDS_SORVAN_PLANE_XY = 122,
    IDS_SORVAN_PLANE_XYZ = 123,
    IDS_PLANE_XZ = 124,
    IDS_PLANE_XY = 125,
    IDS_PLANE_XYZ = 126,
    IDS_NAME_X = 129,
    IDS_NAME_Y = 130,
    IDS_NAME_Z = 131,
    IDS_PREPARING = 134, // status line during a Run's pre-render
    IDS_DRAWING = 135,   // status line while Simulate animates
    IDS_SORVAN_PLANE_XZ = 136,
    IDS_PLANE_YZ = 137,
    IDS_PARAMETER_A = 138, // 138..144: "Parameter A".."Parameter G"
    IDS_PARAMETER_B,
    IDS_PARAMETER_C,
    IDS_PARAMETER_D,
    IDS_PARAMETER_E,
    IDS_PARAMETER_F,
    IDS_PARAMETER_G,
    IDS_NAME_A = 145, // 145..151: "a".."g"
    IDS_NAME_B,
    IDS_NAME_C,
    IDS_NAME_D,
    IDS_NAME_E,
    IDS_NAME_F,
    IDS_NAME_G,
    IDS_SPILLING = 152,     // status line once the progress bar is full
    IDS_TITLE_FORMAT = 153, // window title, %s is the attractor's name
    IDS_TITLE_SORVAN = 154,
    IDS_SORVAN_NAME_A = 1063, // 1063..1069: economic names of the rows a..g
    IDS_SORVAN_NAME_B,
    IDS_SORVAN_NAME_C,
    IDS_SORVAN_NAME_D,
    IDS_SORVAN_NAME_G,
    IDS_SORVAN_NAME_U,
    IDS_SORVAN_NAME_I,
    IDS_ERROR_CREATING_FILE = 2013,
    IDS_LOWER_LE = 2031,       // "%.2f <= "
    IDS_UPPER_LE = 2032,       // " <= %.2f"
    IDS_LOWER_LT = 2033,       // "%.2f < "
    IDS_UPPER_LT = 2034,       // " < %.2f"
    IDS_UPPER_INERTION = 2040, // 2040..2046: economic upper limits with their meaning
    IDS_UPPER_PRODUCTION,
    IDS_UPPER_PRINTING,
    IDS_UPPER_ADAPTATION,
    IDS_UPPER_INDEXATION,
    IDS_UPPER_UNEMPLOYMENT,
    IDS_UPPER_INTEREST,
    // Load Parameters and the trajectory export.
    IDS_NO_PARAMETERS = 3001, // "%s holds no parameters for the %s attractor."
    IDS_EXPORT_SIZE = 3002,   // status line before a large trajectory export
    IDS_EXPORTING = 3003,     // progress dialog of the export
    IDS_CANNOT_READ = 3004,   // "Cannot read %s": a file refused, with its path and the reason
};

// The text of a string-table entry; "" (never null) for an id that names no string, such as 0.
const char* LoadString(unsigned id);
