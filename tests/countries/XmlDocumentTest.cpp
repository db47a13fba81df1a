#include "countries/XmlDocument.h"
#include "../support/TempDir.h"
#include "platform/ModulePath.h"

#include <functional>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/stat.h>

namespace {

std::vector<const CXmlElement*> Children(const CXmlElement& e) {
    std::vector<const CXmlElement*> r;
    for (const auto& c : e.m_children)
        r.push_back(c.get());
    return r;
}

// Runs fn on a thread with a small stack, so that recursion as deep as a nested document
// would crash instead of passing by luck.
void RunOnSmallStack(std::function<void()> fn) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 256 * 1024);
    pthread_t thread;
    auto body = [](void* p) -> void* {
        (*static_cast<std::function<void()>*>(p))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attr, body, &fn), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
}

class XmlLoad : public ::testing::Test {
protected:
    void SetUp() override { platform::SetModuleDirectoryOverride(m_dir.Path()); }
    void TearDown() override { platform::SetModuleDirectoryOverride(""); }
    TempDir m_dir;
};

} // namespace

TEST(XmlParse, DeclarationThenRootWithCountries) {
    CXmlDocument doc;
    const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                             "<Countries  version=\"2\" ><Country Name=\"A\" a=\"1\"/>"
                             "<Land Name=\"B\"></Land></Countries>";
    EXPECT_EQ(doc.Parse(text), 1);
    EXPECT_EQ(doc.m_strSource, text);
    EXPECT_EQ(doc.m_root.m_strName, "Countries");
    EXPECT_EQ(doc.m_root.m_strAttributes, "version=\"2\"");
    EXPECT_EQ(doc.m_root.m_strText, "");
    EXPECT_EQ(doc.m_root.m_pParent, nullptr);
    auto kids = Children(doc.m_root);
    ASSERT_EQ(kids.size(), 2u);
    EXPECT_EQ(kids[0]->m_strName, "Country");
    EXPECT_EQ(kids[0]->m_strAttributes, "Name=\"A\" a=\"1\"");
    EXPECT_EQ(kids[1]->m_strName, "Land");
    EXPECT_EQ(kids[0]->m_pParent, &doc.m_root);
    EXPECT_TRUE(kids[0]->m_children.empty());
    EXPECT_EQ(doc.m_pCurrent, &doc.m_root);

    // A second parse starts from nothing.
    doc.Parse("<Other/>");
    EXPECT_EQ(doc.m_root.m_strName, "Other");
    EXPECT_TRUE(doc.m_root.m_children.empty());
}

TEST(XmlParse, CommentsAreSkippedUntilTheirFirstGreaterThan) {
    CXmlDocument doc;
    doc.Parse("<r><a/><!-- between --><b/><!DOCTYPE x></r>");
    auto kids = Children(doc.m_root);
    ASSERT_EQ(kids.size(), 2u);
    EXPECT_EQ(kids[0]->m_strName, "a");
    EXPECT_EQ(kids[1]->m_strName, "b");
    EXPECT_EQ(doc.m_root.m_strText, "");

    // A ">" inside a comment ends it; the tail is text and its "-->" a stray ">".
    doc.Parse("<r><!-- x > y --></r>");
    kids = Children(doc.m_root);
    ASSERT_EQ(kids.size(), 1u);
    EXPECT_EQ(kids[0]->m_strName, "");
    EXPECT_EQ(kids[0]->m_strText, "y --");
    EXPECT_EQ(doc.m_root.m_strText, "");
}

TEST(XmlParse, TextBelongsToTheElementCurrentAtTheNextTag) {
    CXmlDocument doc;
    doc.Parse("  before  <r> lost <a>  leaf text  </a> middle <b/>  tail  </r>");
    EXPECT_EQ(doc.m_root.m_strText, "tail");
    auto kids = Children(doc.m_root);
    ASSERT_EQ(kids.size(), 2u);
    EXPECT_EQ(kids[0]->m_strText, "leaf text");
    EXPECT_EQ(kids[1]->m_strText, "");

    // Text before the first element stays with the root when nothing replaces it.
    doc.Parse("  before  <r/>");
    EXPECT_EQ(doc.m_root.m_strText, "before");
    EXPECT_EQ(doc.m_root.m_strName, "r");
}

