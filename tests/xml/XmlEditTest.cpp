#include "XmlTestSupport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

const char kEightLines[] = "<r v=\"1 &amp; &apos;2&apos;\">\r\n"
                           "<a>x&lt;y</a>\r\n"
                           "<b/>\r\n"
                           "<c>\r\n"
                           "<d>1</d>\r\n"
                           "<d>2</d>\r\n"
                           "</c>\r\n"
                           "</r>\r\n";

void BuildEightLines(CXmlDocument& doc) {
    ASSERT_TRUE(doc.AppendElement("r"));
    ASSERT_TRUE(doc.SetAttribute("v", "1 & '2'"));
    ASSERT_TRUE(doc.AppendChild("a", "x<y"));
    ASSERT_TRUE(doc.AppendChild("b", ""));
    ASSERT_TRUE(doc.AppendChild("c"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.AppendChild("d", "1"));
    ASSERT_TRUE(doc.AppendChild("d", "2"));
}

bool SameRecord(const CXmlDocument::ElementRecord& a, const CXmlDocument::ElementRecord& b) {
    return a.startTagOpen == b.startTagOpen && a.startTagClose == b.startTagClose &&
           a.endTagOpen == b.endTagOpen && a.elementClose == b.elementClose &&
           a.parent == b.parent && a.firstChild == b.firstChild && a.nextSibling == b.nextSibling;
}

} // namespace

TEST(XmlBuild, EightLineExampleByteForByte) {
    CXmlDocument doc;
    BuildEightLines(doc);
    EXPECT_EQ(doc.GetDocumentText(), kEightLines);
    EXPECT_EQ(doc.ParentPosition(), 1);
    EXPECT_EQ(doc.CurrentPosition(), 4);
    EXPECT_EQ(doc.ChildPosition(), 6);
    EXPECT_EQ(doc.Record(0).endTagOpen, static_cast<int>(sizeof(kEightLines) - 1));
    ExpectIndexSound(doc);
    // Built in document order, so even the record numbers and links agree with a parse.
    CXmlDocument parsed;
    ASSERT_TRUE(parsed.Parse(doc.GetDocumentText().c_str()));
    ASSERT_EQ(parsed.RecordsUsed(), doc.RecordsUsed());
    EXPECT_EQ(parsed.Record(0).firstChild, doc.Record(0).firstChild);
    for (int i = 1; i < doc.RecordsUsed(); ++i)
        EXPECT_TRUE(SameRecord(doc.Record(i), parsed.Record(i))) << "record " << i;
}

TEST(XmlBuild, EightLineExampleReadsBack) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.Parse(kEightLines));
    ASSERT_TRUE(doc.FindNext("r"));
    EXPECT_EQ(doc.GetAttribute("v"), "1 & '2'");
    ASSERT_TRUE(doc.FindNextChild("a"));
    EXPECT_EQ(doc.GetChildValue(), "x<y");
    ASSERT_TRUE(doc.FindNextChild("b"));
    EXPECT_EQ(doc.GetChildValue(), "");
    EXPECT_FALSE(doc.FindNextChild("a")); // a stands before b
    ASSERT_TRUE(doc.FindNextChild("c"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.FindNextChild("d"));
    EXPECT_EQ(doc.GetChildValue(), "1");
    ASSERT_TRUE(doc.FindNextChild("d"));
    EXPECT_EQ(doc.GetChildValue(), "2");
    EXPECT_FALSE(doc.FindNextChild("d"));
}

TEST(XmlBuild, OneRootPerDocument) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.AppendElement("root"));
    EXPECT_EQ(doc.GetDocumentText(), "<root/>\r\n");
    EXPECT_EQ(doc.Record(1).startTagOpen, 0);
    EXPECT_FALSE(doc.AppendElement("second"));
    EXPECT_EQ(doc.GetDocumentText(), "<root/>\r\n");
    EXPECT_EQ(doc.RecordsUsed(), 2);
}

TEST(XmlBuild, RefusesWithoutACurrentElementOrName) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.AppendChild("a"));
    EXPECT_FALSE(doc.SetAttribute("a", "1"));
    EXPECT_FALSE(doc.AppendElement(""));
    EXPECT_FALSE(doc.AppendElement(nullptr));
    ASSERT_TRUE(doc.AppendElement("r"));
    EXPECT_FALSE(doc.AppendChild(""));
    EXPECT_FALSE(doc.SetAttribute("", "1"));
    EXPECT_EQ(doc.GetDocumentText(), "<r/>\r\n");
}

