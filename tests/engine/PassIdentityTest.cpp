#include "../support/TempDir.h"
#include "engine/PlotSurface.h"
#include "engine/PointList.h"
#include "model/Attractor.h"

#include <QImage>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// Every picture, point list, message and trace line of the plot pass, against hashes recorded
// from an earlier build. The settings are a frozen copy of the shipped file, so that tuning the
// shipped defaults does not move these; the axis names are left out, so no font is involved.
namespace {

uint64_t Fnv(const void* data, std::size_t n, uint64_t h = 0xcbf29ce484222325ull) {
    for (const unsigned char* p = static_cast<const unsigned char*>(data); n--; ++p)
        h = (h ^ *p) * 0x100000001b3ull;
    return h;
}
uint64_t Hash(const QImage& img) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (int y = 0; y < img.height(); ++y)
        h = Fnv(img.constScanLine(y), std::size_t(img.width()) * 4, h);
    return h;
}

// Writes down everything the canvas tells its window, in order.
class CLogHost : public CPlotHost {
public:
    int ClientWidth() const override { return 591; }
    int ClientHeight() const override { return 515; }
    void CopyToScreen(const QImage& picture) override {
        m_strLog += "C" + std::to_string(Hash(picture));
    }
    void SendPlotMessage(unsigned m, uintptr_t, intptr_t) override {
        m_strLog += "S" + std::to_string(m);
    }
    void PostPlotMessage(unsigned m, uintptr_t, intptr_t) override {
        m_strLog += "P" + std::to_string(m);
    }
    std::string m_strLog;
};

// Each hash but the log's folds the four planes' hashes, in plane order.
struct Golden {
    const char* what;
    uint64_t run, accumulated, animation, points, log;
};

// Rows 0 to 5 are the six kinds as shipped; then two that leave the picture.
const Golden kGolden[] = {
    {"Henon", 0xa2c11fec17348859ull, 0x40fddd8b43ad6facull, 0x3faf657d24dc00e5ull,
     0xd2803eb6cbae5878ull, 0x9d626942428ca528ull},
    {"Ikeda", 0x3ce8597070422678ull, 0x8cb63096f74476caull, 0xb4047bfb0f8aa78bull,
     0x1fc008837e302cf3ull, 0x8280f71952be959aull},
    {"Lorenz", 0xbe385843432533b3ull, 0x902e582a5fd98c95ull, 0x7188c22d9d2a8109ull,
     0x6e924d692e3983d0ull, 0xc7ac12fe12334455ull},
    {"Pickover", 0xa2392cfc48188715ull, 0x1913689c376d3e73ull, 0x3c90274f8dd970c9ull,
     0x6e1d387de78dc5eeull, 0x82be6915b072a7c3ull},
    {"Rossler", 0x8354881677c27195ull, 0xc04704dca0d8385full, 0x8e55c6deecd8caefull,
     0x8c9c87844d9dc23dull, 0xadd79d4e46eec2a3ull},
    {"Sorvan", 0x97141aed170b8833ull, 0x55f686031826d35aull, 0xbac01bb8221c3640ull,
     0xaba71e8a80ee98cbull, 0xaa3183b62da84dc3ull},
    {"Pickover", 0xbb5e67f125eca666ull, 0xbb5e67f125eca666ull, 0x8957601a72ce7a62ull,
     0x9b0d95cc66666384ull, 0xa8b2427fca95d469ull},
    {"Sorvan", 0xa896cb2e4d9e838bull, 0x3776f4f525fcd5c2ull, 0xf9ac06ba176f5809ull,
     0x604356a286af3902ull, 0xf0e5ce7293d9084full},
};

std::unique_ptr<CAttractor> Record(int row) {
    std::unique_ptr<CAttractor> a(CreateAttractor(row < 6 ? row : row == 6 ? 3 : 5));
    a->m_strSettingsPath = QEL_SOURCE_DIR "/tests/engine/PassGolden.ini";
    a->LoadSettings();
    a->m_szAxisX[0] = a->m_szAxisY[0] = a->m_szAxisZ[0] = '\0';
    if (row == 6)
        a->m_initX.m_value = 0; // e / sin(X) at X = 0: not a number from the first step on
    if (row == 7)
        a->m_zoom.m_value *= 8; // most segments clipped, many far outside
    return a;
}

} // namespace

TEST(Canvas, EveryKindAndPlaneDrawsAsRecorded) {
    TempDir dir;
    const std::string trace = dir.File("trace.txt");
    CTrajectoryPlotter::SetTracePath(trace);
    for (int row = 0; row < 8; ++row) {
        auto a = Record(row);
        uint64_t run[4], accumulated[4], animation[4], points[4];
        CLogHost host;
        CPlotSurface s;
        s.SetAttractor(a.get());
        s.Reset(&host, 0); // the Run
        for (int p = 0; p < 4; ++p)
            run[p] = Hash(s.Picture(p));
        const double y0 = a->m_initY.m_value;
        a->m_initY.m_value += 0.01;
        s.Reset(&host, 1); // a second Run drawn over the first
        a->m_initY.m_value = y0;
        for (int p = 0; p < 4; ++p) {
            accumulated[p] = Hash(s.Picture(p));
            QImage img(591, 515, QImage::Format_RGB32);
            img.fill(Qt::black);
            s.RenderPlaneInto(img, p); // an export: one plane alone draws as in the Run
            EXPECT_EQ(Hash(img), run[p]) << row << " plane " << p;
            ASSERT_TRUE(WritePointList(*a, p, dir.File("points.csv")));
            const std::string csv = TempDir::Read(dir.File("points.csv"));
            points[p] = Fnv(csv.data(), csv.size());
        }
        // Simulate, short and with colours, since it pauses every ten points.
        a->m_iteration.m_value = 253;
        a->m_nStartColorChangeIter = 200;
        for (int p = 0; p < 4; ++p) {
            const std::size_t at = host.m_strLog.size();
            host.m_strLog += "|";
            s.DrawPlane(p, nullptr);
            animation[p] = Fnv(host.m_strLog.data() + at, host.m_strLog.size() - at);
        }
        const std::string lines = TempDir::Read(trace);
        std::remove(trace.c_str());
        EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2 * 16) << row;
        const Golden got{
            a->GetName(),
            Fnv(run, sizeof run),
            Fnv(accumulated, sizeof accumulated),
            Fnv(animation, sizeof animation),
            Fnv(points, sizeof points),
            Fnv(lines.data(), lines.size(), Fnv(host.m_strLog.data(), host.m_strLog.size()))};
        const Golden& want = kGolden[row];
        EXPECT_EQ(got.run, want.run) << row << " " << got.what;
        EXPECT_EQ(got.accumulated, want.accumulated) << row << " " << got.what;
        EXPECT_EQ(got.animation, want.animation) << row << " " << got.what;
        EXPECT_EQ(got.points, want.points) << row << " " << got.what;
        EXPECT_EQ(got.log, want.log) << row << " " << got.what;
        if (HasFailure()) // what this build draws, in the table's form
            std::printf("{\"%s\", 0x%016llxull, 0x%016llxull, 0x%016llxull, 0x%016llxull, "
                        "0x%016llxull},\n",
                        got.what, (unsigned long long)got.run, (unsigned long long)got.accumulated,
                        (unsigned long long)got.animation, (unsigned long long)got.points,
                        (unsigned long long)got.log);
    }
    CTrajectoryPlotter::SetTracePath("");
}