TEST(XmlParse, StrayGreaterThanOpensAnEmptyNamedElement) {
    CXmlDocument doc;
    doc.Parse("<r>ab>cd</r><n/>");
    auto kids = Children(doc.m_root);
    ASSERT_EQ(kids.size(), 2u);
    EXPECT_EQ(kids[0]->m_strName, "");
    // Text gathers across the stray ">" until the next "<".
    EXPECT_EQ(kids[0]->m_strText, "abcd");
    EXPECT_EQ(kids[1]->m_strName, "n");

    // Before any element it leaves the root unnamed, so the next tag still names it.
    doc.Parse("x>y<r/>");
    EXPECT_EQ(doc.m_root.m_strName, "r");
    EXPECT_EQ(doc.m_root.m_strText, "xy");
    EXPECT_TRUE(doc.m_root.m_children.empty());
}

TEST(XmlParse, NoElementLeavesAnUnnamedChildlessRoot) {
    CXmlDocument doc;
    for (const char* text : {"", "just some text", "<!-- only a comment -->", "<?pi?>  "}) {
        EXPECT_EQ(doc.Parse(text), 1);
        EXPECT_EQ(doc.m_root.m_strName, "") << text;
        EXPECT_TRUE(doc.m_root.m_children.empty()) << text;
        EXPECT_EQ(doc.GetFirstChild(&doc.m_root), nullptr) << text;
        EXPECT_EQ(doc.GetNextChild(&doc.m_root), nullptr) << text;
    }
    doc.Parse("just some text");
    EXPECT_EQ(doc.m_root.m_strText, "");
    doc.Parse("just some text<");
    EXPECT_EQ(doc.m_root.m_strText, "just some text");
}

TEST(XmlParse, SelfClosingFirstElementBecomesTheRootOfTheRest) {
    CXmlDocument doc;
    doc.Parse("<c Name=\"A\" a=\"1\"/><c Name=\"B\"/><c Name=\"C\"/>");
    EXPECT_EQ(doc.m_root.m_strName, "c");
    EXPECT_EQ(doc.m_root.m_strAttributes, "Name=\"A\" a=\"1\"");
    auto kids = Children(doc.m_root);
    ASSERT_EQ(kids.size(), 2u);
    EXPECT_EQ(doc.GetAttribute(kids[0], "Name"), "B");
    EXPECT_EQ(doc.GetAttribute(kids[1], "Name"), "C");
    EXPECT_EQ(doc.m_pCurrent, &doc.m_root);
}

TEST(XmlParse, ClosingTagsEndTheCurrentElementWhateverTheirName) {
    CXmlDocument doc;
    doc.Parse("<r><a><b></x></y><n/></z></r>tail</r>");
    auto kids = Children(doc.m_root);
    ASSERT_EQ(kids.size(), 2u);
    EXPECT_EQ(kids[0]->m_strName, "a");
    ASSERT_EQ(kids[0]->m_children.size(), 1u);
    EXPECT_EQ(kids[0]->m_children[0]->m_strName, "b");
    EXPECT_EQ(kids[0]->m_children[0]->m_pParent, kids[0]);
    EXPECT_EQ(kids[1]->m_strName, "n");
    EXPECT_EQ(doc.m_root.m_strText, "tail");
    EXPECT_EQ(doc.m_pCurrent, &doc.m_root);
}

TEST(XmlParse, OddTagShapes) {
    CXmlDocument doc;
    // "</>" is self-closing with nothing to name it; "<>" opens an empty-named element.
    doc.Parse("<r></><>x</q><a<b c=\"1\">");
    auto kids = Children(doc.m_root);
    ASSERT_EQ(kids.size(), 3u);
    EXPECT_EQ(kids[0]->m_strName, "");
    EXPECT_TRUE(kids[0]->m_children.empty());
    EXPECT_EQ(kids[1]->m_strName, "");
    EXPECT_EQ(kids[1]->m_strText, "x");
    // A "<" inside a tag is dropped; the tag runs on to the next ">".
    EXPECT_EQ(kids[2]->m_strName, "ab");
    EXPECT_EQ(kids[2]->m_strAttributes, "c=\"1\"");

    // Blanks after the name are not part of it; a leading blank leaves the name empty.
    doc.Parse("<r><a   ></a>< b x=\"1\" /></r>");
    kids = Children(doc.m_root);
    ASSERT_EQ(kids.size(), 2u);
    EXPECT_EQ(kids[0]->m_strName, "a");
    EXPECT_EQ(kids[0]->m_strAttributes, "");
    EXPECT_EQ(kids[1]->m_strName, "");
    EXPECT_EQ(kids[1]->m_strAttributes, "b x=\"1\"");
    EXPECT_TRUE(kids[1]->m_children.empty());

    // A tag left open at the end of the text is dropped.
    doc.Parse("<r><a Name=\"x\"");
    EXPECT_EQ(doc.m_root.m_strName, "r");
    EXPECT_TRUE(doc.m_root.m_children.empty());
}

