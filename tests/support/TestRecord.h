#pragma once
#include "model/Attractor.h"

#include <initializer_list>
#include <memory>

// A record with every value set in code, so results do not depend on shipped data: the given
// parameters, else Lorenz's classic ones for Lorenz and 1 for the rest.
inline std::unique_ptr<CAttractor> TestRecord(int kind = 2, int points = 2000,
                                              std::initializer_list<double> params = {}) {
    std::unique_ptr<CAttractor> a(CreateAttractor(kind));
    const double lorenz[7] = {28, 8.0 / 3.0, 10, 1, 1, 1, 1};
    for (int i = 0; i < 7; ++i)
        a->m_param[i].Set(kind == 2 ? lorenz[i] : 1.0, -1e9, 1e9);
    int i = 0;
    for (double v : params)
        a->m_param[i++].Set(v, -1e9, 1e9);
    for (double_PARAM* p : {&a->m_initX, &a->m_initY, &a->m_initZ})
        p->Set(1, -1e9, 1e9);
    a->m_variation.Set(0.005, 0, 1);
    a->m_iteration.Set(points, 0, 10000000);
    a->m_zoom.Set(6, 0, 100000);
    a->m_center[1] = a->m_center[2] = a->m_center[3] = {0, 25};
    a->m_nStartColorChangeIter = 100;
    return a;
}
