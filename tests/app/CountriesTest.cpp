#include "AppFixture.h"

TEST_F(AppTest, ChoosingACountryMarksAllSevenBoxesAndRunAcceptsThem) {
    Click(dlg->m_btnRun);
    dlg->m_comboCountry->setCurrentIndex(2);
    dlg->OnCountryChanged();
    EXPECT_EQ(Box(EDIT_A)->text(), "30");
    EXPECT_EQ(Box(EDIT_A + 4)->text(), "-0.5");
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(A().m_param[i].m_bModified, 1) << i;
    EXPECT_EQ(dlg->m_qelmeterValue->Text(),
              "36.300"); // still the attractor's: 12.5 * 3 - 1.5 * 0.8
    const QImage before = dlg->DrawWnd()->Surface().Picture(0);
    Click(dlg->m_btnRun);
    EXPECT_EQ(A().m_param[0].m_value, 30.0);
    EXPECT_EQ(A().m_param[4].m_value, -0.5);
    EXPECT_EQ(dlg->m_qelmeterValue->Text(), "170.000"); // 30 * 6 - 5 * 2
    EXPECT_NE(dlg->DrawWnd()->Surface().Picture(0), before);
}

TEST_F(AppTest, AccumulatedCountriesOverlayAndAreForgottenByClearAndSelection) {
    Click(dlg->m_btnRun);
    QCheckBox* box = qobject_cast<QCheckBox*>(dlg->GetDlgItem(1078));
    ASSERT_TRUE(box);
    Click(box); // switching on records the chosen country at once
    EXPECT_EQ(dlg->m_accumulated, (decltype(dlg->m_accumulated){"Ostravia"}));
    QImage previous = dlg->DrawWnd()->Surface().Picture(0);
    for (int index : {1, 2, 3}) {
        dlg->m_comboCountry->setCurrentIndex(index);
        dlg->OnCountryChanged();
        Click(dlg->m_btnRun);
        // Nothing is cleared in between: every lit pixel stays lit.
        const QImage now = dlg->DrawWnd()->Surface().Picture(0);
        for (int y = 0; y < now.height(); y += 2)
            for (int x = 0; x < now.width(); x += 2)
                ASSERT_TRUE(!Lit(previous.pixel(x, y)) || Lit(now.pixel(x, y))) << index;
        previous = now;
    }
    EXPECT_EQ(dlg->m_accumulated.size(), 4u);
    Click(dlg->m_btnClear); // forgets the list but keeps the switch
    EXPECT_TRUE(dlg->m_accumulated.empty() && box->isChecked());
    Click(dlg->m_btnRun);
    Click(box); // switching off empties the list
    EXPECT_TRUE(dlg->m_accumulated.empty());
    Click(box); // another kind clears the switch
    dlg->OnSelectAttractor(2);
    dlg->OnSelectAttractor(5);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(dlg->m_comboCountry->currentIndex(), 0);
}

TEST_F(AppTest, WithoutCountriesTheControlsHideSilentlyAndEveryBoxIsChecked) {
    std::filesystem::remove(dir.File("countries.xml"));
    messages.clear();
    Start(nullptr, nullptr);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(dlg->m_comboCountry->isVisible() || dlg->GetDlgItem(1078)->isVisible());
    EXPECT_EQ(dlg->m_qelmeterValue->Text(), "34.800"); // from the settings: 12 * 3 - 1.5 * 0.8
    EXPECT_EQ(Box(EDIT_A)->text(), "12       ");
    Type(EDIT_A, "5");
    Click(dlg->m_btnRun);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(AppTest, AMissingQellandIsReportedAndNamesMatchExactly) {
    Start(nullptr, "<Countries><C Name=\"qelland\" a=\"11\"/><C a=\"12\">Textland</C>"
                   "<Tagland a=\"13\"/></Countries>");
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0], "Could not find country name");
    EXPECT_EQ(dlg->m_comboCountry->itemText(2), "Tagland");
    EXPECT_EQ(Box(EDIT_A)->text(), "12       "); // the settings file's value stays
}