TEST(XmlParse, DeepNestingNeedsNoDeepStack) {
    RunOnSmallStack([] {
        const int depth = 200000;
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "<e>";
        {
            CXmlDocument doc;
            doc.Parse(text);
            int n = 0;
            for (const CXmlElement* p = doc.m_pCurrent; p->m_pParent; p = p->m_pParent)
                ++n;
            EXPECT_EQ(n, depth - 1);
            doc.Clear();
            EXPECT_TRUE(doc.m_root.m_children.empty());
            doc.Parse(text);
            doc.Parse(text); // the previous tree goes too
        }                    // and the destructor frees the last one
    });
}

TEST(XmlParse, BigInputIsReadCompletely) {
    std::string text = "<Countries>";
    const int countries = 200000;
    for (int i = 0; i < countries; ++i)
        text += "<Country Name=\"C" + std::to_string(i) + "\" a=\"0.5\" b=\"1\" c=\"2\"/>\n";
    text += "<Long>" + std::string(8 << 20, 'x') + "</Long></Countries>";
    CXmlDocument doc;
    doc.Parse(text);
    ASSERT_EQ(doc.m_root.m_children.size(), static_cast<std::size_t>(countries + 1));
    EXPECT_EQ(doc.GetAttribute(doc.m_root.m_children[countries - 1].get(), "Name"),
              "C" + std::to_string(countries - 1));
    EXPECT_EQ(doc.m_root.m_children.back()->m_strText.size(), std::size_t{8 << 20});

    // Unclosed tags that never end must not cost more than once over the text either.
    doc.Parse(std::string(4 << 20, '<') + ">");
    EXPECT_EQ(doc.m_root.m_strName, "");
}

TEST(XmlChildWalk, CursorPerElementSurvivesBetweenCalls) {
    CXmlDocument doc;
    doc.Parse("<r><a><x/><y/></a><b/></r>");
    CXmlElement* root = &doc.m_root;
    EXPECT_EQ(doc.GetNextChild(root), nullptr); // no walk begun yet
    CXmlElement* a = doc.GetFirstChild(root);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->m_strName, "a");
    // Walking a child's children leaves the root's cursor alone.
    CXmlElement* x = doc.GetFirstChild(a);
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->m_strName, "x");
    EXPECT_EQ(doc.GetFirstChild(x), nullptr);
    CXmlElement* b = doc.GetNextChild(root);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->m_strName, "b");
    EXPECT_EQ(doc.GetNextChild(a)->m_strName, "y");
    EXPECT_EQ(doc.GetNextChild(a), nullptr);
    EXPECT_EQ(doc.GetNextChild(root), nullptr);
    EXPECT_EQ(doc.GetNextChild(root), nullptr);
    EXPECT_EQ(doc.GetFirstChild(root), a); // a new walk starts over
    EXPECT_EQ(doc.GetFirstChild(nullptr), nullptr);
    EXPECT_EQ(doc.GetNextChild(nullptr), nullptr);

    doc.Clear();
    EXPECT_EQ(doc.GetNextChild(root), nullptr);
    EXPECT_EQ(doc.m_root.m_strName, "");
}

TEST(XmlAttribute, PlainTextSearch) {
    CXmlDocument doc;
    CXmlElement e;
    e.m_strAttributes = "Name=\"Qelland\" a=\"1.5\"";
    EXPECT_EQ(doc.GetAttribute(&e, "Name"), "Qelland");
    EXPECT_EQ(doc.GetAttribute(&e, "a"), "1.5");
    EXPECT_EQ(doc.GetAttribute(&e, "name"), ""); // case-sensitive
    EXPECT_EQ(doc.GetAttribute(&e, "b"), "");

    // The first "a=" stands at the end of "Data".
    e.m_strAttributes = "Data=\"5\" a=\"1\"";
    EXPECT_EQ(doc.GetAttribute(&e, "a"), "5");
    // Single quotes: one character skipped, no double quote to stop at.
    e.m_strAttributes = "Name='x'";
    EXPECT_EQ(doc.GetAttribute(&e, "Name"), "x'");
    // Blanks around "=" hide the attribute.
    e.m_strAttributes = "Name = \"Q\" a =\"1\"";
    EXPECT_EQ(doc.GetAttribute(&e, "Name"), "");
    EXPECT_EQ(doc.GetAttribute(&e, "a"), "");
    // The match may also sit inside a value.
    e.m_strAttributes = "Note='b=\"7\"' b=\"2\"";
    EXPECT_EQ(doc.GetAttribute(&e, "b"), "7");
    e.m_strAttributes = "a=\"unterminated";
    EXPECT_EQ(doc.GetAttribute(&e, "a"), "unterminated");
}

