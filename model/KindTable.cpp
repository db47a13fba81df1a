#include "model/KindTable.h"

#include <cstdlib>
#include <strings.h>

namespace qel {

namespace {
const CKindInfo kKinds[kKindCount] = {
    {.szName = "Henon", .nUsedParams = 5},
    {.szName = "Ikeda", .nUsedParams = 4},
    {.szName = "Lorenz", .nUsedParams = 3},
    {.szName = "Pickover", .nUsedParams = 5},
    {.szName = "Rossler", .nUsedParams = 3},
    {.szName = "Sorvan",
     .nUsedParams = 7,
     .szMeanings = {"Inertion", "Production", "Printing", "Adaptation", "Indexation",
                    "Unemployment", "Interest"},
     .szAxes = {"X - Output(Q)", "Y - Money (M)", "Z - Pricing (P)"},
     .szVariables = {"Output (Q)", "Money (M)", "Pricing (P)"},
     .szCsvColumns = {"x_output", "y_money", "z_pricing"}},
};
} // namespace

bool IsKind(int kind) {
    return kind >= 0 && kind < kKindCount;
}

const CKindInfo& KindInfo(int kind) {
    return kKinds[IsKind(kind) ? kind : kKindCount - 1];
}

int KindFromText(const std::string& text) {
    char* end = nullptr;
    const long index = std::strtol(text.c_str(), &end, 10);
    if (!text.empty() && !*end)
        return IsKind(static_cast<int>(index)) ? static_cast<int>(index) : -1;
    for (int k = 0; k < kKindCount; ++k)
        if (strcasecmp(text.c_str(), kKinds[k].szName) == 0)
            return k;
    return -1;
}

int UsedParameterCount(int kind) {
    return KindInfo(kind).nUsedParams;
}

std::string ParameterTitle(int kind, int param) {
    std::string t(1, static_cast<char>('a' + param));
    if (param >= 0 && param < 7 && KindInfo(kind).szMeanings[param])
        t += std::string(" ") + KindInfo(kind).szMeanings[param];
    return t;
}

std::string VariableTitle(int kind, int variable) {
    return KindInfo(kind).szVariables[variable < 0 || variable > 2 ? 0 : variable];
}

double Qelmeter(double a, double b, double c, double d) {
    return a * d - b * c;
}

double ModelTimePerStep(double variation) {
    return variation * 2.0 / 3.0;
}

} // namespace qel
