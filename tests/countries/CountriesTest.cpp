#include "../support/TempDir.h"
#include "countries/CountryPresets.h"
#include "countries/XmlDocument.h"
#include "model/Attractor.h"
#include "platform/ModulePath.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <pthread.h>
#include <sys/stat.h>

namespace {

// name[attributes]{text}(children), parts left out when empty; "!" marks a wrong parent.
std::string Dump(const CXmlElement& e) {
    std::string s = e.m_strName;
    if (!e.m_strAttributes.empty())
        s += "[" + e.m_strAttributes + "]";
    if (!e.m_strText.empty())
        s += "{" + e.m_strText + "}";
    for (std::size_t i = 0; i < e.m_children.size(); ++i)
        s += (i ? "," : "(") + std::string(e.m_children[i]->m_pParent == &e ? "" : "!") +
             Dump(*e.m_children[i]) + (i + 1 == e.m_children.size() ? ")" : "");
    return s;
}

TEST(XmlParse, TreeShapes) {
    const struct {
        std::string text, tree;
    } cases[] = {
        {"<?xml version=\"1.0\"?><C  v=\"2\" ><a N=\"A\" b=\"1\"/><b></b></C>",
         "C[v=\"2\"](a[N=\"A\" b=\"1\"],b)"},
        {"<r><a/><!-- between --><b/><!DOCTYPE x></r>", "r(a,b)"},
        // A ">" inside a comment ends it; the tail is text and its "-->" a stray ">".
        {"<r><!-- x > y --></r>", "r({y --})"},
        // Text belongs to the element current at the next tag.
        {"  before  <r> lost <a>  a b  </a> mid <b/>  tail  </r>", "r{tail}(a{a b},b)"},
        {"  before  <r/>", "r{before}"},
        // A stray ">" opens an unnamed element; before any element the next tag names the root.
        {"<r>ab>cd</r><n/>", "r({abcd},n)"},
        {"x>y<r/>", "r{xy}"},
        // Text alone, without the "<", makes no element at all.
        {"just some text<", "{just some text}"},
        // No enclosing root: the first element becomes the root of the rest.
        {"<c N=\"A\"/><c N=\"B\"/><c N=\"C\"/>", "c[N=\"A\"](c[N=\"B\"],c[N=\"C\"])"},
        // Closing tags end the current element whatever their name.
        {"<r><a><b></x></y><n/></z></r>tail</r>", "r{tail}(a(b),n)"},
        // "</>" closes itself unnamed, "<>" opens an unnamed element, a "<" inside a tag is
        // dropped.
        {"<r></><>x</q><a<b c=\"1\">", "r(,{x},ab[c=\"1\"])"},
        {"<r><a   ></a>< b x=\"1\" /></r>", "r(a,[b x=\"1\"])"},
        // A tag left open at the end is dropped.
        {"<r><a Name=\"x\"", "r"}};
    CXmlDocument doc; // reused: each parse starts from nothing
    for (const auto& c : cases) {
        EXPECT_EQ(doc.Parse(c.text), 1);
        EXPECT_EQ(Dump(doc.m_root), c.tree) << c.text;
        EXPECT_EQ(doc.m_strSource, c.text);
    }
    for (const char* text : {"", "<!-- only a comment -->", "<?pi?>  "}) {
        doc.Parse(text);
        EXPECT_EQ(Dump(doc.m_root), "") << text;
    }
}

TEST(XmlParse, DeepNestingAndBigInputs) {
    // On a small stack, recursion as deep as the document would crash instead of passing by luck.
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 256 * 1024);
    pthread_t thread;
    auto deep = [](void*) -> void* {
        CXmlDocument doc;
        std::string text;
        for (int i = 0; i < 200000; ++i)
            text += "<e>";
        doc.Parse(text);
        int n = 0;
        for (const CXmlElement* p = doc.m_pCurrent; p->m_pParent; p = p->m_pParent)
            ++n;
        EXPECT_EQ(n, 200000 - 1);
        doc.Parse(text); // the previous tree goes, and the destructor frees this one
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attr, deep, nullptr), 0);
    pthread_join(thread, nullptr);
    // Long texts and tags that never end must not cost more than once over the text.
    CXmlDocument doc;
    doc.Parse("<r><Long>" + std::string(8 << 20, 'x') + "</Long>" + std::string(4 << 20, '<'));
    EXPECT_EQ(doc.m_root.m_children.back()->m_strText.size(), std::size_t{8 << 20});
}

