#include "AppFixture.h"

#include "analysis/Trajectory.h"
#include "app/Runner.h"
#include "app/TimeSeriesWnd.h"

#include <QProgressDialog>
#include <QThreadPool>
#include <QTimer>
#include <sstream>
#include <thread>

namespace {
// The text's lines, each split at its commas.
std::vector<std::vector<std::string>> Table(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        rows.emplace_back();
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, ',');)
            rows.back().push_back(f);
    }
    return rows;
}
} // namespace

// The record's pass as the dialog asked for it; the economic model names its axes.
TEST_F(AppTest, ExportTrajectoryWritesThePlotsPointsExactly) {
    Select(2);
    answer = dir.File("Files/lorenz.csv");
    dlg->CommandAction(ID_FILE_EXPORT_TRAJECTORY)->trigger();
    Exported(dlg.get());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].save);
    EXPECT_EQ(asked[0].filter, "CSV Files (*.csv)|*.csv||");
    EXPECT_EQ(asked[0].fileName, "trajectory.csv");
    EXPECT_EQ(asked[0].initialDir, dir.File("Files"));
    const auto rows = Table(TempDir::Read(*answer));
    const auto points = qel::CollectTrajectory(A(), 2000);
    ASSERT_EQ(rows.size(), 2002u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"step", "time", "x", "y", "z"}));
    // Every step written; the last one is the record's own pass to the bit, its model time two
    // thirds of the Variation 0.005 per step.
    const double want[3] = {points[2000].x, points[2000].y, points[2000].z};
    EXPECT_EQ(rows[2001][0], "2000");
    EXPECT_NEAR(std::strtod(rows[2001][1].c_str(), nullptr), 20.0 / 3.0, 1e-12);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(std::strtod(rows[2001][k + 2].c_str(), nullptr), want[k]) << rows[2001][k + 2];

    Select(5);
    answer = dir.File("Files/sorvan");
    Command(ID_FILE_EXPORT_TRAJECTORY);
    Exported(dlg.get());
    EXPECT_EQ(Table(TempDir::Read(*answer)).at(0),
              (std::vector<std::string>{"step", "time", "x_output", "y_money", "z_pricing"}));
}

// A file that cannot be made gets the message and nothing on disk; a cancelled big export,
// announced with its size, leaves the earlier file as it was and no temporary behind.
TEST_F(AppTest, ExportTrajectoryLeavesNoPartialFile) {
    answer = dir.File("no/such/t.csv");
    Command(ID_FILE_EXPORT_TRAJECTORY);
    Exported(dlg.get());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error creating file " + *answer);
    EXPECT_FALSE(std::filesystem::exists(dir.File("no")));

    answer = dir.File("Files/big.csv");
    TempDir::Write(*answer, "earlier\n");
    // Announced with its size in one line of the status line, for every kind at the most
    // points a Run draws.
    for (int kind = 0; kind < 6; ++kind) {
        Select(kind);
        A().m_iteration.m_value = 10000000;
        std::string status;
        QTimer::singleShot(0, dlg.get(), [&] {
            status = Item<CxStatic>(IDC_STATUS)->Text().toStdString();
            if (auto* progress = dlg->findChild<QProgressDialog*>())
                progress->cancel();
        });
        Command(ID_FILE_EXPORT_TRAJECTORY);
        Exported(dlg.get());
        const QFontMetrics fm(Item<CxStatic>(IDC_STATUS)->LabelFont());
        const int width = Item<CxStatic>(IDC_STATUS)->width();
        const auto lines = CxStatic::BreakLines(QString::fromStdString(status), width, fm);
        EXPECT_TRUE(status.starts_with("Writing 10,000,001 points, ") && lines.size() == 1)
            << status << " in " << lines.size() << " lines";
    }
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(TempDir::Read(*answer) == "earlier\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("Files")), {}), 1);
    EXPECT_EQ(Item<CxStatic>(IDC_STATUS)->Text(), "");
}

// The export writes on a worker from its own copies of the records. Here a three-country
// export from the time series is held at a FIFO until it is read. With the pool one thread
// wide, the curves of a Run wait behind it, and the window's Cancel drops them; with a second
// thread a Run replaces the window's curves (and frees their records) while the export waits.
// The file still holds every point of the three, to the bit; AddressSanitizer, in CI, sees any
// read of freed memory.
TEST_F(AppTest, RunDuringAMultiCurveExportLeavesTheFileWhole) {
    const int threads = CRunner::Pool()->maxThreadCount();
    Type(IDC_ITERATION, "70000");
    Click(Button(IDC_RUN));
    Accumulate({2, 3});
    dlg->CommandAction(ID_ANALYSIS_TIME_SERIES)->trigger();
    auto* ts = dlg->findChild<CTimeSeriesWnd*>();
    ASSERT_EQ(Built(ts)->CurveCount(), 3);
    std::vector<qel::CPoint3> last;
    for (int c = 0; c < 3; ++c)
        last.push_back(qel::CollectTrajectory(*ts->Envelope(c).Record(), 70000).back());

    answer = dir.File("held.csv");
    ASSERT_EQ(::mkfifo(answer->c_str(), 0600), 0);
    CRunner::Pool()->setMaxThreadCount(1);
    ts->OnSaveData();
    Click(Button(IDC_RUN)); // a fourth country, queued behind the export
    Click(ts->findChild<QPushButton*>("cancel"));
    CRunner::Pool()->setMaxThreadCount(2);
    EXPECT_EQ(Built(ts)->CurveCount(), 3);
    EXPECT_TRUE(ts->findChild<QLabel*>("info")->text().startsWith("Cancelled"));
    Click(Button(IDC_RUN)); // a fifth: its curves replace the three
    EXPECT_EQ(Built(ts)->CurveCount(), 5);
    std::string text;
    {
        CWatchdog held(60, "the held export to pass through its FIFO");
        std::thread([&] { text = TempDir::Read(*answer); }).join();
    }
    Exported(ts);
    const auto rows = Table(text);
    CRunner::Pool()->setMaxThreadCount(threads);
    ASSERT_EQ(rows.size(), 1 + 3 * 70001u);
    EXPECT_EQ(rows[0][0], "country");
    EXPECT_TRUE(messages.empty());
    const char* names[3] = {"Ostravia", "Belmark", "Zentia"};
    for (int c = 0; c < 3; ++c) {
        const auto& row = rows[(c + 1) * 70001];
        ASSERT_EQ(row.size(), 6u) << c;
        EXPECT_EQ(row[0] + "," + row[1], std::string(names[c]) + ",70000");
        EXPECT_EQ(std::strtod(row[3].c_str(), nullptr), last[c].x) << c;
        EXPECT_EQ(std::strtod(row[4].c_str(), nullptr), last[c].y) << c;
        EXPECT_EQ(std::strtod(row[5].c_str(), nullptr), last[c].z) << c;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(*answer)); // written in place, not replaced
}
