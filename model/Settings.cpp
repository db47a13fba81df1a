#include "model/Attractor.h"
#include "platform/CRuntime.h"
#include "platform/ProfileFile.h"

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// The record's section of a profile held in memory; remembers whether any key named a value.
struct CSection {
    const platform::CProfileText& file;
    const char* name;
    mutable bool bAny = false;
    std::string Read(const char* key, std::size_t size) const {
        std::string v = file.Get(name, key, "", size);
        bAny = bAny || !v.empty();
        return v;
    }
};

void ReadPair(const CSection& a, const char* key, PLANE_CENTER& c) {
    std::string v = a.Read(key, 32);
    if (v.empty()) {
        c = {};
        return;
    }
    c.x = platform::Atoi(v.c_str());
    std::size_t comma = v.find(',');
    c.y = comma == std::string::npos ? 0 : platform::Atoi(v.c_str() + comma + 1);
}

// The three fields of "(value,lower,upper)": before the first comma, before the next comma,
// before the first ")". A field whose delimiter is missing is empty.
void SplitTriple(std::string v, std::string f[3]) {
    std::size_t open = v.find('(');
    if (open != std::string::npos)
        v.erase(0, open + 1);
    for (int i = 0; i < 2; ++i) {
        std::size_t comma = v.find(',');
        if (comma == std::string::npos) {
            f[i].clear();
        } else {
            f[i] = v.substr(0, comma);
            v.erase(0, comma + 1);
        }
    }
    std::size_t close = v.find(')');
    f[2] = close == std::string::npos ? std::string() : v.substr(0, close);
}

void ReadRealTriple(const CSection& a, const char* key, double_PARAM& p) {
    std::string v = a.Read(key, 256);
    if (v.empty())
        return; // a parameter its section never names stays out of use
    std::string f[3];
    SplitTriple(v, f);
    p.Set(platform::Atof(f[0].c_str()), platform::Atof(f[1].c_str()), platform::Atof(f[2].c_str()));
}

void ReadIntTriple(const CSection& a, const char* key, long_PARAM& p) {
    std::string f[3];
    SplitTriple(a.Read(key, 256), f);
    p.Set(platform::Atoi(f[0].c_str()), platform::Atoi(f[1].c_str()), platform::Atoi(f[2].c_str()));
}

std::string Format(const char* fmt, ...) {
    va_list ap, copy;
    va_start(ap, fmt);
    va_copy(copy, ap);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::vector<char> buf(n > 0 ? static_cast<std::size_t>(n) + 1 : 1);
    std::vsnprintf(buf.data(), buf.size(), fmt, ap);
    va_end(ap);
    return buf.data();
}

std::string Triple(const double_PARAM& p) {
    return Format("(%.4f,%.4f,%.4f)", p.m_value, p.m_lower, p.m_upper);
}

const char* const kParamKeys[7] = {"A", "B", "C", "D", "E", "F", "G"};
const char* const kCenterKeys[4] = {"XYPlaneCenter", "XZPlaneCenter", "YZPlaneCenter",
                                    "XYZPlaneCenter"};

} // namespace

ESettingsRead CAttractor::LoadSettings(std::string* error) {
    platform::CProfileText file;
    const platform::EFileRead read = file.Read(m_strSettingsPath, error);
    if (ReadSettings(file))
        return ESettingsRead::Read;
    if (read != platform::EFileRead::Read)
        return read == platform::EFileRead::Missing ? ESettingsRead::Missing
                                                    : ESettingsRead::Unreadable;
    if (error)
        *error = m_strSettingsPath + " holds no settings for the " + GetName() + " attractor";
    return ESettingsRead::NoSection;
}

bool CAttractor::ReadSettings(const platform::CProfileText& file) {
    CSection s{file, GetName()};
    m_zoom.Set(platform::Atof(s.Read("Zoom", 64).c_str()), 0, 100000);
    m_nStartColorChangeIter = platform::Atoi(s.Read("StartColorChangeIter", 64).c_str());
    for (int i = 0; i < 4; ++i)
        ReadPair(s, kCenterKeys[i], m_center[i]);
    ReadRealTriple(s, "Variation", m_variation);
    ReadIntTriple(s, "Iteration", m_iteration);
    for (int i = 0; i < 7; ++i)
        ReadRealTriple(s, kParamKeys[i], m_param[i]);
    ReadRealTriple(s, "InitialConditionX", m_initX);
    ReadRealTriple(s, "InitialConditionY", m_initY);
    ReadRealTriple(s, "InitialConditionZ", m_initZ);
    m_strEqX = s.Read("EqX", 256);
    m_strEqY = s.Read("EqY", 256);
    m_strEqZ = s.Read("EqZ", 256);
    return s.bAny;
}

void CAttractor::WriteSettings(platform::CProfileText& file) const {
    const char* section = GetName();
    auto write = [&](const char* key, const std::string& value) {
        file.Write(section, key, value.c_str());
    };
    write("Zoom", Format("%.3f", m_zoom.m_value));
    write("StartColorChangeIter", Format("%d", m_nStartColorChangeIter));
    for (int i = 0; i < 4; ++i)
        write(kCenterKeys[i], Format("%d,%d", m_center[i].x, m_center[i].y));
    write("Variation", Triple(m_variation));
    write("Iteration",
          Format("(%d,%d,%d)", m_iteration.m_value, m_iteration.m_lower, m_iteration.m_upper));
    for (int i = 0; i < 7; ++i)
        if (i < 3 || m_param[i].m_bInUse)
            write(kParamKeys[i], Triple(m_param[i]));
    write("InitialConditionX", Triple(m_initX));
    write("InitialConditionY", Triple(m_initY));
    write("InitialConditionZ", Triple(m_initZ));
    write("EqX", m_strEqX);
    write("EqY", m_strEqY);
    write("EqZ", m_strEqZ);
}

bool CAttractor::SaveSettings(const std::string& path) const {
    platform::CProfileText file;
    if (!file.LoadForUpdate(path))
        return false;
    WriteSettings(file);
    return file.Save(path);
}

bool SaveParameterFile(const std::string& path, const CAttractor& current) {
    platform::CProfileText file;
    if (!file.LoadForUpdate(path))
        return false;
    for (int k = 0; k < ATTRACTOR_COUNT; ++k) {
        if (k == current.GetKind()) {
            current.WriteSettings(file); // the values the last Runs accepted
            continue;
        }
        std::unique_ptr<CAttractor> other(CreateAttractor(k));
        if (!other)
            return false;
        other->LoadSettings();
        other->WriteSettings(file);
    }
    return file.Save(path);
}