TEST(XmlAttribute, ValueAtTheVeryEndStaysInRange) {
    CXmlDocument doc;
    CXmlElement e;
    for (const char* attrs : {"a=", "a=\"", "x=\"1\" a=", "a=\"\""}) {
        e.m_strAttributes = attrs;
        EXPECT_EQ(doc.GetAttribute(&e, "a"), "") << attrs;
    }
    e.m_strAttributes = "a=1";
    EXPECT_EQ(doc.GetAttribute(&e, "a"), "");
    e.m_strAttributes = "a=12";
    EXPECT_EQ(doc.GetAttribute(&e, "a"), "2");
    EXPECT_EQ(doc.GetAttribute(nullptr, "a"), "");
}

TEST_F(XmlLoad, ReadsBesideTheExecutableAndDropsLineBreaksAndTabs) {
    TempDir::Write(m_dir.File("c.xml"), "<?xml version=\"1.0\"?>\r\n<r>\r\n"
                                        "\t<c Name=\"A\"\ta=\"1\"/>\n"
                                        "\t<c\tName=\"B\"/>\n"
                                        "\t<c>two\nlines</c>\n</r>\n");
    CXmlDocument doc;
    ASSERT_EQ(doc.Load("c.xml"), 1);
    EXPECT_EQ(doc.m_strSource.find_first_of("\r\n\t"), std::string::npos);
    EXPECT_EQ(doc.m_root.m_strName, "r");
    auto kids = Children(doc.m_root);
    ASSERT_EQ(kids.size(), 3u);
    // The tab vanished without a blank in its place.
    EXPECT_EQ(kids[0]->m_strAttributes, "Name=\"A\"a=\"1\"");
    EXPECT_EQ(doc.GetAttribute(kids[0], "a"), "1");
    EXPECT_EQ(kids[1]->m_strName, "cName=\"B\"");
    EXPECT_EQ(kids[1]->m_strAttributes, "");
    EXPECT_EQ(doc.GetAttribute(kids[1], "Name"), "");
    EXPECT_EQ(kids[2]->m_strText, "twolines");
}

TEST_F(XmlLoad, UnreadableFileReturnsZeroAndKeepsTheDocument) {
    CXmlDocument doc;
    doc.Parse("<r><c Name=\"Kept\"/></r>");
    EXPECT_EQ(doc.Load("missing.xml"), 0);
    ::mkdir(m_dir.File("folder.xml").c_str(), 0700);
    EXPECT_EQ(doc.Load("folder.xml"), 0);
    // A pipe with no writer would block a plain open or read forever.
    ASSERT_EQ(::mkfifo(m_dir.File("pipe.xml").c_str(), 0600), 0);
    EXPECT_EQ(doc.Load("pipe.xml"), 0);
    EXPECT_EQ(doc.m_root.m_strName, "r");
    ASSERT_EQ(doc.m_root.m_children.size(), 1u);
    EXPECT_EQ(doc.GetAttribute(doc.m_root.m_children[0].get(), "Name"), "Kept");
    EXPECT_EQ(doc.m_strSource, "<r><c Name=\"Kept\"/></r>");
}

TEST_F(XmlLoad, TextEndsAtTheFirstZeroByte) {
    const char raw[] = "<r><c Name=\"A\"/>\0<c Name=\"B\"/></r>";
    TempDir::Write(m_dir.File("z.xml"), std::string(raw, sizeof raw - 1));
    TempDir::Write(m_dir.File("empty.xml"), "");
    CXmlDocument doc;
    ASSERT_EQ(doc.Load("z.xml"), 1);
    EXPECT_EQ(doc.m_strSource, "<r><c Name=\"A\"/>");
    ASSERT_EQ(doc.m_root.m_children.size(), 1u);
    EXPECT_EQ(doc.GetAttribute(doc.m_root.m_children[0].get(), "Name"), "A");
    // An empty file is read: the document becomes empty.
    ASSERT_EQ(doc.Load("empty.xml"), 1);
    EXPECT_EQ(doc.m_root.m_strName, "");
    EXPECT_TRUE(doc.m_root.m_children.empty());
}
