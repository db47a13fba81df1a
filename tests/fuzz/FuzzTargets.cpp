#include "FuzzTargets.h"

#include "controls/GuideText.h"
#include "countries/CountryPresets.h"
#include "countries/XmlDocument.h"
#include "model/Attractor.h"
#include "platform/ProfileFile.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace fuzz {
namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A name the reader can find again: no blanks at its ends, no brackets, "=", NUL or line
// breaks, and lower case, so that two names compare as the reader compares them.
std::string Name(const std::string& raw) {
    std::string n;
    for (char c : raw)
        if (!std::strchr("[]=\n\r", c) && c != '\0')
            n += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!n.empty() && IsBlank(n.back()))
        n.pop_back();
    while (!n.empty() && IsBlank(n.front()))
        n.erase(0, 1);
    return n.empty() ? "s" : n;
}

} // namespace

const std::string& ScratchDir() {
    // Memory-backed if possible (every settings write syncs its file); removed at exit.
    struct Scratch {
        std::string path;
        Scratch() {
            std::string tmpl = (std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp") +
                               std::string("/qel-fuzz-XXXXXX");
            const char* made = ::mkdtemp(tmpl.data());
            path = made ? made : ".";
        }
        ~Scratch() {
            std::error_code ec;
            if (path != ".")
                std::filesystem::remove_all(path, ec);
        }
    };
    static const Scratch scratch;
    return scratch.path;
}

std::string Ini(const uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t nl = input.find('\n');
    const std::string file = nl == std::string::npos ? std::string() : input.substr(nl + 1);
    std::vector<std::string> f(5);
    std::size_t start = 0;
    for (int i = 0; i < 5 && start <= std::min(nl, input.size()); ++i) {
        const std::size_t bar = std::min(input.find('|', start), std::min(nl, input.size()));
        f[i] = input.substr(start, bar - start);
        start = bar + 1;
    }
    const std::string section = Name(f[0]), key = Name(f[1]), section2 = Name(f[3]),
                      key2 = Name(f[4]);
    std::string value = f[2].substr(0, f[2].find('\0'));

    const std::string path = ScratchDir() + "/fuzz.ini";
    WriteFile(path, file);
    const std::size_t big = 1u << 20;
    for (std::size_t cut : {std::size_t(0), std::size_t(1), std::size_t(2), std::size_t(256)}) {
        const std::string v =
            platform::GetPrivateProfileString(section.c_str(), key.c_str(), "dflt", cut, path);
        if (cut == 0 ? !v.empty() : v.size() > cut - 1)
            return "a read exceeds its buffer";
    }
    const std::string before2 =
        platform::GetPrivateProfileString(section2.c_str(), key2.c_str(), "", big, path);
    if (!platform::WritePrivateProfileString(section.c_str(), key.c_str(), value.c_str(), path))
        return "writing into a readable file failed";
    std::replace(value.begin(), value.end(), '\n', ' ');
    std::replace(value.begin(), value.end(), '\r', ' ');
    while (!value.empty() && IsBlank(value.back()))
        value.pop_back();
    while (!value.empty() && IsBlank(value.front()))
        value.erase(0, 1);
    if (platform::GetPrivateProfileString(section.c_str(), key.c_str(), "", big, path) != value)
        return "the written value does not read back";
    if ((section != section2 || key != key2) &&
        platform::GetPrivateProfileString(section2.c_str(), key2.c_str(), "", big, path) != before2)
        return "writing one key changed another";
    return {};
}

std::string Settings(const uint8_t* data, std::size_t size) {
    const std::string path = ScratchDir() + "/fuzz-settings.ini";
    const std::string saved = ScratchDir() + "/fuzz-saved.ini";
    WriteFile(path, std::string(reinterpret_cast<const char*>(data), size));
    // Each value read scans the whole file: one kind per input, chosen by its size.
    const int kind = static_cast<int>(size % ATTRACTOR_COUNT);
    std::unique_ptr<CAttractor> a(CreateAttractor(kind)), b(CreateAttractor(kind));
    a->m_strSettingsPath = path;
    a->LoadSettings();
    std::remove(saved.c_str());
    if (!a->SaveSettings(saved))
        return "saving the loaded settings failed";
    b->m_strSettingsPath = saved;
    b->LoadSettings();
    const long_PARAM &p = a->m_iteration, &q = b->m_iteration;
    if (p.m_value != q.m_value || p.m_lower != q.m_lower || p.m_upper != q.m_upper ||
        a->m_nStartColorChangeIter != b->m_nStartColorChangeIter ||
        std::memcmp(a->m_center, b->m_center, sizeof a->m_center) != 0)
        return "an integer setting does not survive a save";
    return {};
}

std::string Xml(const uint8_t* data, std::size_t size) {
    const std::string path = ScratchDir() + "/fuzz-countries.xml";
    WriteFile(path, std::string(reinterpret_cast<const char*>(data), size));
    CXmlDocument doc;
    if (!doc.LoadFrom(path))
        return "a readable file did not load";

    // Every element's parent link and attribute lookups, without recursion.
    std::vector<CXmlElement*> stack{&doc.m_root};
    std::size_t elements = 0;
    while (!stack.empty()) {
        CXmlElement* e = stack.back();
        stack.pop_back();
        ++elements;
        std::string probe = e->m_strAttributes.substr(0, e->m_strAttributes.find('='));
        for (const std::string& name : {std::string("Name"), std::string(), probe,
                                        std::string(COUNTRY_KEYS[0]), std::string("I")}) {
            const std::string v = doc.GetAttribute(e, name);
            if (v.find('"') != std::string::npos ||
                (!v.empty() && e->m_strAttributes.find(v) == std::string::npos))
                return "GetAttribute returned text that is not in the attributes";
        }
        for (CXmlElement* c = doc.GetFirstChild(e); c; c = doc.GetNextChild(e)) {
            if (c->m_pParent != e)
                return "a child does not point to its parent";
            stack.push_back(c);
        }
    }
    if (elements > size + 1)
        return "more elements than bytes";

    const std::vector<std::string> names = CountryNames(doc);
    std::unique_ptr<CAttractor> sorvan(CreateAttractor(SORVAN_KIND));
    for (std::size_t i = 0; i < names.size() && i < 64; ++i)
        if (!ApplyCountryToAttractor(doc, names[i], *sorvan))
            return "a listed country cannot be found by its name";
    return {};
}

std::string Guide(const uint8_t* data, std::size_t size) {
    uint8_t head[8] = {};
    const std::size_t h = std::min<std::size_t>(size, 8);
    std::memcpy(head, data, h);
    const std::string bytes(reinterpret_cast<const char*>(data) + h, size - h);

    const std::vector<TEXT_SEGMENT> segments = ParseGuideText(bytes);
    std::size_t total = 0;
    for (const TEXT_SEGMENT& s : segments) {
        if (s.m_strText.empty())
            return "an empty segment";
        total += s.m_strText.size();
    }
    if (total > bytes.size())
        return "more text than bytes";

    // Areas and widths at their edges as well as ordinary ones.
    static const int kSizes[8] = {0, 1, 20, 300, 1000, -5, INT_MAX, INT_MIN};
    static const int kWidths[8] = {0, 1, 7, 12, 40, 3, INT_MAX / 4, INT_MAX};
    const int width = kSizes[head[0] & 7], height = kSizes[head[1] & 7];
    const int lineHeight = kSizes[head[2] & 7];
    GUIDE_WIDTHS widths;
    for (int v = 0; v < GFV_COUNT; ++v)
        for (int c = 0; c < 256; ++c)
            widths.m_width[v][c] = kWidths[(head[3 + v] + c * (head[7] | 1)) & 7];
    const std::vector<GUIDE_RUN> runs =
        LayoutGuideText(segments, widths, width, height, lineHeight);
    int lastY = INT_MIN;
    for (const GUIDE_RUN& r : runs) {
        if (r.m_nY < lastY)
            return "the layout went up";
        if (r.m_nY >= height || r.m_nX >= width)
            return "a run starts outside the area";
        if (r.m_nSegment < 0 || static_cast<std::size_t>(r.m_nSegment) >= segments.size())
            return "a run names no segment";
        lastY = r.m_nY;
    }
    return {};
}

} // namespace fuzz
