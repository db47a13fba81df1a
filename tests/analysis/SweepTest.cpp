#include "analysis/Sweep.h"
#include "analysis/LaneMap.h"
#include "analysis/SweepCsv.h"
#include "analysis/TrajectoryCsv.h"

#include "model/Attractor.h"

#include "../support/TempDir.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

using namespace qel;

namespace {

CSweep Economy() {
    std::unique_ptr<CAttractor> r(CreateAttractor(SORVAN_KIND));
    r->LoadSettings();
    return CSweep::FromRecord(*r);
}

CMapCell Cell(EOutcome o, double value = 0, double error = 0, double time = 0, int stable = -1) {
    CMapCell c;
    c.r.eOutcome = o;
    c.r.dExponent = value, c.r.dError = error, c.r.dTime = time;
    c.nStable = static_cast<int8_t>(stable);
    return c;
}

} // namespace

// Coarse lattices come first and every cell exactly once, whatever the shape.
TEST(Sweep, CoarseToFineCoversEachCellOnce) {
    for (auto [w, h] : {std::pair{1, 1}, {128, 128}, {7, 3}, {100, 1}, {1, 33}}) {
        SCOPED_TRACE(w * 1000 + h);
        std::vector<int> order = CoarseToFineOrder(w, h);
        ASSERT_EQ(order.size(), size_t(w * h));
        for (size_t k = 1; k < order.size(); ++k)
            ASSERT_GE(CellSpacing(w, h, order[k - 1]), CellSpacing(w, h, order[k]));
        EXPECT_LE(std::max(w, h), CellSpacing(w, h, 0) * 8);
        std::sort(order.begin(), order.end());
        for (int k = 0; k < w * h; ++k)
            ASSERT_EQ(order[k], k);
    }
}

// On a grid that is not square each cell takes its values from its own column and row: the
// exponent of a cell is the one its own parameters and start give. Axes over start values and
// the Variation set those; an axis the kind or the method cannot use is refused.
TEST(Sweep, EachCellFromItsOwnColumnAndRow) {
    CSweep s = Economy();
    s.nAxis[0] = 0, s.lo[0] = 12, s.hi[0] = 30, s.nCount[0] = 4;
    s.nAxis[1] = kAxisX0, s.lo[1] = -0.5, s.hi[1] = 0.5, s.nCount[1] = 3;
    s.run.dMaxTime = 60, s.run.dTransient = 10;
    for (int cell : {1, 6, 11}) {
        const int i = cell % 4, j = cell / 4;
        CSweep one = s;
        one.nCount[0] = one.nCount[1] = 1;
        one.lo[0] = one.hi[0] = SweepValue(12, 30, i, 4);
        one.lo[1] = one.hi[1] = SweepValue(-0.5, 0.5, j, 3);
        const CMapCell alone = MapCell(one, 0);
        ASSERT_EQ(alone.r.eOutcome, EOutcome::Value);
        EXPECT_EQ(MapCell(s, cell).r.dExponent, alone.r.dExponent) << cell;
    }
    CCellSetup c = s.base;
    c.SetAxis(kAxisZ0, -2.5);
    c.SetAxis(kAxisVariation, 0.002);
    EXPECT_EQ(c.init[2], -2.5);
    EXPECT_EQ(c.params.half, 0.001);
    EXPECT_EQ(c.Axis(kAxisVariation), 0.002);
    EXPECT_EQ(SweepValue(0.1, 0.9, 6, 7), 0.9); // 0.1 + (0.9 - 0.1) is 0.9000000000000001
    for (const char* key : {"a", "g", "x0", "y0", "z0", "v"})
        EXPECT_EQ(AxisKey(AxisFromKey(key)), key);
    EXPECT_EQ(AxisFromKey("h"), -1);
    EXPECT_EQ(AxisFromKey("x"), -1);
    EXPECT_TRUE(AxisRefusal(5, 6, EMethod::Equations).empty());
    EXPECT_EQ(AxisRefusal(2, 3, EMethod::Equations), "Lorenz uses the parameters a to c");
    EXPECT_FALSE(AxisRefusal(5, kAxisVariation, EMethod::Equations).empty());
    EXPECT_TRUE(AxisRefusal(5, kAxisVariation, EMethod::AsDrawn).empty());
}

// A small map is shared out over every thread, in whole rows of lanes; a big one in full tiles.
TEST(Sweep, TilesShareSmallMapsOverTheThreads) {
    const int lanes = LaneCount(), full = MapTileCells();
    EXPECT_EQ(MapTileCells(100000, 2), full);
    EXPECT_EQ(MapTileCells(2 * full, 2), full);
    EXPECT_EQ(MapTileCells(2 * full - 1, 2), full);
    EXPECT_EQ(MapTileCells(full, 2), full / 2);
    EXPECT_EQ(MapTileCells(full, 4), full / 4);
    EXPECT_EQ(MapTileCells(full + 1, 2), full / 2);
    EXPECT_EQ(MapTileCells(full + 2 * lanes, 2), full / 2 + lanes);
    EXPECT_EQ(MapTileCells(3, 2), lanes);
    EXPECT_EQ(MapTileCells(1, 0), lanes);
    for (int cells = 1; cells < 3 * full; ++cells)
        for (int threads = 1; threads <= 8; ++threads) {
            const int size = MapTileCells(cells, threads);
            ASSERT_EQ(size % lanes, 0);
            // As many tiles as threads where the lanes allow, never fewer.
            ASSERT_GE((cells + size - 1) / size, std::min(threads, (cells + lanes - 1) / lanes))
                << cells << " cells on " << threads;
        }
}

