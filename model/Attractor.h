#pragma once
#include "model/Parameter.h"

#include <cstdint>
#include <string>

namespace platform {
class CProfileText;
}

struct PLANE_CENTER {
    int32_t x = 0; // horizontal, in model units
    int32_t y = 0; // vertical
};

enum { ATTRACTOR_COUNT = 6, SORVAN_KIND = 5 };

enum class ESettingsRead { Read, Missing, NoSection, Unreadable };

// One dynamical system with everything a run needs. The kinds differ only in their row of
// model/KindTable.h and their equations; all state lives here.
class CAttractor {
public:
    explicit CAttractor(int kind);
    virtual ~CAttractor() = default;
    CAttractor(const CAttractor&) = delete;
    CAttractor& operator=(const CAttractor&) = delete;

    virtual const char* GetName() const = 0;
    // Kind index 0 Henon .. 5 the economic model, as CreateAttractor takes it.
    virtual int GetKind() const = 0;
    // One evaluation of the right-hand sides at (X, Y, Z), scaled by h and added to the base.
    virtual void Evaluate(double x0, double y0, double z0, double h, double X, double Y, double Z,
                          double& dx, double& dy, double& dz, double& nx, double& ny,
                          double& nz) const = 0;
    // Reads the record's section of m_strSettingsPath, the file read once. When the file is
    // missing, names no value of the kind, or is refused (Unreadable: a folder, a FIFO, a
    // device, too large), the record holds an empty file's values and *error says why.
    virtual ESettingsRead LoadSettings(std::string* error = nullptr);
    // The record's section of a file held in memory; false when it names no value at all.
    bool ReadSettings(const platform::CProfileText& file);
    // Writes the record's section into the file at path, replaced once. False when the file
    // could not be read or written.
    virtual bool SaveSettings(const std::string& path) const;
    // The same keys, into a file held in memory.
    void WriteSettings(platform::CProfileText& file) const;

    double_PARAM m_param[7];
    double_PARAM m_initX, m_initY, m_initZ;
    double_PARAM m_variation;
    long_PARAM m_iteration;
    double_PARAM m_zoom;
    PLANE_CENTER m_center[4];
    std::string m_strSettingsPath;
    char m_szAxisX[59] = {}; // the plane labels
    char m_szAxisY[59] = {};
    char m_szAxisZ[59] = {};
    int32_t m_nStartColorChangeIter = 0;
    std::string m_strEqX, m_strEqY, m_strEqZ;
};

// A new record of the kind (0 Henon .. 5 the economic model), or nullptr for any other index.
CAttractor* CreateAttractor(int index);

// Save Parameters: every kind's section into the file at path, in kind order, current's with its
// own values and the others as the settings file holds them; other content of an existing file
// is kept. The file is replaced once, and only when everything was written.
bool SaveParameterFile(const std::string& path, const CAttractor& current);

// The kind's name without creating a record; nullptr outside 0..5.
const char* AttractorKindName(int index);
