#include "XmlElement.h"

CXmlElement::~CXmlElement() {
    DeleteChildren();
}

void CXmlElement::DeleteChildren() {
    // Post-order walk along the parent links: only leaves are ever deleted, so no destructor
    // call nests inside another and no extra memory is needed.
    CXmlElement* p = this;
    for (;;) {
        if (!p->m_children.empty()) {
            CXmlElement* child = p->m_children.back().get();
            child->m_pParent = p;
            p = child;
        } else if (p == this) {
            break;
        } else {
            CXmlElement* parent = p->m_pParent;
            parent->m_children.pop_back();
            p = parent;
        }
    }
    m_posChild = NO_CHILD;
}
