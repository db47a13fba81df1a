#include "model/Attractor.h"
#include "../support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>

namespace {
std::unique_ptr<CAttractor> LoadFrom(const std::string& path, int kind = 2) {
    std::unique_ptr<CAttractor> a(CreateAttractor(kind));
    a->m_strSettingsPath = path;
    a->LoadSettings();
    return a;
}
} // namespace

TEST(Settings, ReadsEveryKeyOfTheExampleSection) {
    TempDir dir;
    std::string f = dir.File("Attractors.ini");
    TempDir::Write(f, "[Lorenz]\nZoom=8.000\nStartColorChangeIter=150\nXYPlaneCenter=0,0\n"
                      "XZPlaneCenter=0,25\nYZPlaneCenter=-3,25\nXYZPlaneCenter=7,-25\n"
                      "Variation=(0.0050,0.0001,0.1000)\nIteration=(20000,1,10000000)\n"
                      "A=(28.0000,10.0000,50.0000)\nB=(2.6667,0.5000,10.0000)\n"
                      "C=(10.0000,1.0000,20.0000)\nInitialConditionX=(1.0000,-30.0000,30.0000)\n"
                      "InitialConditionY=(1.0000,-30.0000,30.0000)\n"
                      "InitialConditionZ=(1.0000,0.0000,60.0000)\nEqX=x' = c(y - x), with comma\n"
                      "EqY=y' = ax - xz - y\nEqZ=z' = xy - bz\n");
    auto a = LoadFrom(f);
    EXPECT_EQ(a->m_zoom.m_value, 8.0);
    EXPECT_EQ(a->m_zoom.m_lower, 0.0);
    EXPECT_EQ(a->m_zoom.m_upper, 100000.0);
    EXPECT_EQ(a->m_nStartColorChangeIter, 150);
    EXPECT_EQ(a->m_center[1].y, 25);
    EXPECT_EQ(a->m_center[2].x, -3);
    EXPECT_EQ(a->m_center[3].x, 7);
    EXPECT_EQ(a->m_center[3].y, -25);
    EXPECT_EQ(a->m_variation.m_value, 0.005);
    EXPECT_EQ(a->m_variation.m_lower, 0.0001);
    EXPECT_EQ(a->m_variation.m_upper, 0.1);
    EXPECT_EQ(a->m_variation.m_bInUse, 1);
    EXPECT_EQ(a->m_iteration.m_value, 20000);
    EXPECT_EQ(a->m_iteration.m_upper, 10000000);
    EXPECT_EQ(a->m_param[1].m_stored, 2.6667);
    EXPECT_EQ(a->m_param[3].m_bInUse, 0);
    EXPECT_EQ(a->m_initZ.m_upper, 60.0);
    EXPECT_EQ(a->m_strEqX, "x' = c(y - x), with comma");
    EXPECT_EQ(a->m_strEqZ, "z' = xy - bz");
}

TEST(Settings, MalformedTriplesPairsAndZoom) {
    TempDir dir;
    std::string f = dir.File("Attractors.ini");
    TempDir::Write(f, "[lorenz]\nA=0.5,0,1)\nB=0.5,0,1\nC=(0.5)\nD=garbage\nE=(1,2\n"
                      "XYPlaneCenter=12\nXZPlaneCenter=\nYZPlaneCenter=4,x\n"
                      "Zoom=(8.000,0,10)\nStartColorChangeIter=abc\n"
                      "Iteration=(99999999999,-5,12.7)\n");
    auto a = LoadFrom(f);
    EXPECT_EQ(a->m_param[0].m_value, 0.5);
    EXPECT_EQ(a->m_param[0].m_lower, 0.0);
    EXPECT_EQ(a->m_param[0].m_upper, 1.0);
    EXPECT_EQ(a->m_param[1].m_value, 0.5); // no ")" ends the third field
    EXPECT_EQ(a->m_param[1].m_upper, 0.0);
    EXPECT_EQ(a->m_param[2].m_value, 0.0); // fields before a missing comma are empty
    EXPECT_EQ(a->m_param[2].m_lower, 0.0);
    EXPECT_EQ(a->m_param[2].m_upper, 0.5);
    EXPECT_EQ(a->m_param[3].m_bInUse, 1);
    EXPECT_EQ(a->m_param[3].m_value, 0.0);
    EXPECT_EQ(a->m_param[4].m_value, 1.0);
    EXPECT_EQ(a->m_param[4].m_lower, 0.0);
    EXPECT_EQ(a->m_param[4].m_upper, 0.0);
    EXPECT_EQ(a->m_center[0].x, 12);
    EXPECT_EQ(a->m_center[0].y, 0);
    EXPECT_EQ(a->m_center[1].x, 0);
    EXPECT_EQ(a->m_center[2].y, 0);
    EXPECT_EQ(a->m_zoom.m_value, 0.0);
    EXPECT_EQ(a->m_zoom.m_upper, 100000.0);
    EXPECT_EQ(a->m_nStartColorChangeIter, 0);
    EXPECT_EQ(a->m_iteration.m_value, INT32_MAX); // saturates instead of overflowing
    EXPECT_EQ(a->m_iteration.m_lower, -5);
    EXPECT_EQ(a->m_iteration.m_upper, 12);
}

