#include "../support/TempDir.h"
#include "model/Attractor.h"

#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

std::unique_ptr<CAttractor> LoadFrom(const std::string& path, int kind = 2) {
    std::unique_ptr<CAttractor> a(CreateAttractor(kind));
    a->m_strSettingsPath = path;
    a->LoadSettings();
    return a;
}

std::unique_ptr<CAttractor> LoadText(const TempDir& dir, const std::string& text) {
    TempDir::Write(dir.File("Attractors.ini"), text);
    return LoadFrom(dir.File("Attractors.ini"));
}

// "value,lower,upper", and " unused" when out of use.
template <class P> std::string Tri(const P& p) {
    std::ostringstream s;
    s << p.m_value << ',' << p.m_lower << ',' << p.m_upper << (p.m_bInUse ? "" : " unused");
    return s.str();
}

// The four plane centres as "x,y x,y x,y x,y".
std::string Centres(const CAttractor& a) {
    std::ostringstream s;
    for (const PLANE_CENTER& c : a.m_center)
        s << (&c == a.m_center ? "" : " ") << c.x << ',' << c.y;
    return s.str();
}

TEST(Settings, MalformedTriplesPairsAndZoom) {
    TempDir dir;
    // The section name ignores case.
    auto a = LoadText(dir, "[lorenz]\nA=0.5,0,1)\nB=0.5,0,1\nC=(0.5)\nD=garbage\nE=(1,2\n"
                           "XYPlaneCenter=12\nXZPlaneCenter=\nYZPlaneCenter=4,x\n"
                           "Zoom=(8.000,0,10)\nStartColorChangeIter=abc\n"
                           "Iteration=(99999999999,-5,12.7)\n");
    EXPECT_EQ(Tri(a->m_param[0]), "0.5,0,1");
    EXPECT_EQ(Tri(a->m_param[1]), "0.5,0,0"); // no ")" ends the third field
    EXPECT_EQ(Tri(a->m_param[2]), "0,0,0.5"); // fields before a missing comma are empty
    EXPECT_EQ(Tri(a->m_param[3]), "0,0,0");   // named, so in use
    EXPECT_EQ(Tri(a->m_param[4]), "1,0,0");
    EXPECT_EQ(Centres(*a), "12,0 0,0 4,0 0,0");
    EXPECT_EQ(Tri(a->m_zoom), "0,0,100000");
    EXPECT_EQ(a->m_nStartColorChangeIter, 0);
    EXPECT_EQ(Tri(a->m_iteration), "2147483647,-5,12"); // saturates instead of overflowing
    // Long values are cut to their buffers: 255 characters, 63 for numbers, 31 for a pair.
    const std::string digits = std::string(28, '0') + "42";
    a = LoadText(dir, "[Lorenz]\nEqX=" + std::string(400, 'q') + "\nXYPlaneCenter=1," + digits +
                          "\nZoom=" + std::string(34, '0') + digits + "\nStartColorChangeIter=" +
                          std::string(34, '0') + digits + "\nA=(1.5,0," + std::string(246, '0') +
                          "4)\nB=(2.5,0," + std::string(247, '0') + "7)\nIteration=(5,1," +
                          std::string(249, '0') + "7)\nEqY=" + std::string(300, 'y') + "\n");
    EXPECT_TRUE(a->m_strEqX == std::string(255, 'q') && a->m_strEqY == std::string(255, 'y'));
    EXPECT_EQ(Centres(*a), "1,4 0,0 0,0 0,0");
    EXPECT_TRUE(a->m_zoom.m_value == 4 && a->m_nStartColorChangeIter == 4);
    // The ")" is character 255 of A and 256 of B and Iteration: cut, their upper field is empty.
    EXPECT_EQ(Tri(a->m_param[0]) + " " + Tri(a->m_param[1]), "1.5,0,4 2.5,0,0");
    EXPECT_EQ(Tri(a->m_iteration), "5,1,0");
}

