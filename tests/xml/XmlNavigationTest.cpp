#include "XmlTestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

const char kProject[] = "<?xml version=\"1.0\"?>\r\n"
                        "<ProjectDetail TarvonSCPProjectVer=\"1.00\">\r\n"
                        "<ScriptURL>http://host/u?a=1&amp;b=2</ScriptURL>\r\n"
                        "<Files>\r\n"
                        "<File>a.txt</File>\r\n"
                        "<File x>b.txt</File>\r\n"
                        "</Files>\r\n"
                        "<Empty/>\r\n"
                        "<Blank></Blank>\r\n"
                        "</ProjectDetail>\r\n";

class XmlNavigation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc.Parse(kProject)); }

    CXmlDocument doc;
};

} // namespace

TEST_F(XmlNavigation, ReadsAProjectInOrder) {
    ASSERT_TRUE(doc.FindNext("ProjectDetail"));
    EXPECT_EQ(doc.CurrentPosition(), 1);
    EXPECT_EQ(doc.CurrentKind(), 1);
    EXPECT_EQ(doc.GetAttribute("TarvonSCPProjectVer"), "1.00");
    ASSERT_TRUE(doc.FindNextChild("ScriptURL"));
    EXPECT_EQ(doc.GetChildValue(), "http://host/u?a=1&b=2");
    ASSERT_TRUE(doc.FindNextChild("Files"));
    ASSERT_TRUE(doc.Descend());
    EXPECT_EQ(doc.CurrentKind(), 1);
    ASSERT_TRUE(doc.FindNextChild("File"));
    EXPECT_EQ(doc.GetChildValue(), "a.txt");
    ASSERT_TRUE(doc.FindNextChild("File"));
    EXPECT_EQ(doc.GetChildValue(), "b.txt");
    EXPECT_FALSE(doc.FindNextChild("File"));
    EXPECT_EQ(doc.GetChildValue(), "b.txt"); // a failed search keeps the position
}

TEST_F(XmlNavigation, DocumentLevelHoldsOnlyTheRoot) {
    EXPECT_FALSE(doc.FindNext("Files"));
    EXPECT_EQ(doc.CurrentPosition(), 0);
    ASSERT_TRUE(doc.FindNext());
    EXPECT_FALSE(doc.FindNext());
    EXPECT_EQ(doc.CurrentPosition(), 1);
}

TEST_F(XmlNavigation, NamesMatchWholeTokens) {
    ASSERT_TRUE(doc.FindNext());
    EXPECT_FALSE(doc.FindNextChild("File")); // "Files" is another name; "File" lies deeper
    EXPECT_EQ(doc.ChildPosition(), 0);
    ASSERT_TRUE(doc.FindNextChild("Files"));
    ASSERT_TRUE(doc.Descend());
    EXPECT_FALSE(doc.FindNextChild("Fil"));
    ASSERT_TRUE(doc.FindNextChild("File x")); // a name may continue after a space
    EXPECT_EQ(ElementText(doc, doc.ChildPosition()), "<File>a.txt</File>");
    ASSERT_TRUE(doc.FindNextChild("File"));
    EXPECT_EQ(ElementText(doc, doc.ChildPosition()), "<File x>b.txt</File>");
}

TEST_F(XmlNavigation, SearchesNeverGoBack) {
    ASSERT_TRUE(doc.FindNext());
    ASSERT_TRUE(doc.FindNextChild("Files"));
    const int files = doc.ChildPosition();
    EXPECT_FALSE(doc.FindNextChild("ScriptURL"));
    EXPECT_EQ(doc.ChildPosition(), files);
    ASSERT_TRUE(doc.FindNextChild("Empty"));
    EXPECT_FALSE(doc.FindNextChild("Files"));
    // FindNext at the document level clears the child position; the search starts over.
    ASSERT_TRUE(doc.Parse(kProject));
    ASSERT_TRUE(doc.FindNext());
    EXPECT_TRUE(doc.FindNextChild("ScriptURL"));
}

TEST_F(XmlNavigation, FindNextChildStartsAtTheFirstElement) {
    ASSERT_TRUE(doc.FindNextChild());
    EXPECT_EQ(doc.CurrentPosition(), 1);
    EXPECT_EQ(doc.ParentPosition(), 0);
    EXPECT_EQ(doc.ChildPosition(), 2);
}

TEST_F(XmlNavigation, DescendWithoutChildOpensTheLevelAtItsStart) {
    EXPECT_FALSE(doc.Descend()); // nothing current yet
    ASSERT_TRUE(doc.FindNext());
    ASSERT_TRUE(doc.Descend());
    EXPECT_EQ(doc.ParentPosition(), 1);
    EXPECT_EQ(doc.CurrentPosition(), 0);
    EXPECT_EQ(doc.CurrentKind(), 0);
    EXPECT_FALSE(doc.Descend());
    EXPECT_EQ(doc.GetAttribute("x"), "");
    ASSERT_TRUE(doc.FindNext("Files"));
    EXPECT_EQ(doc.CurrentPosition(), 3);
    EXPECT_EQ(doc.ParentPosition(), 1);
    EXPECT_EQ(doc.ChildPosition(), 0);
}