TEST(Settings, MissingFileSectionOrKeysGiveTheDocumentedDefaults) {
    TempDir dir;
    for (std::string content : {std::string(), std::string("[Henon]\nZoom=3\n")}) {
        std::string f = dir.File("x.ini");
        if (!content.empty())
            TempDir::Write(f, content);
        auto a = LoadFrom(f, 2);
        EXPECT_EQ(a->m_zoom.m_value, 0.0);
        EXPECT_EQ(a->m_zoom.m_bInUse, 1);
        EXPECT_EQ(a->m_iteration.m_bInUse, 1);
        EXPECT_EQ(a->m_iteration.m_value, 0);
        EXPECT_EQ(a->m_iteration.m_upper, 0);
        EXPECT_EQ(a->m_variation.m_bInUse, 0);
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(a->m_param[i].m_bInUse, 0);
        EXPECT_EQ(a->m_initX.m_bInUse, 0);
        EXPECT_TRUE(a->m_strEqY.empty());
    }
}

TEST(Settings, LongValuesAreCutToTheirBuffers) {
    TempDir dir;
    std::string f = dir.File("l.ini");
    std::string eq(400, 'q');
    TempDir::Write(f, "[Lorenz]\nEqX=" + eq + "\nXYPlaneCenter=1," + std::string(40, '7') +
                          "\nA=(1.5,0,2" + std::string(300, '0') + ")\n");
    auto a = LoadFrom(f);
    EXPECT_EQ(a->m_strEqX, std::string(255, 'q'));
    EXPECT_EQ(a->m_center[0].x, 1);
    EXPECT_EQ(a->m_center[0].y, INT32_MAX); // 29 sevens survive the cut: still saturates
    // The cut removes the ")", so the upper field is empty.
    EXPECT_EQ(a->m_param[0].m_value, 1.5);
    EXPECT_EQ(a->m_param[0].m_upper, 0.0);
}

TEST(Settings, SaveWritesTheFormatsAndLoadsBackTheSame) {
    TempDir dir;
    std::string src = dir.File("src.ini"), out = dir.File("out.ini");
    TempDir::Write(src, "[Lorenz]\nZoom=8.5\nStartColorChangeIter=-3\nXYPlaneCenter=1,-2\n"
                        "Variation=(0.005,0.0001,0.1)\nIteration=(20000,1,10000000)\n"
                        "A=(28,10,50)\nB=(-2.66666,0.5,10)\nInitialConditionX=(1,-30,30)\n"
                        "EqX=x' = c(y - x)\n");
    auto a = LoadFrom(src);
    a->m_param[0].m_value = 33.25; // an accepted entry: the current value is written
    a->SaveSettings(out);
    EXPECT_EQ(TempDir::Read(out), "[Lorenz]\nZoom=8.500\nStartColorChangeIter=-3\n"
                                  "XYPlaneCenter=1,-2\nXZPlaneCenter=0,0\nYZPlaneCenter=0,0\n"
                                  "XYZPlaneCenter=0,0\n"
                                  "Variation=(0.0050,0.0001,0.1000)\n"
                                  "Iteration=(20000,1,10000000)\n"
                                  "A=(33.2500,10.0000,50.0000)\nB=(-2.6667,0.5000,10.0000)\n"
                                  "C=(0.0000,0.0000,0.0000)\n"
                                  "InitialConditionX=(1.0000,-30.0000,30.0000)\n"
                                  "InitialConditionY=(0.0000,0.0000,0.0000)\n"
                                  "InitialConditionZ=(0.0000,0.0000,0.0000)\n"
                                  "EqX=x' = c(y - x)\nEqY=\nEqZ=\n");
    auto b = LoadFrom(out);
    EXPECT_EQ(b->m_param[0].m_value, 33.25);
    EXPECT_EQ(b->m_param[1].m_value, -2.6667);
    EXPECT_EQ(b->m_param[2].m_bInUse, 1); // A to C are always written
    EXPECT_EQ(b->m_param[3].m_bInUse, 0); // D to G only when in use
    EXPECT_EQ(b->m_center[0].y, -2);
    EXPECT_EQ(b->m_nStartColorChangeIter, -3);
    // Saving again into the same file changes nothing.
    std::string first = TempDir::Read(out);
    b->SaveSettings(out);
    EXPECT_EQ(TempDir::Read(out), first);
}
