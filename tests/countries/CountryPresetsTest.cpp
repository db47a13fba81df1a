#include "countries/CountryPresets.h"
#include "model/Attractor.h"

#include <gtest/gtest.h>
#include <memory>

using Names = std::vector<std::string>;

TEST(CountryList, NamesComeFromNameThenTextThenTag) {
    CXmlDocument doc;
    doc.Parse("<Countries>"
              "<Country Name=\"Atlantis\" a=\"1\"/>"
              "<Country>Textland</Country>"
              "<Utopia a=\"2\"></Utopia>"
              "<Country Name=\"\">Empty name</Country>"
              "<Deep><Inner Name=\"Hidden\"/></Deep>"
              "<Country Name=\"Qelland\"/>"
              "</Countries>");
    EXPECT_EQ(CountryNames(doc),
              (Names{"Atlantis", "Textland", "Utopia", "Empty name", "Deep", "Qelland"}));
    // Deeper elements are not countries.
    EXPECT_EQ(FindCountry(doc, "Hidden"), nullptr);
    ASSERT_NE(FindCountry(doc, "Utopia"), nullptr);
    EXPECT_EQ(FindCountry(doc, "Utopia")->m_strName, "Utopia");
}

TEST(CountryList, FileWithoutEnclosingRootLosesItsFirstCountry) {
    CXmlDocument doc;
    doc.Parse("<Country Name=\"First\" a=\"1\"/><Country Name=\"Second\"/>"
              "<Country Name=\"Third\"/>");
    EXPECT_EQ(CountryNames(doc), (Names{"Second", "Third"}));
    EXPECT_EQ(FindCountry(doc, "First"), nullptr);
}

TEST(CountryList, EmptyDocumentHasNoCountries) {
    CXmlDocument doc;
    EXPECT_TRUE(CountryNames(doc).empty());
    doc.Parse("<Countries/>");
    EXPECT_TRUE(CountryNames(doc).empty());
    EXPECT_EQ(FindCountry(doc, ""), nullptr);
    EXPECT_EQ(FindCountry(doc, "Countries"), nullptr);
}

TEST(CountryFind, ExactCaseSensitiveFirstMatch) {
    CXmlDocument doc;
    doc.Parse("<C><x Name=\"Qelland\" a=\"1\"/><x Name=\"Other\"/><x Name=\"Qelland\" a=\"2\"/>"
              "<x Name=\"Qelland \"/></C>");
    EXPECT_EQ(CountryNames(doc), (Names{"Qelland", "Other", "Qelland", "Qelland "}));
    const CXmlElement* first = FindCountry(doc, "Qelland");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(doc.GetAttribute(first, "a"), "1");
    EXPECT_EQ(FindCountry(doc, "qelland"), nullptr);
    EXPECT_EQ(FindCountry(doc, "Qell"), nullptr);
    ASSERT_NE(FindCountry(doc, "Qelland "), nullptr);
    EXPECT_EQ(FindCountry(doc, "Qelland "), doc.m_root.m_children[3].get());
}

TEST(CountryValuesRead, RawTextsInParameterOrder) {
    CXmlDocument doc;
    doc.Parse("<C><x Name=\"Q\" I=\"7\" U=\"6\" G=\"5\" d=\"4\" c=\"3\" b=\"2\" a=\" 1.5e0x\"/>"
              "<x Name=\"Gap\" a=\"1\" g=\"9\" e=\"8\"/>"
              "<x Name=\"Data\" Data=\"5\" a=\"1\" b = \"2\"/></C>");
    CountryValues v;
    ASSERT_TRUE(CountryTexts(doc, "Q", v));
    EXPECT_EQ(v.text[0], " 1.5e0x");
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(v.text[i], std::to_string(i + 1)) << i;

    // Lower-case e and g are not the attributes of parameters e and g.
    ASSERT_TRUE(CountryTexts(doc, "Gap", v));
    EXPECT_EQ(v.text[0], "1");
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(v.text[i], "") << i;

    // "a=" is found at the end of "Data" first; blanks around "=" read as empty.
    ASSERT_TRUE(CountryTexts(doc, "Data", v));
    EXPECT_EQ(v.text[0], "5");
    EXPECT_EQ(v.text[1], "");

    v.text[0] = "kept";
    EXPECT_FALSE(CountryTexts(doc, "Nowhere", v));
    EXPECT_EQ(v.text[0], "kept");
}

TEST(CountryApply, WritesCurrentValuesWithoutLimits) {
    std::unique_ptr<CAttractor> attractor(CreateAttractor(5));
    ASSERT_NE(attractor, nullptr);
    for (int i = 0; i < 7; ++i) {
        attractor->m_param[i].Set(0.25, 0.0, 1.0);
        attractor->m_param[i].m_bModified = 0;
    }
    CXmlDocument doc;
    doc.Parse("<C><x Name=\"Qelland\" a=\"0.5\" b=\"-2\" c=\"1e6\" d=\" 3.25abc\" G=\"junk\""
              " U=\"1e999\"/></C>");
    ASSERT_TRUE(ApplyCountryToAttractor(doc, "Qelland", *attractor));
    EXPECT_DOUBLE_EQ(attractor->m_param[0].m_value, 0.5);
    EXPECT_DOUBLE_EQ(attractor->m_param[1].m_value, -2.0);
    EXPECT_DOUBLE_EQ(attractor->m_param[2].m_value, 1e6); // beyond the upper limit, kept
    EXPECT_DOUBLE_EQ(attractor->m_param[3].m_value, 3.25);
    EXPECT_DOUBLE_EQ(attractor->m_param[4].m_value, 0.0);
    EXPECT_GT(attractor->m_param[5].m_value, 1e300);
    EXPECT_DOUBLE_EQ(attractor->m_param[6].m_value, 0.0); // absent
    for (int i = 0; i < 7; ++i) {
        EXPECT_DOUBLE_EQ(attractor->m_param[i].m_stored, 0.25) << i;
        EXPECT_DOUBLE_EQ(attractor->m_param[i].m_upper, 1.0) << i;
        EXPECT_EQ(attractor->m_param[i].m_bModified, 0) << i;
    }

    // Not found: nothing changes.
    ASSERT_FALSE(ApplyCountryToAttractor(doc, "qelland", *attractor));
    EXPECT_DOUBLE_EQ(attractor->m_param[0].m_value, 0.5);
}
