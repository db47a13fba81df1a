#include "AppFixture.h"

#include "analysis/Trajectory.h"

#include <QProgressDialog>
#include <QTimer>
#include <sstream>

namespace {
// The file's lines, each split at its commas.
std::vector<std::vector<std::string>> Table(const std::string& path) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(TempDir::Read(path));
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
    dlg->OnSelectAttractor(2);
    answer = dir.File("Files/lorenz.csv");
    dlg->CommandAction(ID_FILE_EXPORT_TRAJECTORY)->trigger();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].save);
    EXPECT_EQ(asked[0].filter, "CSV Files (*.csv)|*.csv||");
    EXPECT_EQ(asked[0].fileName, "trajectory.csv");
    EXPECT_EQ(asked[0].initialDir, dir.File("Files"));
    const auto rows = Table(*answer);
    const auto points = CollectTrajectory(A(), 2000);
    ASSERT_EQ(rows.size(), 2002u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"step", "time", "x", "y", "z"}));
    // Every step written; the last one is the record's own pass to the bit, its model time two
    // thirds of the Variation 0.005 per step.
    const double want[3] = {points[2000].x, points[2000].y, points[2000].z};
    EXPECT_EQ(rows[2001][0], "2000");
    EXPECT_NEAR(std::strtod(rows[2001][1].c_str(), nullptr), 20.0 / 3.0, 1e-12);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(std::strtod(rows[2001][k + 2].c_str(), nullptr), want[k]) << rows[2001][k + 2];

    dlg->OnSelectAttractor(5);
    answer = dir.File("Files/sorvan");
    dlg->OnExportTrajectory();
    EXPECT_EQ(Table(*answer).at(0),
              (std::vector<std::string>{"step", "time", "x_output", "y_money", "z_pricing"}));
}

// A file that cannot be made gets the message and nothing on disk; a cancelled big export,
// announced with its size, leaves the earlier file as it was and no temporary behind.
TEST_F(AppTest, ExportTrajectoryLeavesNoPartialFile) {
    answer = dir.File("no/such/t.csv");
    dlg->OnExportTrajectory();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error creating file " + *answer);
    EXPECT_FALSE(std::filesystem::exists(dir.File("no")));

    answer = dir.File("Files/big.csv");
    TempDir::Write(*answer, "earlier\n");
    // Announced with its size in one line of the status line, for every kind at the most
    // points a Run draws.
    for (int kind = 0; kind < 6; ++kind) {
        dlg->OnSelectAttractor(kind);
        A().m_iteration.m_value = 10000000;
        std::string status;
        QTimer::singleShot(0, dlg.get(), [&] {
            status = dlg->m_status->Text().toStdString();
            if (auto* progress = dlg->findChild<QProgressDialog*>())
                progress->cancel();
        });
        dlg->OnExportTrajectory();
        const QFontMetrics fm(dlg->m_status->LabelFont());
        const int width = dlg->m_status->width();
        const auto lines = CxStatic::BreakLines(QString::fromStdString(status), width, fm);
        EXPECT_TRUE(status.starts_with("Writing 10,000,001 points, ") && lines.size() == 1)
            << status << " in " << lines.size() << " lines";
    }
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(TempDir::Read(*answer), "earlier\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("Files")), {}), 1);
    EXPECT_EQ(dlg->m_status->Text(), "");
}
