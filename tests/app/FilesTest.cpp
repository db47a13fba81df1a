#include "AppFixture.h"

#include "engine/BmpWriter.h"

#include <QImage>
#include <algorithm>

TEST_F(AppTest, SaveParametersWritesSixSectionsWithTheAcceptedValues) {
    // Cancelling writes nothing, but the folder exists.
    dlg->OnSaveParameters();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].filter, "Ini Files (*.ini)|*.ini||");
    EXPECT_EQ(asked[0].fileName, "Parameters.ini");
    EXPECT_EQ(asked[0].defaultExtension, "");
    EXPECT_EQ(asked[0].initialDir, dir.File("Files"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("Files")));
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("Files")));

    Type(EDIT_ZOOM, "55");
    Click(dlg->m_btnRun);
    Type(EDIT_ZOOM, "66"); // typed, not run: not saved
    answer = dir.File("Files/saved");
    dlg->OnSaveParameters();
    const std::string text = TempDir::Read(*answer);
    // The six sections in order, each once.
    std::size_t at = 0;
    for (const char* s : {"[Henon]", "[Ikeda]", "[Lorenz]", "[Pickover]", "[Rossler]", "[Sorvan]"})
        EXPECT_NE(at = text.find(s, at), std::string::npos) << s;
    EXPECT_EQ(std::count(text.begin(), text.end(), '['), 6);
    const std::size_t sorvan = text.find("[Sorvan]");
    EXPECT_EQ(text.substr(sorvan, 28), "[Sorvan]\nZoom=55.000\nStartCo");
    EXPECT_NE(text.find("A=(12.5000,10.0000,50.0000)", sorvan), std::string::npos);
    EXPECT_NE(text.find("G=(0.3000,0.0000,0.9900)", sorvan), std::string::npos);
    // Lorenz as the settings file has it, without D to G.
    const std::size_t lorenz = text.find("[Lorenz]");
    EXPECT_NE(text.find("Iteration=(2000,1,10000000)", lorenz), std::string::npos);
    EXPECT_EQ(text.substr(lorenz, sorvan - lorenz).find("\nD="), std::string::npos);
    // Saving twice gives the same bytes; other content of the file stays.
    TempDir::Write(*answer, "; mine\n[Other]\nk=v\n" + text);
    dlg->OnSaveParameters();
    EXPECT_EQ(TempDir::Read(*answer), "; mine\n[Other]\nk=v\n" + text);
}

TEST_F(AppTest, ExportWritesTheRenderedPlaneAsBmpOrPng) {
    dlg->OnSaveAs();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].filter, "Bmp Files (*.bmp)|*.bmp|PngFiles (*.png)|*.Png||");
    EXPECT_EQ(asked[0].fileName, "graph");
    EXPECT_EQ(asked[0].defaultExtension, "bmp");
    QImage expected(591, 515, QImage::Format_RGB32);
    expected.fill(Qt::black);
    dlg->DrawWnd()->RenderPlaneInto(expected);
    const std::vector<uint8_t> bytes = EncodeBmp(expected);
    for (const char* name : {"graph.bmp", "graph.BMP"}) {
        answer = dir.File(std::string("Files/") + name);
        dlg->OnSaveAs();
        const std::string got = TempDir::Read(*answer);
        ASSERT_EQ(got.size(), 54u + 1776u * 515u) << name;
        EXPECT_EQ(got, std::string(bytes.begin(), bytes.end())) << name;
    }
    answer = dir.File("Files/graph.png");
    dlg->OnSaveAs();
    EXPECT_EQ(QImage(QString::fromStdString(*answer)).convertToFormat(QImage::Format_RGB32),
              expected);
    EXPECT_EQ(dlg->DrawWnd()->ScreenImage(), expected); // the screen shows what was exported
    for (const char* name : {"graph.bmp", "graph.png"}) {
        messages.clear();
        answer = dir.File(std::string("no/such/folder/") + name);
        dlg->OnSaveAs();
        ASSERT_EQ(messages.size(), 1u) << name;
        EXPECT_EQ(messages[0], "Error creating file " + *answer);
    }
}

TEST_F(AppTest, AccumulatedExportDrawsEveryCountryAndKeepsTheLast) {
    answer = dir.File("Files/acc.png");
    Click(dlg->m_btnRun);
    Click(qobject_cast<QCheckBox*>(dlg->GetDlgItem(1078)));
    for (int index : {1, 2, 3}) {
        dlg->m_comboCountry->setCurrentIndex(index);
        dlg->OnCountryChanged();
        Click(dlg->m_btnRun);
    }
    A().m_param[0].m_value = 44; // whatever the attractor holds, the export applies each country
    dlg->OnSaveAs();
    EXPECT_EQ(A().m_param[0].m_value, 15.0); // Zentia's, the last of the list
    EXPECT_EQ(A().m_param[6].m_value, 0.5);
    QImage png(QString::fromStdString(*answer));
    ASSERT_FALSE(png.isNull());
    // Every country's trajectory is in it: more than the last one alone.
    QImage last(591, 515, QImage::Format_RGB32);
    last.fill(Qt::black);
    dlg->DrawWnd()->RenderPlaneInto(last);
    EXPECT_GT(CountPixels(png, Lit), CountPixels(last, Lit));
}

TEST_F(AppTest, ExportDuringAnAnimationStopsItFirst) {
    answer = dir.File("Files/anim.bmp");
    StartLongAnimation();
    dlg->OnSaveAs();
    EXPECT_FALSE(dlg->DrawWnd()->IsWorkerRunning());
    EXPECT_EQ(Buttons(), "RS-");
    EXPECT_TRUE(std::filesystem::exists(*answer));
}