TEST(XmlBuild, RootAfterAFailedParseGoesBehindTheKeptText) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.Parse("<a"));
    ASSERT_TRUE(doc.AppendElement("r", "1"));
    EXPECT_EQ(doc.GetDocumentText(), "<a<r>1</r>\r\n");
    EXPECT_EQ(doc.Record(1).startTagOpen, 2);
    ExpectIndexSound(doc);
}

TEST(XmlBuild, SiblingInsertedBetweenElementsShiftsTheRest) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.Parse("<r>\r\n<a/>\r\n<c>3</c>\r\n</r>\r\n"));
    ASSERT_TRUE(doc.FindNext() && doc.FindNextChild("a") && doc.Descend());
    ASSERT_TRUE(doc.AppendElement("b", "2"));
    EXPECT_EQ(doc.GetDocumentText(), "<r>\r\n<a/>\r\n<b>2</b>\r\n<c>3</c>\r\n</r>\r\n");
    ExpectIndexSound(doc);
    ExpectReparsesToSameIndex(doc);
    ASSERT_TRUE(doc.FindNext("c"));
    EXPECT_EQ(ElementText(doc, doc.CurrentPosition()), "<c>3</c>");
}

struct AppendCase {
    const char* label;
    const char* original;
    const char* after; // child to append behind, or nullptr for the end
    const char* value;
    const char* expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const AppendCase& c, std::ostream* os) {
    *os << c.label;
}

class XmlAppendChild : public ::testing::TestWithParam<AppendCase> {};

TEST_P(XmlAppendChild, WritesTheElementAndKeepsTheIndex) {
    const AppendCase& c = GetParam();
    CXmlDocument doc;
    ASSERT_TRUE(doc.Parse(c.original));
    ASSERT_TRUE(doc.FindNext());
    if (c.after != nullptr) {
        ASSERT_TRUE(doc.FindNextChild(c.after));
    }
    ASSERT_TRUE(doc.AppendChild("x", c.value));
    EXPECT_EQ(doc.GetDocumentText(), c.expected);
    EXPECT_EQ(doc.CurrentPosition(), 1);
    EXPECT_EQ(doc.CurrentKind(), 1);
    EXPECT_EQ(doc.GetChildValue(), c.value != nullptr ? c.value : "");
    ExpectIndexSound(doc);
    ExpectReparsesToSameIndex(doc);
}

INSTANTIATE_TEST_SUITE_P(
    Places, XmlAppendChild,
    ::testing::Values(
        AppendCase{"IntoEmptyElement", "<p/>", nullptr, "1", "<p>\r\n<x>1</x>\r\n</p>"},
        AppendCase{"IntoEmptyElementWithAttribute", "<p a='1' />tail", nullptr, nullptr,
                   "<p a='1' >\r\n<x/>\r\n</p>tail"},
        AppendCase{"IntoNoContent", "<p></p>", nullptr, nullptr, "<p>\r\n<x/>\r\n</p>"},
        AppendCase{"IntoText", "<r>hello</r>", nullptr, "1", "<r>hello<x>1</x>\r\n</r>"},
        AppendCase{"AtTheEnd", "<r>\r\n<a/>\r\n</r>", nullptr, "2",
                   "<r>\r\n<a/>\r\n<x>2</x>\r\n</r>"},
        AppendCase{"BehindChildFollowedByText", "<r>\r\n<a/>\r\ntail</r>", "a", "",
                   "<r>\r\n<a/><x/>\r\n\r\ntail</r>"},
        AppendCase{"BetweenChildren", "<r>\r\n<a/>\r\n<b>1</b>\r\n</r>", "a", "q",
                   "<r>\r\n<a/>\r\n<x>q</x>\r\n<b>1</b>\r\n</r>"},
        AppendCase{"EncodesContent", "<r/>", nullptr, "<a & b> 'q' \"w\"",
                   "<r>\r\n<x>&lt;a &amp; b&gt; 'q' \"w\"</x>\r\n</r>"}),
    [](const auto& info) { return std::string(info.param.label); });

