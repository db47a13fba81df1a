#pragma once
#include <string>

// What the six kinds are, apart from their equations (model/Integrator.h): a seventh kind is a
// row here, a rate template there and a class in model/AttractorKinds.h. Rows are written with
// designated initialisers, so a new column (a per-kind Jacobian, say) is one line per row.
namespace qel {

struct CKindInfo {
    const char* szName;                            // the settings section and the menu's word
    int nUsedParams = 3;                           // the equations use a and the ones after it
    const char* szMeanings[7] = {};                // what a..g stand for, where they have a name
    const char* szAxes[3] = {"X", "Y", "Z"};       // plane labels and the time plots' titles
    const char* szVariables[3] = {"x", "y", "z"};  // the analyses' names of the variables
    const char* szCsvColumns[3] = {"x", "y", "z"}; // the trajectory CSV's columns
};

inline constexpr int kKindCount = 6;

bool IsKind(int kind);
// The row of kind 0 Henon .. 5 the economic model; any other index gives the economic model's,
// as WithKind runs it.
const CKindInfo& KindInfo(int kind);

// The kind given by its index or its name in any case; -1 for anything else.
int KindFromText(const std::string& text);

// Number of the parameters a..g that the kind's equations use (a first).
int UsedParameterCount(int kind);
// "a".."g", for the economic model with its meaning: "a Inertion".
std::string ParameterTitle(int kind, int param);
// "x", "y", "z", for the economic model "Output (Q)", "Money (M)", "Pricing (P)".
std::string VariableTitle(int kind, int variable);

// The Qelmeter, a d - b c: where it changes sign the economy changes character.
double Qelmeter(double a, double b, double c, double d);

// Model time one drawing step advances. The step adds (v/6)(f1 + f2 + f3 + f4) with v the
// Variation and every stage taken at half of it; with the four rates nearly equal this is
// (4/6) v f, so a step moves the state along by two thirds of the Variation.
double ModelTimePerStep(double variation);

} // namespace qel
