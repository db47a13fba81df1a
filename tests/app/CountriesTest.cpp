#include "AppFixture.h"

TEST_F(AppTest, ChoosingACountryMarksAllSevenBoxesAndRunAcceptsThem) {
    Click(Button(IDC_RUN));
    ChooseCountry(2);
    EXPECT_EQ(Box(IDC_PARAM_A)->text(), "30");
    EXPECT_EQ(Box(IDC_PARAM_E)->text(), "-0.5");
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(A().m_param[i].m_bModified, 1) << i;
    EXPECT_EQ(Item<CxStatic>(IDC_QELMETER_VALUE)->Text(),
              "36.300"); // still the attractor's: 12.5 * 3 - 1.5 * 0.8
    const QImage before = Draw()->Surface().Picture(0);
    Click(Button(IDC_RUN));
    EXPECT_EQ(A().m_param[0].m_value, 30.0);
    EXPECT_EQ(A().m_param[4].m_value, -0.5);
    EXPECT_EQ(Item<CxStatic>(IDC_QELMETER_VALUE)->Text(), "170.000"); // 30 * 6 - 5 * 2
    EXPECT_NE(Draw()->Surface().Picture(0), before);
}

TEST_F(AppTest, AccumulatedCountriesOverlayAndAreForgottenByClearAndSelection) {
    Click(Button(IDC_RUN));
    QCheckBox* box = Item<QCheckBox>(IDC_ACCUMULATE);
    ASSERT_TRUE(box);
    Click(box); // switching on records the chosen country at once
    EXPECT_EQ(Shown(), std::vector<std::string>{"Ostravia"});
    QImage previous = Draw()->Surface().Picture(0);
    for (int index : {1, 2, 3}) {
        ChooseCountry(index);
        Click(Button(IDC_RUN));
        // Nothing is cleared in between: every lit pixel stays lit.
        const QImage now = Draw()->Surface().Picture(0);
        for (int y = 0; y < now.height(); y += 2)
            for (int x = 0; x < now.width(); x += 2)
                ASSERT_TRUE(!Lit(previous.pixel(x, y)) || Lit(now.pixel(x, y))) << index;
        previous = now;
    }
    EXPECT_EQ(Shown().size(), 4u);
    Click(Button(IDC_CLEAR)); // forgets the list but keeps the switch
    EXPECT_TRUE(Shown() == std::vector<std::string>{"Sorvan"} && box->isChecked());
    Click(Button(IDC_RUN));
    Click(box); // switching off empties the list
    EXPECT_EQ(Shown(), std::vector<std::string>{"Sorvan"});
    Click(box); // another kind clears the switch
    Select(2);
    Select(5);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(Country()->currentIndex(), 0);
}

TEST_F(AppTest, WithoutCountriesTheControlsHideSilentlyAndEveryBoxIsChecked) {
    std::filesystem::remove(dir.File("countries.xml"));
    messages.clear();
    Start(nullptr, nullptr);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(Country()->isVisible() || dlg->GetDlgItem(IDC_ACCUMULATE)->isVisible());
    EXPECT_EQ(Item<CxStatic>(IDC_QELMETER_VALUE)->Text(),
              "34.800"); // from the settings: 12 * 3 - 1.5 * 0.8
    EXPECT_EQ(Box(IDC_PARAM_A)->text(), "12       ");
    Type(IDC_PARAM_A, "5");
    Click(Button(IDC_RUN));
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(AppTest, AMissingQellandIsReportedAndNamesMatchExactly) {
    Start(nullptr, "<Countries><C Name=\"qelland\" a=\"11\"/><C a=\"12\">Textland</C>"
                   "<Tagland a=\"13\"/></Countries>");
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0], "Could not find country name");
    EXPECT_EQ(Country()->itemText(2), "Tagland");
    EXPECT_EQ(Box(IDC_PARAM_A)->text(), "12       "); // the settings file's value stays
}
