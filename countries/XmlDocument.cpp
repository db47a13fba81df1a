#include "XmlDocument.h"

#include "platform/FileRead.h"
#include "platform/ModulePath.h"

#include <algorithm>
#include <new>

namespace {

enum class TagKind { Skipped, Opening, Closing, SelfClosing };

const char* const BLANKS = " \t\n\r\f\v";

void AssignTrimmed(std::string& dst, const std::string& src) {
    std::size_t first = src.find_first_not_of(BLANKS);
    if (first == std::string::npos) {
        dst.clear();
        return;
    }
    std::size_t last = src.find_last_not_of(BLANKS);
    dst.assign(src, first, last - first + 1);
}

// The tag text runs from "<" to ">"; inner receives what names the element.
TagKind ClassifyTag(const std::string& tag, std::string& inner) {
    inner.clear();
    if (tag.empty())
        return TagKind::Skipped;
    TagKind kind = TagKind::Opening;
    char previous = '\0';
    for (char c : tag) {
        if (previous == '<' && (c == '!' || c == '?'))
            return TagKind::Skipped;
        if (previous == '<' && c == '/') {
            kind = TagKind::Closing;
        } else if (previous == '/' && c == '>') {
            kind = TagKind::SelfClosing;
            // "</>" has no "/" in inner to take back.
            if (!inner.empty())
                inner.pop_back();
        } else if (c != '<' && c != '>') {
            inner += c;
        }
        previous = c;
    }
    return kind;
}

void NameElement(CXmlElement& element, const std::string& inner) {
    std::size_t blank = inner.find(' ');
    if (blank == std::string::npos) {
        element.m_strName = inner;
        element.m_strAttributes.clear();
        return;
    }
    element.m_strName.assign(inner, 0, blank);
    AssignTrimmed(element.m_strAttributes, inner.substr(blank + 1));
}

} // namespace

void CXmlDocument::Clear() {
    m_root.DeleteChildren();
    m_pCurrent = &m_root;
    m_root.m_pParent = nullptr;
    m_root.m_strName.clear();
    m_root.m_strAttributes.clear();
    m_root.m_strText.clear();
    m_root.m_strSpare.clear();
    m_root.m_posChild = CXmlElement::NO_CHILD;
}

int CXmlDocument::Load(const std::string& fileName, std::string* refusal) {
    return LoadFrom(platform::GetProgramFilePath(fileName), refusal);
}

int CXmlDocument::LoadFrom(const std::string& path, std::string* refusal) {
    std::string text, why;
    const platform::EFileRead read = platform::ReadWholeFile(path, text, &why);
    if (read != platform::EFileRead::Read) {
        if (refusal)
            *refusal = read == platform::EFileRead::Missing ? std::string() : why;
        return 0;
    }
    // The text ends at a zero byte, as a C string would.
    text.resize(std::min(text.size(), text.find('\0')));
    std::erase_if(text, [](char c) { return c == '\n' || c == '\r' || c == '\t'; });
    return Parse(std::move(text));
}

int CXmlDocument::Parse(std::string text) {
    Clear();
    try {
        m_strSource = std::move(text);
        ParseSource();
    } catch (const std::bad_alloc&) {
        Clear();
        return 0;
    }
    return 1;
}

void CXmlDocument::ParseSource() {
    std::string tag, gathered, inner;
    bool inTag = false;
    for (char c : m_strSource) {
        if (c == '<') {
            tag += c;
            AssignTrimmed(m_pCurrent->m_strText, gathered);
            gathered.clear();
            inTag = true;
        } else if (c == '>') {
            tag += c;
            TagKind kind = ClassifyTag(tag, inner);
            tag.clear();
            inTag = false;
            if (kind == TagKind::Opening || kind == TagKind::SelfClosing) {
                if (m_root.m_strName.empty()) {
                    NameElement(m_root, inner);
                } else {
                    auto element = std::make_unique<CXmlElement>(m_pCurrent);
                    NameElement(*element, inner);
                    CXmlElement* pNew = element.get();
                    m_pCurrent->m_children.push_back(std::move(element));
                    m_pCurrent = pNew;
                }
            }
            if (kind == TagKind::Closing || kind == TagKind::SelfClosing) {
                if (m_pCurrent->m_pParent)
                    m_pCurrent = m_pCurrent->m_pParent;
            }
        } else if (inTag) {
            tag += c;
        } else {
            gathered += c;
        }
    }
}

CXmlElement* CXmlDocument::GetFirstChild(CXmlElement* pElement) {
    if (!pElement)
        return nullptr;
    pElement->m_posChild = pElement->m_children.empty() ? CXmlElement::NO_CHILD : 0;
    return GetNextChild(pElement);
}

CXmlElement* CXmlDocument::GetNextChild(CXmlElement* pElement) {
    if (!pElement || pElement->m_posChild >= pElement->m_children.size()) {
        if (pElement)
            pElement->m_posChild = CXmlElement::NO_CHILD;
        return nullptr;
    }
    CXmlElement* child = pElement->m_children[pElement->m_posChild].get();
    ++pElement->m_posChild;
    if (pElement->m_posChild == pElement->m_children.size())
        pElement->m_posChild = CXmlElement::NO_CHILD;
    return child;
}

std::string CXmlDocument::GetAttribute(const CXmlElement* pElement, const std::string& name) const {
    if (!pElement)
        return {};
    const std::string& text = pElement->m_strAttributes;
    std::size_t found = text.find(name + "=");
    if (found == std::string::npos)
        return {};
    // Past the name, the "=" and the opening quotation mark, which may be missing at the end.
    std::size_t start = found + name.size() + 2;
    if (start >= text.size())
        return {};
    std::size_t quote = text.find('"', start);
    return text.substr(start, quote == std::string::npos ? std::string::npos : quote - start);
}
