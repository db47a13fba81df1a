#include "ProfileFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

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

// One line of the file, kept with its line ending so that rewriting is byte exact.
struct Line {
    std::string text; // including the terminator, if any
    std::string_view Content() const {
        std::string_view v(text);
        while (!v.empty() && (v.back() == '\n' || v.back() == '\r'))
            v.remove_suffix(1);
        return v;
    }
};

std::vector<Line> SplitLines(const std::string& data) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t nl = data.find('\n', start);
        std::size_t end = nl == std::string::npos ? data.size() : nl + 1;
        lines.push_back({data.substr(start, end - start)});
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

bool ReadWhole(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return !in.bad();
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

std::string GetPrivateProfileString(const char* section, const char* key, const char* def,
                                    std::size_t size, const std::string& path) {
    auto cut = [size](std::string_view v) {
        if (size == 0)
            return std::string();
        return std::string(v.substr(0, size - 1));
    };
    std::string data;
    if (!section || !key || !ReadWhole(path, data))
        return cut(def ? def : "");
    bool inSection = false;
    for (const Line& line : SplitLines(data)) {
        std::string_view content = line.Content(), name, k, v;
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

bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const std::string& path) {
    if (!section || !key)
        return false;
    std::string data;
    struct stat st {};
    bool existed = ::stat(path.c_str(), &st) == 0;
    if (existed && !ReadWhole(path, data))
        return false;

    std::vector<Line> lines = SplitLines(data);
    const std::string newLine = OneLine(key) + "=" + OneLine(value) + "\n";

    // Locate the section and, inside it, the key or the place after its last non-blank line.
    std::ptrdiff_t sectionAt = -1, keyAt = -1, insertAt = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view content = lines[i].Content(), name, k, v;
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

    auto terminate = [](Line& l) {
        if (l.text.empty() || l.text.back() != '\n')
            l.text += "\n";
    };
    if (keyAt >= 0) {
        // Keep the old line ending style.
        std::string ending = lines[keyAt].text.size() >= 2 &&
                                     lines[keyAt].text.compare(lines[keyAt].text.size() - 2, 2,
                                                               "\r\n") == 0
                                 ? "\r\n"
                                 : "\n";
        if (lines[keyAt].text.back() != '\n')
            ending.clear();
        lines[keyAt].text = newLine.substr(0, newLine.size() - 1) + ending;
    } else if (sectionAt >= 0) {
        if (insertAt > 0)
            terminate(lines[insertAt - 1]);
        lines.insert(lines.begin() + insertAt, Line{newLine});
    } else {
        if (!lines.empty())
            terminate(lines.back());
        lines.push_back(Line{"[" + OneLine(section) + "]\n"});
        lines.push_back(Line{newLine});
    }

    std::string out;
    for (const Line& l : lines)
        out += l.text;

    // Write a temporary beside the file, then rename over it.
    std::string tmpl = path + ".XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0)
        return false;
    bool ok = true;
    const char* p = out.data();
    std::size_t left = out.size();
    while (ok && left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ok = false;
        else {
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    mode_t mode = existed ? (st.st_mode & 07777) : 0644;
    if (ok && ::fchmod(fd, mode) != 0)
        ok = false;
    if (ok && ::fsync(fd) != 0)
        ok = false;
    if (::close(fd) != 0)
        ok = false;
    if (ok && ::rename(name.data(), path.c_str()) != 0)
        ok = false;
    if (!ok)
        ::unlink(name.data());
    return ok;
}

} // namespace platform
