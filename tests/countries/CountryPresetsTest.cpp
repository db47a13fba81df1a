#include "countries/CountryPresets.h"
#include "model/Attractor.h"
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Names = std::vector<std::string>;

// Names come from Name, then the text, then the tag; only the root's children are countries.
struct CountryDoc : CXmlDocument {
    CountryDoc() {
        Parse("<Countries><Country Name=\"Atlantis\" I=\"7\" U=\"6\" G=\"5\" d=\"4\" c=\"3\" "
              "b=\"2\" a=\" 1.5e0x\"/><Country>Textland</Country><Utopia a=\"2\"></Utopia>"
              "<Country Name=\"\">Empty name</Country><Deep><Inner Name=\"Hidden\"/></Deep>"
              "<x Name=\"Gap\" a=\"1\" g=\"9\" e=\"8\"/><x Name=\"Data\" Data=\"5\" b = \"2\"/>"
              "<x Name=\"Q\" a=\"0.5\" b=\"-2\" c=\"1e6\" d=\" 3.25abc\" G=\"junk\" U=\"1e999\"/>"
              "<x Name=\"Q\" a=\"9\"/><x Name=\"Q \"/></Countries>");
    }
};

TEST(CountryList, NamesAndExactCaseSensitiveFirstMatch) {
    CountryDoc doc;
    EXPECT_EQ(CountryNames(doc), (Names{"Atlantis", "Textland", "Utopia", "Empty name", "Deep",
                                        "Gap", "Data", "Q", "Q", "Q "}));
    for (int i : {2, 7, 9})
        EXPECT_EQ(FindCountry(doc, CountryNames(doc)[i]), doc.m_root.m_children[i].get()) << i;
    for (const char* name : {"Hidden", "q", "Atl", "", "Countries"})
        EXPECT_EQ(FindCountry(doc, name), nullptr) << name;
    // Without an enclosing root the first country becomes the root and is lost.
    doc.Parse("<Country Name=\"First\" a=\"1\"/><Country Name=\"Second\"/>");
    EXPECT_EQ(CountryNames(doc), Names{"Second"});
    EXPECT_EQ(FindCountry(doc, "First"), nullptr);
    doc.Parse("<Countries/>");
    EXPECT_TRUE(CountryNames(doc).empty());
}

TEST(CountryValues, RawTextsInParameterOrderAndAppliedWithoutLimits) {
    CountryDoc doc;
    // Lower-case e and g are not the parameters e and g; "a=" is found at the end of "Data"
    // first; blanks around "=" read as empty.
    const std::pair<const char*, Names> cases[] = {
        {"Atlantis", {" 1.5e0x", "2", "3", "4", "5", "6", "7"}},
        {"Gap", {"1", "", "", "", "", "", ""}},
        {"Data", {"5", "", "", "", "", "", ""}}};
    CountryValues v;
    for (const auto& [name, texts] : cases) {
        ASSERT_TRUE(CountryTexts(doc, name, v)) << name;
        EXPECT_EQ(Names(std::begin(v.text), std::end(v.text)), texts) << name;
    }
    v.text[0] = "kept";
    EXPECT_FALSE(CountryTexts(doc, "Nowhere", v));
    EXPECT_EQ(v.text[0], "kept");

    std::unique_ptr<CAttractor> attractor(CreateAttractor(SORVAN_KIND));
    for (auto& param : attractor->m_param)
        param.Set(0.25, 0.0, 1.0);
    ASSERT_TRUE(ApplyCountryToAttractor(doc, "Q", *attractor));
    // Beyond the upper limit is kept; junk and absent read as 0, overflow as infinite; only the
    // current value changes.
    const double expected[] = {0.5, -2.0, 1e6, 3.25, 0.0, HUGE_VAL, 0.0};
    for (int i = 0; i < 7; ++i) {
        const auto& param = attractor->m_param[i];
        EXPECT_DOUBLE_EQ(param.m_value, expected[i]) << i;
        EXPECT_TRUE(param.m_stored == 0.25 && param.m_upper == 1.0 && !param.m_bModified) << i;
    }
    EXPECT_FALSE(ApplyCountryToAttractor(doc, "q", *attractor)); // not found: nothing changes
    EXPECT_DOUBLE_EQ(attractor->m_param[0].m_value, 0.5);
}

} // namespace
