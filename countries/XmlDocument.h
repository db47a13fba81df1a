#pragma once
#include "countries/XmlElement.h"

#include <cstdint>
#include <string>

// A minimal reader of tag-structured text: opening, closing and self-closing tags make the
// tree, declarations and comments are skipped, attributes stay one raw text and no entity is
// decoded. Not a conforming XML parser; it serves the country preset file.
class CXmlDocument {
public:
    CXmlDocument() = default;
    virtual ~CXmlDocument() = default;
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // Empties the tree and makes the root current and unnamed.
    void Clear();
    // Reads the file from the executable's directory and parses it: 1 when read, 0 when it
    // cannot be read (the document is then left as it was). A file that exists but is refused
    // (platform::ReadWholeFile: a folder, a FIFO, a device, too large) says why in *refusal
    // ("PATH: reason"); a missing one leaves it empty.
    int Load(const std::string& fileName, std::string* refusal = nullptr);
    // The same for a file at any path.
    int LoadFrom(const std::string& path, std::string* refusal = nullptr);
    // Builds the tree from the text after a Clear. Returns 1; 0 only when memory runs out, in
    // which case the document is left empty.
    int Parse(std::string text);

    // Child walk with the element's own cursor; nullptr when there is no (further) child or
    // no element.
    CXmlElement* GetFirstChild(CXmlElement* pElement);
    CXmlElement* GetNextChild(CXmlElement* pElement);

    // The text after the first `name=` in the raw attribute text, past one quotation mark,
    // up to the next double quotation mark; empty when there is no `name=`.
    std::string GetAttribute(const CXmlElement* pElement, const std::string& name) const;

    int32_t m_nSpare = -1; // nothing reads it
    std::string m_strSource;
    CXmlElement m_root;
    CXmlElement* m_pCurrent = &m_root;

private:
    void ParseSource();
};
