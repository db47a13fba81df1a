#include "analysis/RecordSnapshot.h"

namespace qel {

std::unique_ptr<CAttractor> SnapshotRecord(const CAttractor& record) {
    std::unique_ptr<CAttractor> copy(CreateAttractor(record.GetKind()));
    if (!copy)
        return copy;
    for (int i = 0; i < 7; ++i)
        copy->m_param[i] = record.m_param[i];
    copy->m_initX = record.m_initX;
    copy->m_initY = record.m_initY;
    copy->m_initZ = record.m_initZ;
    copy->m_variation = record.m_variation;
    copy->m_iteration = record.m_iteration;
    copy->m_zoom = record.m_zoom;
    return copy;
}

} // namespace qel