TEST(XmlChildWalk, CursorPerElementSurvivesBetweenCalls) {
    CXmlDocument doc;
    doc.Parse("<r><a><x/><y/></a><b/></r>");
    CXmlElement* root = &doc.m_root;
    EXPECT_TRUE(doc.m_pCurrent == root && !doc.GetNextChild(root)); // no walk begun yet
    CXmlElement* a = doc.GetFirstChild(root);
    ASSERT_TRUE(a && a->m_strName == "a");
    // Walking a child's children leaves the root's cursor alone.
    CXmlElement* x = doc.GetFirstChild(a);
    ASSERT_TRUE(x && x->m_strName == "x" && !doc.GetFirstChild(x));
    ASSERT_EQ(doc.GetNextChild(root)->m_strName, "b");
    ASSERT_EQ(doc.GetNextChild(a)->m_strName, "y");
    EXPECT_TRUE(!doc.GetNextChild(a) && !doc.GetNextChild(root) && !doc.GetNextChild(root));
    EXPECT_EQ(doc.GetFirstChild(root), a); // a new walk starts over
    EXPECT_TRUE(!doc.GetFirstChild(nullptr) && !doc.GetNextChild(nullptr));
}

TEST(XmlAttribute, PlainTextSearchStaysInRange) {
    const std::pair<const char*, const char*> found[] = {
        {"Name=\"Q\" a=\"1.5\"", "1.5"},
        // The first "a=" is at the end of "Data", or inside a value.
        {"Data=\"5\" a=\"1\"", "5"},
        {"Note='a=\"7\"' a=\"2\"", "7"},
        // A single quote is skipped like a double one, but does not end the value.
        {"a='x'", "x'"},
        {"a=\"open", "open"},
        {"a=12", "2"}};
    CXmlDocument doc;
    CXmlElement e;
    for (const auto& [attrs, value] : found) {
        e.m_strAttributes = attrs;
        EXPECT_EQ(doc.GetAttribute(&e, "a"), value) << attrs;
    }
    // Case-sensitive; blanks around "=" hide it; a value at the very end stays in range.
    for (const char* attrs : {"A=\"1\"", "b=\"1\"", "a = \"Q\"", "a =\"1\"", "a=1", "a=", "a=\"",
                              "x=\"1\" a=", "a=\"\""}) {
        e.m_strAttributes = attrs;
        EXPECT_EQ(doc.GetAttribute(&e, "a"), "") << attrs;
    }
    EXPECT_EQ(doc.GetAttribute(nullptr, "a"), "");
}

TEST(XmlLoad, BesideTheProgramWithoutLineBreaksAndTabsUpToAZeroByte) {
    TempDir dir;
    platform::SetModuleDirectoryOverride(dir.Path());
    TempDir::Write(dir.File("c.xml"),
                   "<?xml version=\"1.0\"?>\r\n<r>\r\n\t<c Name=\"A\"\ta=\"1\"/>\n"
                   "\t<c\tName=\"B\"/>\n\t<c>two\nlines</c>\n</r>\n");
    const char raw[] = "<r><c Name=\"Z\"/>\0<c Name=\"B\"/></r>";
    TempDir::Write(dir.File("z.xml"), std::string(raw, sizeof raw - 1));
    TempDir::Write(dir.File("empty.xml"), "");
    ::mkdir(dir.File("folder.xml").c_str(), 0700); // refused as platform::ReadWholeFile does

    CXmlDocument doc;
    ASSERT_EQ(doc.Load("c.xml"), 1);
    // A tab vanishes without a blank in its place.
    EXPECT_EQ(Dump(doc.m_root), "r(c[Name=\"A\"a=\"1\"],cName=\"B\",c{twolines})");
    ASSERT_EQ(doc.Load("z.xml"), 1);
    EXPECT_EQ(doc.m_strSource, "<r><c Name=\"Z\"/>");
    for (const char* name : {"missing.xml", "folder.xml"}) {
        EXPECT_EQ(doc.Load(name), 0) << name;
        EXPECT_EQ(Dump(doc.m_root), "r(c[Name=\"Z\"])") << name; // the document is kept
    }
    ASSERT_EQ(doc.Load("empty.xml"), 1);
    EXPECT_EQ(Dump(doc.m_root), "");
    platform::SetModuleDirectoryOverride("");
}

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
    doc.Parse("<Countries/>");
    EXPECT_TRUE(CountryNames(doc).empty());
}

TEST(CountryValues, RawTextsInParameterOrderAndAppliedWithoutLimits) {
    CountryDoc doc;
    // Lower-case e and g are not the parameters e and g.
    const std::pair<const char*, Names> cases[] = {
        {"Atlantis", {" 1.5e0x", "2", "3", "4", "5", "6", "7"}},
        {"Gap", {"1", "", "", "", "", "", ""}}};
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
