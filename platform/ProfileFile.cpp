#include "ProfileFile.h"

#include "platform/AtomicFile.h"
#include "platform/FileRead.h"

#include <cctype>
#include <strings.h>
#include <vector>

namespace platform {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (std::tolower(x) != std::tolower(y))
            return false;
    }
    return true;
}

// A line without its ending.
std::string_view Content(const std::string& line) {
    std::string_view v(line);
    while (!v.empty() && (v.back() == '\n' || v.back() == '\r'))
        v.remove_suffix(1);
    return v;
}

std::vector<std::string> SplitLines(const std::string& data) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t nl = data.find('\n', start);
        std::size_t end = nl == std::string::npos ? data.size() : nl + 1;
        lines.push_back(data.substr(start, end - start));
        start = end;
    }
    return lines;
}

// The section name if the line opens a section.
bool SectionName(std::string_view content, std::string_view& name) {
    std::string_view t = Trim(content);
    if (t.empty() || t.front() != '[')
        return false;
    std::size_t close = t.find(']');
    if (close == std::string_view::npos)
        return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

bool KeyValue(std::string_view content, std::string_view& key, std::string_view& value) {
    std::size_t eq = content.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = Trim(content.substr(0, eq));
    value = Trim(content.substr(eq + 1));
    return true;
}

// A value or name that holds a line break would split into lines of its own.
std::string OneLine(const char* s) {
    std::string r(s ? s : "");
    for (char& c : r)
        if (c == '\n' || c == '\r')
            c = ' ';
    return r;
}

} // namespace

EFileRead CProfileText::Read(const std::string& path, std::string* error) {
    std::string data;
    const EFileRead read = ReadWholeFile(path, data, error);
    m_lines = SplitLines(data);
    return read;
}

bool CProfileText::Load(const std::string& path, std::string* error) {
    const EFileRead read = Read(path, error);
    return read == EFileRead::Read || read == EFileRead::Missing;
}

bool CProfileText::LoadForUpdate(const std::string& path, std::string* error) {
    return Read(path, error) != EFileRead::Refused;
}

std::string CProfileText::Text() const {
    std::string out;
    for (const std::string& l : m_lines)
        out += l;
    return out;
}

std::string CProfileText::Get(const char* section, const char* key, const char* def,
                              std::size_t size) const {
    auto cut = [size](std::string_view v) {
        if (size == 0)
            return std::string();
        return std::string(v.substr(0, size - 1));
    };
    if (!section || !key)
        return cut(def ? def : "");
    bool inSection = false;
    for (const std::string& line : m_lines) {
        std::string_view content = Content(line), name, k, v;
        if (SectionName(content, name)) {
            if (inSection)
                break; // only the first section of that name counts
            inSection = EqualNoCase(name, section);
            continue;
        }
        if (inSection && KeyValue(content, k, v) && EqualNoCase(k, key))
            return cut(v);
    }
    return cut(def ? def : "");
}

void CProfileText::Write(const char* section, const char* key, const char* value) {
    if (!section || !key)
        return;
    std::vector<std::string>& lines = m_lines;
    const std::string newLine = OneLine(key) + "=" + OneLine(value) + "\n";

    // Locate the section and, inside it, the key or the place after its last non-blank line.
    std::ptrdiff_t sectionAt = -1, keyAt = -1, insertAt = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view content = Content(lines[i]), name, k, v;
        if (SectionName(content, name)) {
            if (sectionAt >= 0)
                break;
            if (EqualNoCase(name, section)) {
                sectionAt = static_cast<std::ptrdiff_t>(i);
                insertAt = sectionAt + 1;
            }
            continue;
        }
        if (sectionAt < 0)
            continue;
        if (KeyValue(content, k, v) && EqualNoCase(k, key)) {
            keyAt = static_cast<std::ptrdiff_t>(i);
            break;
        }
        if (!Trim(content).empty())
            insertAt = static_cast<std::ptrdiff_t>(i) + 1;
    }

    auto terminate = [](std::string& l) {
        if (l.empty() || l.back() != '\n')
            l += "\n";
    };
    if (keyAt >= 0) {
        // Keep the old line ending style.
        std::string& old = lines[keyAt];
        std::string ending =
            old.size() >= 2 && old.compare(old.size() - 2, 2, "\r\n") == 0 ? "\r\n" : "\n";
        if (old.back() != '\n')
            ending.clear();
        old = newLine.substr(0, newLine.size() - 1) + ending;
    } else if (sectionAt >= 0) {
        if (insertAt > 0)
            terminate(lines[insertAt - 1]);
        lines.insert(lines.begin() + insertAt, newLine);
    } else {
        if (!lines.empty())
            terminate(lines.back());
        lines.push_back("[" + OneLine(section) + "]\n");
        lines.push_back(newLine);
    }
}

bool CProfileText::Save(const std::string& path) const {
    return WriteFileAtomically(path, Text());
}

std::string GetPrivateProfileString(const char* section, const char* key, const char* def,
                                    std::size_t size, const std::string& path) {
    CProfileText file;
    file.Load(path);
    return file.Get(section, key, def, size);
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const std::string& path) {
    if (!section || !key)
        return false;
    CProfileText file;
    if (!file.LoadForUpdate(path))
        return false;
    file.Write(section, key, value);
    return file.Save(path);
}

} // namespace platform
