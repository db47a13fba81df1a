#pragma once
#include "model/Attractor.h"

#include <memory>

// A Lorenz record with values set in code, so the pictures do not depend on shipped data.
inline std::unique_ptr<CAttractor> TestLorenz(int points = 2000) {
    std::unique_ptr<CAttractor> a(CreateAttractor(2));
    a->m_param[0].Set(28, 0, 100);
    a->m_param[1].Set(8.0 / 3.0, 0, 100);
    a->m_param[2].Set(10, 0, 100);
    a->m_initX.Set(1, -50, 50);
    a->m_initY.Set(1, -50, 50);
    a->m_initZ.Set(1, -50, 50);
    a->m_variation.Set(0.005, 0, 1);
    a->m_iteration.Set(points, 0, 10000000);
    a->m_zoom.Set(6, 0, 100000);
    a->m_center[1] = a->m_center[2] = a->m_center[3] = {0, 25};
    a->m_nStartColorChangeIter = 100;
    return a;
}
