#include "AppFixture.h"

// What a load must bring back (values, limits, centres, zoom, threshold, equations), as the
// record's own section in a file.
static std::string RecordText(const CAttractor& a, const std::string& path) {
    std::filesystem::remove(path);
    a.SaveSettings(path);
    return TempDir::Read(path);
}

// Save, change and Run, Load: the boxes, the record and all four planes are as saved, with no
// accumulation and, for the economic model, the file's a to g with no country chosen. Only
// this load reads the file: the next switch reads the settings file again.
TEST_F(AppTest, LoadParametersBringsBackWhatWasSaved) {
    for (int kind : {2, 5}) {
        SCOPED_TRACE(kind);
        dlg->OnSelectAttractor(kind);
        Type(EDIT_A, "27.5");
        Type(EDIT_X, "0.25");
        Type(EDIT_ITERATION, "1500");
        Type(EDIT_ZOOM, "7.5");
        Click(dlg->m_btnRun);
        answer = dir.File("Files/round.ini");
        dlg->OnSaveParameters();
        double boxes[13];
        for (int i = 0; i < 13; ++i)
            boxes[i] = Box(i)->text().toDouble();
        const std::string record = RecordText(A(), dir.File("record.ini"));
        QImage planes[4];
        for (int p = 0; p < 4; ++p)
            planes[p] = dlg->DrawWnd()->Surface().Picture(p);

        Type(EDIT_A, "30");
        Type(EDIT_ITERATION, "900");
        Click(dlg->m_btnRun);
        auto* accumulate = qobject_cast<QCheckBox*>(dlg->GetDlgItem(IDC_ACCUMULATE));
        if (kind == 5)
            Click(accumulate);
        ASSERT_NE(dlg->DrawWnd()->Surface().Picture(0), planes[0]);
        dlg->CommandAction(ID_FILE_LOAD_PARAMETERS)->trigger();
        EXPECT_FALSE(asked.back().save);
        EXPECT_EQ(asked.back().filter, "Ini Files (*.ini)|*.ini||");
        EXPECT_EQ(asked.back().initialDir, dir.File("Files"));
        EXPECT_TRUE(messages.empty()) << messages.front();
        for (int i = 0; i < 13; ++i)
            EXPECT_EQ(Box(i)->text().toDouble(), boxes[i]) << "box " << i;
        EXPECT_EQ(Box(EDIT_A)->text().trimmed(), "27.5"); // not Qelland's 12.5
        EXPECT_EQ(RecordText(A(), dir.File("record.ini")), record);
        for (int p = 0; p < 4; ++p)
            EXPECT_EQ(dlg->DrawWnd()->Surface().Picture(p), planes[p]) << "plane " << p;
        EXPECT_FALSE(dlg->m_bAccumulate);
        EXPECT_FALSE(accumulate->isChecked());
        EXPECT_EQ(dlg->m_comboCountry->currentIndex(), kind == 5 ? -1 : 0);
        EXPECT_EQ(Buttons(), "RS-");
        // A Run without edits accepts nothing again: the boxes are the record.
        Click(dlg->m_btnRun);
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(RecordText(A(), dir.File("record.ini")), record);
    }
    // The countries accumulated before the load are forgotten: ticked again, an export holds
    // only the one run since.
    Click(qobject_cast<QCheckBox*>(dlg->GetDlgItem(IDC_ACCUMULATE)));
    dlg->m_comboCountry->setCurrentIndex(3);
    dlg->OnCountryChanged();
    Click(dlg->m_btnRun);
    answer = dir.File("Files/since.png");
    dlg->OnSaveAs();
    QImage alone(591, 515, QImage::Format_RGB32);
    alone.fill(Qt::black);
    dlg->DrawWnd()->RenderPlaneInto(alone);
    EXPECT_EQ(QImage(QString::fromStdString(*answer)).convertToFormat(QImage::Format_RGB32), alone);
    dlg->OnSelectAttractor(2);
    EXPECT_EQ(A().m_param[0].m_value, 28.0);
    EXPECT_EQ(A().m_iteration.m_value, 2000);
}

// Cancel does nothing; a file with other sections only, a missing file or a folder: a message,
// and nothing changes.
TEST_F(AppTest, LoadParametersRefusesAFileWithoutTheSection) {
    Type(EDIT_A, "27.5");
    const CAttractor* before = dlg->Attractor();
    const std::string record = RecordText(A(), dir.File("record.ini"));
    const QImage plane = dlg->DrawWnd()->Surface().Picture(0);
    dlg->OnLoadParameters();
    EXPECT_TRUE(messages.empty());
    TempDir::Write(dir.File("Files/lorenz.ini"), "[Lorenz]\nZoom=3.000\n[Sorvan]\n");
    for (const char* name : {"Files/lorenz.ini", "Files/none.ini", "Files"}) {
        messages.clear();
        answer = dir.File(name);
        dlg->OnLoadParameters();
        ASSERT_EQ(messages.size(), 1u) << name;
        EXPECT_EQ(messages[0], *answer + " holds no parameters for the Sorvan attractor.");
        EXPECT_EQ(dlg->Attractor(), before);
        EXPECT_EQ(RecordText(A(), dir.File("record.ini")), record);
        EXPECT_EQ(Box(EDIT_A)->text(), "27.5");
        EXPECT_EQ(dlg->DrawWnd()->Surface().Picture(0), plane);
    }
}