TEST(Settings, ReadEveryKeySaveInTheFormatsAndLoadBackTheSame) {
    TempDir dir;
    const std::string out = dir.File("out.ini");
    auto a = LoadText(dir, "[Lorenz]\nZoom=8.5\nStartColorChangeIter=-3\nXYPlaneCenter=1,-2\n"
                           "YZPlaneCenter=-3,25\nXYZPlaneCenter=7,-25\n"
                           "Variation=(0.005,0.0001,0.1)\nIteration=(20000,1,10000000)\n"
                           "A=(28,10,50)\nB=(-2.66666,0.5,10)\nInitialConditionX=(1,-30,30)\n"
                           "InitialConditionZ=(1,0,60)\nEqX=x' = c(y - x), with comma\n"
                           "EqZ=z' = xy - bz\n");
    a->m_param[0].m_value = 33.25; // an accepted entry: the current value is written
    ASSERT_TRUE(a->SaveSettings(out));
    // A to C are always written, D to G only when in use.
    const std::string saved = "[Lorenz]\nZoom=8.500\nStartColorChangeIter=-3\n"
                              "XYPlaneCenter=1,-2\nXZPlaneCenter=0,0\nYZPlaneCenter=-3,25\n"
                              "XYZPlaneCenter=7,-25\nVariation=(0.0050,0.0001,0.1000)\n"
                              "Iteration=(20000,1,10000000)\n"
                              "A=(33.2500,10.0000,50.0000)\nB=(-2.6667,0.5000,10.0000)\n"
                              "C=(0.0000,0.0000,0.0000)\n"
                              "InitialConditionX=(1.0000,-30.0000,30.0000)\n"
                              "InitialConditionY=(0.0000,0.0000,0.0000)\n"
                              "InitialConditionZ=(1.0000,0.0000,60.0000)\n"
                              "EqX=x' = c(y - x), with comma\nEqY=\nEqZ=z' = xy - bz\n";
    EXPECT_EQ(TempDir::Read(out), saved);
    auto b = LoadFrom(out);
    EXPECT_EQ(Tri(b->m_param[0]), "33.25,10,50");
    EXPECT_TRUE(b->m_param[2].m_bInUse && !b->m_param[3].m_bInUse);
    // Saving again into the same file changes nothing.
    ASSERT_TRUE(b->SaveSettings(out));
    EXPECT_EQ(TempDir::Read(out), saved);
}

} // namespace

namespace {
// Counts the events of mask that name one file of a folder, through inotify.
class CFileEvents {
public:
    CFileEvents(const std::string& dir, std::string name, uint32_t mask)
        : m_fd(inotify_init1(IN_NONBLOCK)), m_strName(std::move(name)) {
        inotify_add_watch(m_fd, dir.c_str(), mask);
    }
    ~CFileEvents() { close(m_fd); }
    int Count() {
        alignas(inotify_event) char buf[8192];
        int n = 0;
        for (ssize_t got; (got = read(m_fd, buf, sizeof buf)) > 0;)
            for (char* p = buf; p < buf + got;) {
                auto* e = reinterpret_cast<inotify_event*>(p);
                n += e->len && m_strName == e->name;
                p += sizeof(inotify_event) + e->len;
            }
        return n;
    }

private:
    int m_fd;
    std::string m_strName;
};
} // namespace

TEST(Settings, SaveParametersReplacesTheFileOnceAndLoadingReadsItOnce) {
    TempDir dir;
    const std::string start = "; notes\r\n[Extra]\nkeep=me\n[lorenz]\r\nZoom = 1\r\nCustom=x\r\n"
                              "\r\n[Henon]\nA=(9,9,9)\nG=(1,2,3)"; // no final line break
    auto current = LoadText(dir, "[Lorenz]\nA=(28,10,50)\nIteration=(20000,1,10000000)\n");
    // Closes between the opens, since inotify folds repeated events into one.
    CFileEvents opens(dir.Path(), "Attractors.ini", IN_OPEN | IN_CLOSE_NOWRITE);
    auto again = LoadFrom(dir.File("Attractors.ini"));
    EXPECT_EQ(opens.Count(), 2);         // opened and closed once
    current->m_param[0].m_value = 33.25; // accepted by a Run, not in the file
    // Key by key, one kind after the other, as six saves of a section each would write it.
    TempDir::Write(dir.File("each.ini"), start);
    for (int k = 0; k < ATTRACTOR_COUNT; ++k) {
        std::unique_ptr<CAttractor> other(CreateAttractor(k));
        other->LoadSettings();
        ASSERT_TRUE((k == 2 ? *current : *other).SaveSettings(dir.File("each.ini")));
    }
    const std::string each = TempDir::Read(dir.File("each.ini"));
    for (const std::string file : {"p.ini", "new.ini"}) {
        if (file == "p.ini")
            TempDir::Write(dir.File(file), start);
        CFileEvents replaced(dir.Path(), file, IN_MOVED_TO | IN_CLOSE_WRITE);
        ASSERT_TRUE(SaveParameterFile(dir.File(file), *current));
        EXPECT_EQ(replaced.Count(), 1) << file; // renamed onto, never written in place
        const std::string saved = TempDir::Read(dir.File(file));
        EXPECT_NE(saved.find("A=(33.2500,10.0000,50.0000)"), std::string::npos);
        if (file == "p.ini")
            EXPECT_EQ(saved, each);
        else // a new file holds the six sections in kind order
            for (int k = 1; k < ATTRACTOR_COUNT; ++k)
                EXPECT_LT(saved.find(std::string("[") + AttractorKindName(k - 1) + "]"),
                          saved.find(std::string("[") + AttractorKindName(k) + "]"));
    }
    EXPECT_EQ(each.rfind(start.substr(0, 36), 0), 0u); // other content kept byte for byte
    EXPECT_NE(each.find("Custom=x\r\n"), std::string::npos);
    EXPECT_FALSE(SaveParameterFile(dir.File("no/such/folder/p.ini"), *current));
}