TEST_F(XmlNavigation, ValuesOfElementsWithoutText) {
    ASSERT_TRUE(doc.FindNext());
    EXPECT_EQ(doc.GetChildValue(), ""); // no child position: the document record
    ASSERT_TRUE(doc.FindNextChild("Files"));
    EXPECT_EQ(doc.GetChildValue(), ""); // has children
    ASSERT_TRUE(doc.FindNextChild("Empty"));
    EXPECT_EQ(doc.GetChildValue(), "");
    ASSERT_TRUE(doc.FindNextChild("Blank"));
    EXPECT_EQ(doc.GetChildValue(), "");
}

struct ValueCase {
    const char* label;
    const char* element;
    const char* value;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.label;
}

class XmlElementValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(XmlElementValue, Reads) {
    CXmlDocument doc;
    const std::string text = std::string("<r>") + GetParam().element + "</r>";
    ASSERT_TRUE(doc.Parse(text.c_str()));
    ASSERT_TRUE(doc.FindNext() && doc.FindNextChild());
    EXPECT_EQ(doc.GetChildValue(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    CDataAndReferences, XmlElementValue,
    ::testing::Values(
        ValueCase{"CDataTakenAsItStands", "<a>  <![CDATA[ a<b &amp; ]]>  </a>", " a<b &amp; "},
        ValueCase{"CDataAfterLineBreak", "<a>\r\n<![CDATA[x]]>tail</a>", "x"},
        ValueCase{"EmptyCData", "<a> <![CDATA[]]> </a>", ""},
        ValueCase{"OnlyTheFirstCData", "<a><![CDATA[x]]>y<![CDATA[z]]></a>", "x"},
        ValueCase{"CDataAfterText", "<a>x<![CDATA[y]]></a>", "x<![CDATA[y]]>"},
        ValueCase{"FiveReferencesOnly", "<b> x &amp; &lt;&#65;&foo; </b>", " x & <&#65;&foo; "},
        ValueCase{"AllFive", "<b>&lt;&amp;&gt;&apos;&quot;</b>", "<&>'\""},
        ValueCase{"ReferenceCutByTheEnd", "<b>a &amp</b>", "a &amp"},
        ValueCase{"DoubleEscaped", "<b>&amp;lt;</b>", "&lt;"},
        ValueCase{"Utf8Kept", "<b>gr\xC3\xBC\xC3\x9F &amp; \xE2\x82\xAC</b>",
                  "gr\xC3\xBC\xC3\x9F & \xE2\x82\xAC"},
        ValueCase{"LineBreaksKept", "<b>\r\n1\r\n</b>", "\r\n1\r\n"}),
    [](const auto& info) { return std::string(info.param.label); });

struct AttributeCase {
    const char* label;
    const char* element;
    const char* name;
    const char* value;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const AttributeCase& c, std::ostream* os) {
    *os << c.label;
}

class XmlAttribute : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(XmlAttribute, Reads) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.Parse(GetParam().element));
    ASSERT_TRUE(doc.FindNext());
    EXPECT_EQ(doc.GetAttribute(GetParam().name), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, XmlAttribute,
    ::testing::Values(AttributeCase{"DoubleQuotes", "<a n=\"v\"/>", "n", "v"},
                      AttributeCase{"SpacedSingleQuotes", "<a n = 'v'></a>", "n", "v"},
                      AttributeCase{"SingleQuotes", "<a n='v'/>", "n", "v"},
                      AttributeCase{"Unquoted", "<a n=v/>", "n", ""},
                      AttributeCase{"Missing", "<a m='v'/>", "n", ""},
                      AttributeCase{"PrefixIsNotTheName", "<a nn='v'/>", "n", ""},
                      AttributeCase{"TagNameIsNotAnAttribute", "<n x='1'/>", "n", ""},
                      AttributeCase{"SameAsTagName", "<a a='1'/>", "a", "1"},
                      AttributeCase{"ValueLooksLikeName", "<a x='y' y=\"2\"/>", "y", "2"},
                      AttributeCase{"FirstMatchOnly", "<a n='1' n='2'/>", "n", "1"},
                      AttributeCase{"AfterTheStartTag", "<a><b n='1'/></a>", "n", ""},
                      AttributeCase{"Decoded", "<a n='&apos;&lt;&quot;'/>", "n", "'<\""},
                      AttributeCase{"UnclosedQuote", "<a n='v>\r\n</a>", "n", "v>\r\n</a>"},
                      AttributeCase{"EmptyName", "<a n='v'/>", "", ""}),
    [](const auto& info) { return std::string(info.param.label); });
