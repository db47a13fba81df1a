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
        Select(kind);
        Type(IDC_PARAM_A, "27.5");
        Type(IDC_INIT_X, "0.25");
        Type(IDC_ITERATION, "1500");
        Type(IDC_ZOOM, "7.5");
        Click(Button(IDC_RUN));
        answer = dir.File("Files/round.ini");
        Command(ID_FILE_SAVE_PARAMETERS);
        double boxes[13];
        for (int i = 0; i < 13; ++i)
            boxes[i] = Box(kValueBoxes[i].nId)->text().toDouble();
        const std::string record = RecordText(A(), dir.File("record.ini"));
        QImage planes[4];
        for (int p = 0; p < 4; ++p)
            planes[p] = Draw()->Surface().Picture(p);

        Type(IDC_PARAM_A, "30");
        Type(IDC_ITERATION, "900");
        Click(Button(IDC_RUN));
        auto* accumulate = Item<QCheckBox>(IDC_ACCUMULATE);
        if (kind == 5)
            Click(accumulate);
        ASSERT_NE(Draw()->Surface().Picture(0), planes[0]);
        dlg->CommandAction(ID_FILE_LOAD_PARAMETERS)->trigger();
        EXPECT_FALSE(asked.back().save);
        EXPECT_EQ(asked.back().filter, "Ini Files (*.ini)|*.ini||");
        EXPECT_EQ(asked.back().initialDir, dir.File("Files"));
        EXPECT_TRUE(messages.empty()) << messages.front();
        for (int i = 0; i < 13; ++i)
            EXPECT_EQ(Box(kValueBoxes[i].nId)->text().toDouble(), boxes[i]) << "box " << i;
        EXPECT_EQ(Box(IDC_PARAM_A)->text().trimmed(), "27.5"); // not Qelland's 12.5
        EXPECT_EQ(RecordText(A(), dir.File("record.ini")), record);
        for (int p = 0; p < 4; ++p)
            EXPECT_EQ(Draw()->Surface().Picture(p), planes[p]) << "plane " << p;
        EXPECT_FALSE(accumulate->isChecked());
        EXPECT_EQ(Country()->currentIndex(), kind == 5 ? -1 : 0);
        EXPECT_EQ(Buttons(), "RS-");
        // A Run without edits accepts nothing again: the boxes are the record.
        Click(Button(IDC_RUN));
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(RecordText(A(), dir.File("record.ini")), record);
    }
    // The countries accumulated before the load are forgotten: ticked again, an export holds
    // only the one run since.
    Click(Item<QCheckBox>(IDC_ACCUMULATE));
    ChooseCountry(3);
    Click(Button(IDC_RUN));
    answer = dir.File("Files/since.png");
    Command(ID_FILE_SAVE_AS);
    QImage alone(591, 515, QImage::Format_RGB32);
    alone.fill(Qt::black);
    Draw()->RenderPlaneInto(alone);
    EXPECT_EQ(QImage(QString::fromStdString(*answer)).convertToFormat(QImage::Format_RGB32), alone);
    Select(2);
    EXPECT_EQ(A().m_param[0].m_value, 28.0);
    EXPECT_EQ(A().m_iteration.m_value, 2000);
}

// Cancel does nothing; a file with other sections only or a missing file holds no parameters,
// a folder, a FIFO (which would block the reader) or a device cannot be read: a message each,
// and nothing changes.
TEST_F(AppTest, LoadParametersRefusesAFileWithoutTheSection) {
    Type(IDC_PARAM_A, "27.5");
    const CAttractor* before = &dlg->Host().Record();
    const std::string record = RecordText(A(), dir.File("record.ini"));
    const QImage plane = Draw()->Surface().Picture(0);
    Command(ID_FILE_LOAD_PARAMETERS);
    EXPECT_TRUE(messages.empty());
    TempDir::Write(dir.File("Files/lorenz.ini"), "[Lorenz]\nZoom=3.000\n[Sorvan]\n");
    ::mkfifo(dir.File("Files/fifo.ini").c_str(), 0600);
    const char* none = " holds no parameters for the Sorvan attractor.";
    const char* noFile = ": not a regular file (a FIFO, device or socket)";
    for (const auto& [path, says] : {std::pair{dir.File("Files/lorenz.ini"), none},
                                     {dir.File("Files/none.ini"), none},
                                     {dir.File("Files"), ": Is a directory"},
                                     {dir.File("Files/fifo.ini"), noFile},
                                     {std::string("/dev/zero"), noFile}}) {
        messages.clear();
        answer = path;
        Command(ID_FILE_LOAD_PARAMETERS);
        ASSERT_EQ(messages.size(), 1u) << path;
        EXPECT_EQ(messages[0], (says == none ? "" : "Cannot read ") + path + says);
        EXPECT_EQ(&dlg->Host().Record(), before);
        EXPECT_EQ(RecordText(A(), dir.File("record.ini")), record);
        EXPECT_EQ(Box(IDC_PARAM_A)->text(), "27.5");
        EXPECT_EQ(Draw()->Surface().Picture(0), plane);
    }
}
