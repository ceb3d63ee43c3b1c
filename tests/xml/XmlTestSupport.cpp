#include "XmlTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The element after `index` in document order, 0 at the end; a loop, so any depth is fine.
int NextInDocumentOrder(const CXmlDocument& document, int index) {
    if (document.Record(index).firstChild != 0)
        return document.Record(index).firstChild;
    for (; index != 0; index = document.Record(index).parent)
        if (document.Record(index).nextSibling != 0)
            return document.Record(index).nextSibling;
    return 0;
}

bool SameOffsets(const CXmlDocument::ElementRecord& a, const CXmlDocument::ElementRecord& b) {
    return a.startTagOpen == b.startTagOpen && a.startTagClose == b.startTagClose &&
           a.endTagOpen == b.endTagOpen && a.elementClose == b.elementClose;
}

} // namespace

void ExpectIndexSound(const CXmlDocument& document) {
    const std::string text = document.GetDocumentText();
    const int length = static_cast<int>(text.size());
    const int used = document.RecordsUsed();
    for (int i = 1; i < used; ++i) {
        const CXmlDocument::ElementRecord& r = document.Record(i);
        ASSERT_TRUE(r.startTagOpen >= 0 && r.startTagOpen < r.startTagClose &&
                    r.startTagClose <= r.elementClose && r.endTagOpen < r.elementClose &&
                    r.elementClose < length)
            << "element " << i;
        ASSERT_EQ(text[r.startTagOpen], '<') << "element " << i;
        ASSERT_EQ(text[r.startTagClose], '>') << "element " << i;
        ASSERT_EQ(text[r.elementClose], '>') << "element " << i;
        ASSERT_TRUE(r.parent >= 0 && r.parent < used && r.firstChild >= 0 && r.firstChild < used &&
                    r.nextSibling >= 0 && r.nextSibling < used)
            << "element " << i;
        if (r.parent != 0) {
            const CXmlDocument::ElementRecord& parent = document.Record(r.parent);
            ASSERT_TRUE(r.startTagOpen > parent.startTagClose && r.elementClose < parent.endTagOpen)
                << "element " << i << " outside its parent";
        }
    }
    std::vector<int> reached(used, 0);
    for (int parent = 0; parent < used; ++parent) {
        for (int child = document.Record(parent).firstChild; child != 0;
             child = document.Record(child).nextSibling) {
            ASSERT_EQ(document.Record(child).parent, parent);
            ASSERT_EQ(reached[child]++, 0) << "element " << child << " linked twice";
        }
    }
}

void ExpectReparsesToSameIndex(const CXmlDocument& document) {
    CXmlDocument reparsed;
    ASSERT_TRUE(reparsed.Parse(document.GetDocumentText().c_str()));
    ASSERT_EQ(reparsed.RecordsUsed(), document.RecordsUsed());
    int a = document.Record(0).firstChild;
    int b = reparsed.Record(0).firstChild;
    for (; a != 0 && b != 0;
         a = NextInDocumentOrder(document, a), b = NextInDocumentOrder(reparsed, b)) {
        ASSERT_TRUE(SameOffsets(document.Record(a), reparsed.Record(b)))
            << "element " << a << " of the built document, " << b << " of the parsed one";
        ASSERT_EQ(document.Record(a).firstChild == 0, reparsed.Record(b).firstChild == 0);
    }
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
}

std::string ElementText(const CXmlDocument& document, int index) {
    const CXmlDocument::ElementRecord& r = document.Record(index);
    return document.GetDocumentText().substr(r.startTagOpen, r.elementClose - r.startTagOpen + 1);
}
