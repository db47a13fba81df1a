#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// One node of the tree built by CXmlDocument. Owns its children; deleting an element deletes
// its whole subtree.
class CXmlElement {
public:
    static constexpr std::size_t NO_CHILD = static_cast<std::size_t>(-1);

    CXmlElement() = default;
    explicit CXmlElement(CXmlElement* pParent) : m_pParent(pParent) {}
    virtual ~CXmlElement();
    CXmlElement(const CXmlElement&) = delete;
    CXmlElement& operator=(const CXmlElement&) = delete;

    // Frees every descendant without recursing, so any depth of nesting is safe.
    void DeleteChildren();

    std::string m_strName;
    std::string m_strAttributes; // raw text after the name, trimmed
    std::string m_strText;
    std::vector<std::unique_ptr<CXmlElement>> m_children; // document order
    CXmlElement* m_pParent = nullptr;
    std::size_t m_posChild = NO_CHILD; // index of the next child of the walk, or NO_CHILD
    std::string m_strSpare;            // always empty
};