// Cancel ends the map at once, also in the middle of a cell that would run for ages.
TEST(Sweep, CancelStopsMapAndCell) {
    CSweep s = Economy();
    s.nCount[0] = 20, s.nCount[1] = 10, s.run.dTransient = 5, s.run.dMaxTime = 40;
    std::atomic<bool> cancel{false};
    int calls = 0;
    const auto cells = RunMap(s, &cancel, [&](int done, int total) {
        ++calls;
        EXPECT_EQ(total, 200);
        EXPECT_EQ(done, MapTileCells());
        cancel = true;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(std::count_if(cells.begin(), cells.end(),
                            [](auto c) { return c.r.eOutcome == EOutcome::Cancelled; }),
              200 - MapTileCells());
    s.run.dTransient = s.diagram.dMaxTransient = 1e12;
    for (EMethod m : {EMethod::Equations, EMethod::AsDrawn}) {
        s.run.eMethod = m;
        EXPECT_EQ(MapCell(s, 0, &cancel).r.eOutcome, EOutcome::Cancelled);
    }
    EXPECT_EQ(DiagramColumn(s, 0, &cancel).eOutcome, EOutcome::Cancelled);
}

// The map's and the diagram's CSV as whole texts: what they describe, each class, nan for what
// has no number, cancelled cells and columns left out; and the same text under a locale whose
// decimal separator is a comma.
TEST(Sweep, MapAndDiagramCsvTexts) {
    CSweep s = Economy();
    s.nAxis[0] = 2, s.lo[0] = -0.5, s.hi[0] = 0.5, s.nCount[0] = 3;
    s.nAxis[1] = kAxisZ0, s.lo[1] = -3, s.hi[1] = -1, s.nCount[1] = 2;
    s.bSteadyStates = true;
    const std::vector<CMapCell> cells = {Cell(EOutcome::Value, -0.25, 0.001, 120.5, 1),
                                         Cell(EOutcome::Value, 0.003, 0.004, 800, 0),
                                         Cell(EOutcome::Value, 0.5, 0.002, 2000, 0),
                                         Cell(EOutcome::Explosive),
                                         Cell(EOutcome::Diverged),
                                         Cell(EOutcome::Cancelled)};
    const std::string map =
        "# stability map of Sorvan: largest Lyapunov exponent per unit model time and its "
        "standard error\n"
        "# Equations: Dormand-Prince 5(4), error 1e-06 per step, independent of the Variation\n"
        "# model time: transient 100, error target 0.005, longest run 10000 per cell\n"
        "c,z0,lyapunov,error,model_time,class,stable_steady_state\n"
        "-0.5,-3,-0.25,0.001,120.5,settles,1\n"
        "0,-3,0.0030000000000000001,0.0040000000000000001,800,cycles,0\n"
        "0.5,-3,0.5,0.002,2000,chaos,0\n"
        "-0.5,-1,nan,nan,nan,explosive,0\n"
        "0,-1,nan,nan,nan,diverged,0\n";
    std::vector<CColumnResult> columns(5);
    columns[0].eOutcome = EOutcome::Value, columns[0].maxima = {1.5, 2.25};
    columns[1].eOutcome = EOutcome::Value, columns[1].maxima = {0.1}, columns[1].bSteady = true;
    columns[2].eOutcome = EOutcome::Explosive;
    columns[3].eOutcome = EOutcome::Diverged;
    s.nCount[0] = 5, s.nVariable = 1;
    s.diagram.eMethod = EMethod::AsDrawn;
    const std::string diagram =
        "# bifurcation diagram of Sorvan: local maxima of Money (M) after the transient\n"
        "# As drawn: the Run's step at Variation 0.01 (0.00666667 model time per step)\n"
        "# model time: transient until the maxima stop moving (at most 3000), then up to 300 "
        "maxima in at most 3000\n"
        "c,y,row\n"
        "-0.5,1.5,maximum\n"
        "-0.5,2.25,maximum\n"
        "-0.25,0.10000000000000001,steady\n"
        "0,nan,explosive\n"
        "0.25,nan,diverged\n";
    CSweep m = s;
    m.nCount[0] = 3;
    EXPECT_EQ(MapCsvText(m, cells), map);
    EXPECT_EQ(DiagramCsvText(s, columns), diagram);

    // A locale built for the test: German numbers have a decimal comma.
    TempDir dir;
    const std::string command = "localedef -i de_DE -f UTF-8 " + dir.Path() + "/de_DE.UTF-8 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "could not build a German locale: " << command;
    setenv("LOCPATH", dir.Path().c_str(), 1);
    ASSERT_TRUE(std::setlocale(LC_ALL, "de_DE.UTF-8")) << "the German locale did not load";
    char comma[16];
    std::snprintf(comma, sizeof comma, "%.1f", 0.5);
    EXPECT_STREQ(comma, "0,5") << "the locale has no decimal comma";
    const std::string underComma = MapCsvText(m, cells) + DiagramCsvText(s, columns);
    std::string trajectory;
    std::unique_ptr<CAttractor> r(CreateAttractor(2));
    r->LoadSettings();
    WriteTrajectoryCsv(*r, 3, 0, 3, {}, [&](const char* t, size_t n) {
        trajectory.append(t, n);
        return true;
    });
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
    EXPECT_EQ(underComma, map + diagram);
    std::string plain;
    WriteTrajectoryCsv(*r, 3, 0, 3, {}, [&](const char* t, size_t n) {
        plain.append(t, n);
        return true;
    });
    EXPECT_EQ(trajectory, plain);
}
