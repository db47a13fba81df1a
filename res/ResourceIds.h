#pragma once

// Resource, command and control identifiers. Handlers and widgets are found by these numbers.

// Templates and other resources.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_QEL2_DIALOG = 102;
inline constexpr int IDD_GUIDE = 160;
inline constexpr int IDR_MAINFRAME = 127;    // program icon
inline constexpr int IDR_BLANK_CURSOR = 128; // fully transparent cursor over the plot
inline constexpr int IDR_MAIN_MENU = 132;

// Commands.
inline constexpr int IDM_ABOUTBOX = 0x0010; // recognised with its low four bits cleared
inline constexpr int ID_ATTRACTOR_SORVAN = 32771;
inline constexpr int ID_ATTRACTOR_LORENZ = 32772;
inline constexpr int ID_ATTRACTOR_ROSSLER = 32773;
inline constexpr int ID_ATTRACTOR_IKEDA = 32774;
inline constexpr int ID_ATTRACTOR_PICKOVER = 32775;
inline constexpr int ID_ATTRACTOR_HENON = 32776;
inline constexpr int ID_HELP_ABOUT_QELMETER = 32780;
inline constexpr int ID_HELP_GUIDE = 32781;
inline constexpr int ID_FILE_SAVE_PARAMETERS = 32782;
inline constexpr int ID_FILE_SAVE_AS = 57603;
// Load Parameters, Export Trajectory and the Analysis menu.
inline constexpr int ID_FILE_LOAD_PARAMETERS = 32783;
inline constexpr int ID_FILE_EXPORT_TRAJECTORY = 32784;
inline constexpr int ID_ANALYSIS_TIME_SERIES = 32785;
inline constexpr int ID_ANALYSIS_BIFURCATION = 32795;
inline constexpr int ID_ANALYSIS_STABILITY_MAP = 32796;
inline constexpr int ID_ANALYSIS_EQUILIBRIA = 32797;
inline constexpr int ID_HELP = 57670;

// Command of each attractor kind (0 Henon, 1 Ikeda, 2 Lorenz, 3 Pickover, 4 Rossler, 5 Sorvan).
inline constexpr int kAttractorCommands[6] = {ID_ATTRACTOR_HENON,   ID_ATTRACTOR_IKEDA,
                                              ID_ATTRACTOR_LORENZ,  ID_ATTRACTOR_PICKOVER,
                                              ID_ATTRACTOR_ROSSLER, ID_ATTRACTOR_SORVAN};

// Kind index of an attractor command, -1 for any other command.
constexpr int AttractorKindFromCommand(int command) {
    for (int k = 0; k < 6; ++k) {
        if (kAttractorCommands[k] == command)
            return k;
    }
    return -1;
}

// Controls shared by several dialogs.
inline constexpr int IDC_STATIC = -1;
inline constexpr int IDOK = 1;