// A parent written "<p/>" or "<p></p>" is opened up inside its start tag; where that '/' or '>'
// stands inside a quoted value, the new element would be written into the value.
TEST(XmlBuild, RefusesAChildWhereTheParentsTagEndIsQuoted) {
    for (const char* text : {"<a x='/>'>", "<a x='></a>'>"}) {
        CXmlDocument doc;
        ASSERT_TRUE(doc.Parse(text)) << text;
        ASSERT_TRUE(doc.FindNext());
        EXPECT_FALSE(doc.AppendChild("c", "1")) << text;
        ASSERT_TRUE(doc.Descend());
        EXPECT_FALSE(doc.AppendElement("c")) << text;
        EXPECT_EQ(doc.GetDocumentText(), text);
        EXPECT_EQ(doc.RecordsUsed(), 2);
    }
}

TEST(XmlSetAttribute, ReplacesInPlaceKeepingTheQuote) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.Parse("<r a='1' b=\"x\"/>"));
    ASSERT_TRUE(doc.FindNext());
    ASSERT_TRUE(doc.SetAttribute("a", "22"));
    EXPECT_EQ(doc.GetDocumentText(), "<r a='22' b=\"x\"/>");
    ASSERT_TRUE(doc.SetAttribute("b", ""));
    EXPECT_EQ(doc.GetDocumentText(), "<r a='22' b=\"\"/>");
    EXPECT_EQ(doc.CurrentPosition(), 1);
    ExpectIndexSound(doc);
    EXPECT_EQ(doc.Record(1).startTagClose, doc.Record(1).endTagOpen + 1);
}

TEST(XmlSetAttribute, AddsAtTheEndOfTheStartTag) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.Parse("<r x='1'>\r\n<c>t</c>\r\n</r>"));
    ASSERT_TRUE(doc.FindNext());
    ASSERT_TRUE(doc.SetAttribute("v", "<&>'\""));
    EXPECT_EQ(doc.GetDocumentText(),
              "<r x='1' v=\"&lt;&amp;&gt;&apos;&quot;\">\r\n<c>t</c>\r\n</r>");
    EXPECT_EQ(doc.GetAttribute("v"), "<&>'\"");
    ASSERT_TRUE(doc.FindNextChild("c"));
    EXPECT_EQ(doc.GetChildValue(), "t");
    ExpectIndexSound(doc);
    ExpectReparsesToSameIndex(doc);
}

TEST(XmlSetAttribute, OnAChildShiftsWhatFollows) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.Parse("<r><a><b/></a><c/></r>"));
    ASSERT_TRUE(doc.FindNext() && doc.FindNextChild("a") && doc.Descend());
    ASSERT_TRUE(doc.SetAttribute("n", "v"));
    EXPECT_EQ(doc.GetDocumentText(), "<r><a n=\"v\"><b/></a><c/></r>");
    ExpectIndexSound(doc);
    ExpectReparsesToSameIndex(doc);
}

// The start tag is indexed up to its first '>' (or the '/' before it); when that stands inside
// a quoted value, neither that value nor a new attribute can be written without corrupting it.
TEST(XmlSetAttribute, RefusesWhereTheStartTagEndIsQuoted) {
    for (const char* text : {"<a x=\"1>2\">t</a>", "<a x='/>' >t</a>", "<a x='/>'>"}) {
        CXmlDocument doc;
        ASSERT_TRUE(doc.Parse(text)) << text;
        ASSERT_TRUE(doc.FindNext());
        EXPECT_FALSE(doc.SetAttribute("x", "3")) << text;
        EXPECT_FALSE(doc.SetAttribute("y", "4")) << text;
        EXPECT_EQ(doc.GetDocumentText(), text);
    }
    CXmlDocument doc;
    ASSERT_TRUE(doc.Parse("<a x='1' z=\">\">t</a>"));
    ASSERT_TRUE(doc.FindNext());
    ASSERT_TRUE(doc.SetAttribute("x", "2")); // wholly before the quoted '>'
    EXPECT_EQ(doc.GetDocumentText(), "<a x='2' z=\">\">t</a>");
    ExpectIndexSound(doc);
}

TEST(XmlBuild, HundredThousandChildrenReparseToTheSameIndex) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.AppendElement("ProjectDetail"));
    ASSERT_TRUE(doc.AppendChild("Files"));
    ASSERT_TRUE(doc.Descend());
    for (int i = 0; i < 100000; ++i)
        ASSERT_TRUE(doc.AppendChild("File", ("C:\\data\\file" + std::to_string(i)).c_str()));
    EXPECT_EQ(doc.RecordsUsed(), 100003);
    ExpectIndexSound(doc);
    ExpectReparsesToSameIndex(doc);
}