// Main window (template 102).
inline constexpr int IDC_MARKER = 104;
inline constexpr int IDC_QELMETER_CAPTION = 120;
inline constexpr int IDC_QELMETER_VALUE = 161;
inline constexpr int IDC_PLOT_FRAME = 1000;
inline constexpr int IDC_VARIATION = 1001;
inline constexpr int IDC_ITERATION = 1002;
inline constexpr int IDC_INIT_X = 1010;
inline constexpr int IDC_INIT_Y = 1011;
inline constexpr int IDC_INIT_Z = 1012;
inline constexpr int IDC_PLANE_XY = 1013;
inline constexpr int IDC_PLANE_XZ = 1014;
inline constexpr int IDC_PLANE_YZ = 1015;
inline constexpr int IDC_PLANE_XYZ = 1016;
inline constexpr int IDC_RUN = 1017;
inline constexpr int IDC_PROGRESS = 1018;
inline constexpr int IDC_PARAMETERS_GROUP = 1022;
inline constexpr int IDC_NAME_A = 1032;
inline constexpr int IDC_NAME_B = 1033;
inline constexpr int IDC_NAME_C = 1034;
inline constexpr int IDC_NAME_D = 1035;
inline constexpr int IDC_PARAM_A = 1036;
inline constexpr int IDC_PARAM_B = 1037;
inline constexpr int IDC_PARAM_C = 1038;
inline constexpr int IDC_NAME_X = 1039;
inline constexpr int IDC_NAME_Y = 1040;
inline constexpr int IDC_NAME_Z = 1041;
inline constexpr int IDC_SIMULATE = 1042;
inline constexpr int IDC_STOP = 1043;
inline constexpr int IDC_STATUS = 1044;
inline constexpr int IDC_CLEAR = 1045;
inline constexpr int IDC_COUNTRY = 1046;
inline constexpr int IDC_COUNTRY_LABEL = 1047;
inline constexpr int IDC_PARAM_D = 1048;
inline constexpr int IDC_PARAM_E = 1049;
inline constexpr int IDC_PARAM_F = 1050;
inline constexpr int IDC_PARAM_G = 1051;
inline constexpr int IDC_NAME_E = 1060;
inline constexpr int IDC_NAME_F = 1061;
inline constexpr int IDC_NAME_G = 1062;
inline constexpr int IDC_ACCUMULATE = 1078;
inline constexpr int IDC_EQUATION_X = 1079;
inline constexpr int IDC_EQUATION_Y = 1080;
inline constexpr int IDC_EQUATION_Z = 1081;
inline constexpr int IDC_ACCUMULATED_LABEL = 1085;
inline constexpr int IDC_EQUATIONS_GROUP = 1086;
inline constexpr int IDC_ZOOM = 1087;
inline constexpr int IDC_LOW_A = 2014;
inline constexpr int IDC_HIGH_A = 2015;
inline constexpr int IDC_LOW_B = 2016;
inline constexpr int IDC_HIGH_B = 2017;
inline constexpr int IDC_LOW_C = 2018;
inline constexpr int IDC_HIGH_C = 2019;
inline constexpr int IDC_LOW_D = 2020;
inline constexpr int IDC_HIGH_D = 2021;
inline constexpr int IDC_LOW_E = 2022;
inline constexpr int IDC_HIGH_E = 2023;
inline constexpr int IDC_LOW_F = 2024;
inline constexpr int IDC_HIGH_F = 2025;
inline constexpr int IDC_LOW_G = 2026;
inline constexpr int IDC_HIGH_G = 2027;
inline constexpr int IDC_LOW_X = 2051;
inline constexpr int IDC_HIGH_X = 2052;
inline constexpr int IDC_LOW_Y = 2053;
inline constexpr int IDC_HIGH_Y = 2054;
inline constexpr int IDC_LOW_Z = 2055;
inline constexpr int IDC_HIGH_Z = 2056;

// The ten label rows a..g, X, Y, Z: name, lower limit and upper limit (their value boxes:
// app/ValueBoxes.h).
inline constexpr int kRowNameIds[10] = {IDC_NAME_A, IDC_NAME_B, IDC_NAME_C, IDC_NAME_D, IDC_NAME_E,
                                        IDC_NAME_F, IDC_NAME_G, IDC_NAME_X, IDC_NAME_Y, IDC_NAME_Z};
inline constexpr int kRowLowIds[10] = {IDC_LOW_A, IDC_LOW_B, IDC_LOW_C, IDC_LOW_D, IDC_LOW_E,
                                       IDC_LOW_F, IDC_LOW_G, IDC_LOW_X, IDC_LOW_Y, IDC_LOW_Z};
inline constexpr int kRowHighIds[10] = {IDC_HIGH_A, IDC_HIGH_B, IDC_HIGH_C, IDC_HIGH_D, IDC_HIGH_E,
                                        IDC_HIGH_F, IDC_HIGH_G, IDC_HIGH_X, IDC_HIGH_Y, IDC_HIGH_Z};

// Display radio buttons, indexed by plane (0 X-Y, 1 X-Z, 2 Y-Z, 3 X-Y-Z).
inline constexpr int kPlaneButtonIds[4] = {IDC_PLANE_XY, IDC_PLANE_XZ, IDC_PLANE_YZ, IDC_PLANE_XYZ};

// About box (template 100).
inline constexpr int IDC_ABOUT_IDEA_NAMES = 1020;
inline constexpr int IDC_ABOUT_IDEA_CAPTION = 1021;
inline constexpr int IDC_ABOUT_SOFTWARE_CAPTION = 1052;
inline constexpr int IDC_ABOUT_SOFTWARE_NAMES = 1053;
inline constexpr int IDC_ABOUT_LINK = 1092;
inline constexpr int IDC_ABOUT_VERSION = 1093;
inline constexpr int IDC_ABOUT_MODEL = 1094;

// Guide (template 160).
inline constexpr int IDC_GUIDE_PICTURE = 1090;
inline constexpr int IDC_GUIDE_TEXT = 1091;
