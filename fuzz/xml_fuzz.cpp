// Fuzz target for CXmlDocument. The input up to its first NUL is parsed as a document, walked,
// edited and checked against its own text after every step; a second document is then built
// from nothing and must parse back to the same index. The bytes after the first NUL steer the
// operations; when they run out, a generator seeded from the text takes over, so that plain
// XML files serve as seeds.

#include "xml/XmlDocument.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using Record = CXmlDocument::ElementRecord;

// Enough steps per document to reach deep edits while keeping one execution short.
constexpr int kStepsPerDocument = 40;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "xml_fuzz: check failed: %s\n", what);
        std::abort();
    }
}

// The decisions of one run: the steering bytes first, then a generator seeded by the text.
class Choices {
public:
    Choices(const uint8_t* bytes, size_t count, const std::string& text)
        : m_next(bytes), m_left(count), m_state(1469598103934665603ULL) {
        for (unsigned char c : text)
            m_state = (m_state ^ c) * 1099511628211ULL;
        m_state |= 1;
    }

    // A number in 0 .. bound - 1 (0 when bound is not positive).
    int Below(int bound) {
        if (bound <= 0)
            return 0;
        const uint32_t wide = bound > 256 ? (Byte() << 8 | Byte()) : Byte();
        return static_cast<int>(wide % static_cast<uint32_t>(bound));
    }

private:
    uint32_t Byte() {
        if (m_left > 0) {
            --m_left;
            return *m_next++;
        }
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return static_cast<uint32_t>(m_state >> 56);
    }

    const uint8_t* m_next;
    size_t m_left;
    uint64_t m_state;
};

// A text argument that may also be absent (a null pointer).
struct Argument {
    bool absent = false;
    std::string text;
    const char* Get() const { return absent ? nullptr : text.c_str(); }
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsDelimiter(char c) {
    return c != '\0' && std::strchr(" \t\n\r<>=\\/?!", c) != nullptr;
}

// One token of a tag: a quoted string (bounds without the quotes) or a run up to a delimiter.
struct TagToken {
    size_t start = 0;
    size_t end = 0; // one past the last character
    bool quoted = false;
};

// Reads the token at or after `at` by the tokenizer rules; false at the end of the text.
bool NextTagToken(const std::string& text, size_t& at, TagToken& token) {
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    if (at >= text.size())
        return false;
    const char first = text[at];
    if (first == '"' || first == '\'') {
        const size_t close = std::min(text.find(first, at + 1), text.size());
        token = {at + 1, close, true};
        at = std::min(close + 1, text.size());
        return true;
    }
    size_t end = at;
    while (end < text.size() && !IsDelimiter(text[end]))
        ++end;
    token = {at, end == at ? end + 1 : end, false};
    at = token.end;
    return true;
}

// The tag name of the element whose '<' stands at open: the first token after it.
std::string TagNameAt(const std::string& text, size_t open) {
    size_t at = open + 1;
    TagToken token;
    if (!NextTagToken(text, at, token) || token.quoted)
        return {};
    return text.substr(token.start, token.end - token.start);
}

// A tag name matches a searched name that begins with it and goes on with nothing or " =/[".
bool NameMatches(const std::string& tagName, const char* name) {
    if (std::strncmp(name, tagName.c_str(), tagName.size()) != 0)
        return false;
    const char after = name[tagName.size()];
    return after == '\0' || std::strchr(" =/[", after) != nullptr;
}

// The quoted value of an attribute of the start tag at open: the first unquoted token after
// the tag name that matches the name marks it, and the quoted token two further is its value.
bool FindAttributeValue(const std::string& text, size_t open, const char* name, TagToken& value) {
    size_t at = open + 1;
    int marked = -1;
    for (int count = 0; NextTagToken(text, at, value); ++count) {
        if (value.quoted) {
            if (marked >= 0 && count == marked + 2)
                return true;
            continue;
        }
        const std::string token = text.substr(value.start, value.end - value.start);
        if (token == ">" || token == "/" || token == "?")
            return false;
        if (count > 0 && marked < 0 && token != "=" && NameMatches(token, name))
            marked = count;
    }
    return false;
}

// True when offset lies within a quoted string of the start tag at open (the closing quote
// included): a new attribute written there would become part of that value.
bool WithinQuotes(const std::string& text, size_t open, size_t offset) {
    size_t at = open + 1;
    TagToken token;
    while (NextTagToken(text, at, token) && token.start <= offset)
        if (token.quoted && offset <= token.end)
            return true;
    return false;
}

char NextNonSpace(const std::string& text, size_t offset) {
    while (offset < text.size() && IsSpace(text[offset]))
        ++offset;
    return offset < text.size() ? text[offset] : '\0';
}

// The content from..to (exclusive) with the five references decoded; others stay as they are.
std::string Decoded(const std::string& text, size_t from, size_t to) {
    static const char* const names[] = {"lt;", "amp;", "gt;", "apos;", "quot;"};
    static const char characters[] = "<&>'\"";
    std::string out;
    for (size_t at = from; at < to;) {
        const char c = text[at++];
        int reference = -1;
        for (int i = 0; c == '&' && reference < 0 && i < 5; ++i) {
            const size_t length = std::strlen(names[i]);
            if (at + length <= to && text.compare(at, length, names[i]) == 0)
                reference = i;
        }
        if (reference < 0) {
            out += c;
            continue;
        }
        out += characters[reference];
        at += std::strlen(names[reference]);
    }
    return out;
}

// The value of an element without children: a CDATA section after optional white space as it
// stands, or else the whole content decoded.
std::string ExpectedValue(const std::string& text, const Record& r) {
    const size_t from = r.startTagClose + 1;
    const size_t to = r.endTagOpen;
    size_t at = from;
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    if (at + 11 < to && text.compare(at, 9, "<![CDATA[") == 0) {
        const size_t close = text.find("]]>", at + 9);
        if (close < to)
            return text.substr(at + 9, close - at - 9);
    }
    return Decoded(text, from, to);
}

// The elements in document order, reached through the links without recursion; a bad link,
// a wrong parent, a record reached twice or a record in use that is not reached all fail.
std::vector<int> DocumentOrder(const CXmlDocument& doc) {
    const int used = doc.RecordsUsed();
    Check(used >= 1 && used <= doc.RecordCapacity(), "records in use fit the index");
    std::vector<char> seen(used, 0);
    std::vector<int> order;
    std::vector<std::pair<int, int>> pending; // record, the parent it was reached from
    auto push = [&](int index, int parent) {
        if (index == 0)
            return;
        Check(index > 0 && index < used, "links point at records in use");
        pending.emplace_back(index, parent);
    };
    push(doc.Record(0).firstChild, 0);
    while (!pending.empty()) {
        const auto [index, parent] = pending.back();
        pending.pop_back();
        Check(!seen[index], "no record is reached twice (no link cycle)");
        seen[index] = 1;
        Check(doc.Record(index).parent == parent, "parent field names the linking element");
        order.push_back(index);
        push(doc.Record(index).nextSibling, parent);
        push(doc.Record(index).firstChild, index);
    }
    Check(order.size() == static_cast<size_t>(used - 1), "every record in use is in the tree");
    return order;
}

// The offsets of one element against the characters of the text and against its neighbours.
void CheckElement(const CXmlDocument& doc, const std::string& text, int index) {
    const Record& r = doc.Record(index);
    const int32_t size = static_cast<int32_t>(text.size());
    Check(0 <= r.startTagOpen && r.startTagOpen < r.startTagClose && r.elementClose < size,
          "element offsets lie inside the text");
    Check(text[r.startTagOpen] == '<', "startTagOpen is on '<'");
    Check(text[r.startTagClose] == '>', "startTagClose is on '>'");
    Check(text[r.elementClose] == '>', "elementClose is on '>'");
    if (r.startTagClose == r.endTagOpen + 1) {
        Check(r.elementClose == r.startTagClose, "an empty element closes at its one '>'");
        Check(text[r.endTagOpen] == '/', "an empty element's endTagOpen is on '/'");
        Check(r.firstChild == 0, "an empty element has no children");
    } else {
        Check(r.startTagClose < r.endTagOpen && r.endTagOpen < r.elementClose,
              "the end tag follows the start tag");
        Check(text[r.endTagOpen] == '<' && NextNonSpace(text, r.endTagOpen + 1) == '/',
              "endTagOpen is on the '<' of '</'");
    }
    if (r.parent != 0) {
        const Record& parent = doc.Record(r.parent);
        Check(parent.startTagClose < r.startTagOpen && r.elementClose < parent.endTagOpen,
              "a child lies inside its parent's content");
    }
    if (r.nextSibling != 0)
        Check(r.elementClose < doc.Record(r.nextSibling).startTagOpen,
              "siblings follow each other in the text");
}

// The index checked whole; returns it in a numbering-free form (document order, parent by
// its place in that order) so that two indexes of the same text can be compared.
std::vector<std::array<int32_t, 5>> CheckIndex(const CXmlDocument& doc, const std::string& text) {
    const std::vector<int> order = DocumentOrder(doc);
    std::vector<int32_t> place(doc.RecordsUsed(), -1);
    std::vector<std::array<int32_t, 5>> canonical;
    int32_t previousOpen = -1;
    for (int index : order) {
        CheckElement(doc, text, index);
        const Record& r = doc.Record(index);
        Check(previousOpen < r.startTagOpen, "document order follows the text");
        previousOpen = r.startTagOpen;
        place[index] = static_cast<int32_t>(canonical.size());
        canonical.push_back(
            {r.startTagOpen, r.startTagClose, r.endTagOpen, r.elementClose, place[r.parent]});
    }
    return canonical;
}

struct Positions {
    int parent = 0;
    int current = 0;
    int child = 0;
    int kind = 0;
};

// Drives one document through random calls and predicts every result from the index alone.
class Exerciser {
public:
    // built: the document was made by this class's edits only, so its tags are all well formed.
    Exerciser(CXmlDocument& doc, Choices& choices, bool built)
        : m_doc(doc), m_choices(choices), m_built(built), m_text(doc.GetDocumentText()) {
        m_expected = {doc.ParentPosition(), doc.CurrentPosition(), doc.ChildPosition(),
                      doc.CurrentKind()};
    }

    // Walks down the last-child line of the tree, reading every child on the way.
    void WalkSpine() {
        FindNext(Argument{true, {}});
        for (int depth = 0; depth < m_doc.RecordsUsed(); ++depth) {
            while (FindNextChild(Argument{true, {}}))
                ReadChildValue();
            if (!Descend() || m_expected.current == 0)
                return;
        }
        Check(false, "the walk down ends within the number of records");
    }

    void RunRandomSteps(int count) {
        for (int step = 0; step < count; ++step)
            RunRandomStep();
    }

    const std::string& Text() const { return m_text; }

    bool AppendElement(const Argument& name, const Argument& value) {
        return Append(false, name, value);
    }

private:
    void RunRandomStep() {
        switch (m_choices.Below(8)) {
        case 0:
            FindNext(SearchName());
            break;
        case 1:
            FindNextChild(SearchName());
            break;
        case 2:
            Descend();
            break;
        case 3:
            ReadChildValue();
            break;
        case 4:
            ReadAttribute();
            break;
        case 5:
            SetAttribute();
            break;
        case 6:
            Append(false, EditName(), EditValue());
            break;
        default:
            Append(true, EditName(), EditValue());
            break;
        }
    }

    int Match(int parent, int after, const char* name) const {
        int candidate =
            after != 0 ? m_doc.Record(after).nextSibling : m_doc.Record(parent).firstChild;
        for (; candidate != 0; candidate = m_doc.Record(candidate).nextSibling) {
            if (name == nullptr || *name == '\0' ||
                NameMatches(TagNameAt(m_text, m_doc.Record(candidate).startTagOpen), name))
                return candidate;
        }
        return 0;
    }

    bool FindNext(const Argument& name) {
        const int found = Match(m_expected.parent, m_expected.current, name.Get());
        if (found != 0)
            m_expected = {m_doc.Record(found).parent, found, 0, 1};
        Check(m_doc.FindNext(name.Get()) == (found != 0), "FindNext finds the predicted element");
        ExpectPositions("FindNext");
        return found != 0;
    }

    bool FindNextChild(const Argument& name) {
        if (m_expected.current == 0) {
            const int first = Match(m_expected.parent, 0, nullptr);
            if (first != 0)
                m_expected = {m_doc.Record(first).parent, first, 0, 1};
        }
        const int found = Match(m_expected.current, m_expected.child, name.Get());
        if (found != 0) {
            const int current = m_doc.Record(found).parent;
            m_expected = {m_doc.Record(current).parent, current, found, current != 0 ? 1 : 0};
        }
        Check(m_doc.FindNextChild(name.Get()) == (found != 0),
              "FindNextChild finds the predicted child");
        ExpectPositions("FindNextChild");
        return found != 0;
    }

    bool Descend() {
        const bool possible = m_expected.current != 0 && m_expected.kind == 1;
        if (possible)
            m_expected = {m_expected.current, m_expected.child, 0, m_expected.child != 0 ? 1 : 0};
        Check(m_doc.Descend() == possible, "Descend succeeds exactly with a current element");
        ExpectPositions("Descend");
        return possible;
    }

    void ReadChildValue() {
        const std::string value = m_doc.GetChildValue();
        ExpectUnchanged("GetChildValue");
        if (m_expected.child == 0) {
            Check(value.empty(), "no child position reads an empty value");
            return;
        }
        const Record& r = m_doc.Record(m_expected.child);
        if (r.firstChild != 0 || r.startTagClose == r.endTagOpen + 1) {
            Check(value.empty(), "an element with children or an empty element has no value");
            return;
        }
        Check(value == ExpectedValue(m_text, r), "a value reads by the decoding rules");
    }

    void ReadAttribute() {
        const Argument name = SearchName();
        if (name.absent)
            return;
        const std::string value = m_doc.GetAttribute(name.Get());
        ExpectUnchanged("GetAttribute");
        TagToken found;
        const bool present =
            m_expected.kind == 1 && !name.text.empty() &&
            FindAttributeValue(m_text, m_doc.Record(m_expected.current).startTagOpen, name.Get(),
                               found);
        Check(value == (present ? Decoded(m_text, found.start, found.end) : std::string()),
              "an attribute reads by the quoting and decoding rules");
    }

    void SetAttribute() {
        const Argument name = EditName();
        Argument value = EditValue();
        value.absent = false;
        const bool current = m_expected.current != 0 && m_expected.kind == 1;
        const std::string before = m_text;
        const size_t tagOpen = current ? m_doc.Record(m_expected.current).startTagOpen : 0;
        const size_t tailBefore = current ? StartTagEnd(m_expected.current) : 0;
        TagToken old;
        const bool present = current && FindAttributeValue(m_text, tagOpen, name.Get(), old);
        // A quoted value that runs past the tag's '>' cannot be replaced without breaking the
        // index, and a new attribute cannot go in where that '>' is quoted: both are refused.
        const bool possible = current && (present ? old.end <= tailBefore
                                                  : !WithinQuotes(m_text, tagOpen, tailBefore));
        Check(m_doc.SetAttribute(name.Get(), value.Get()) == possible,
              "SetAttribute succeeds exactly with a current element and a value it can replace");
        ExpectPositions("SetAttribute");
        if (!possible) {
            ExpectUnchanged("a refused SetAttribute");
            return;
        }
        Refresh();
        Check(m_text.compare(0, tagOpen, before, 0, tagOpen) == 0 &&
                  m_text.compare(StartTagEnd(m_expected.current), std::string::npos, before,
                                 tailBefore) == 0,
              "SetAttribute changes nothing outside the start tag");
        if (m_built || present)
            Check(m_doc.GetAttribute(name.Get()) == value.text, "a set attribute reads back");
    }

    bool Append(bool asChild, const Argument& name, const Argument& value) {
        const int parent = asChild ? m_expected.current : m_expected.parent;
        const int after = asChild ? m_expected.child : m_expected.current;
        const bool possible = (asChild ? m_expected.current != 0
                                       : !(parent == 0 && m_doc.Record(0).firstChild != 0)) &&
                              !(parent != 0 && OpensInsideQuotes(parent));
        const int predecessor = after != 0 ? after : LastChild(parent);
        const int fresh = m_doc.RecordsUsed();
        const bool done = asChild ? m_doc.AppendChild(name.Get(), value.Get())
                                  : m_doc.AppendElement(name.Get(), value.Get());
        Check(done == possible, "Append succeeds exactly where the position allows it");
        if (!done) {
            ExpectPositions("a refused append");
            ExpectUnchanged("a refused append");
            return false;
        }
        Check(m_doc.RecordsUsed() == fresh + 1, "an append adds one record");
        Refresh();
        Check(m_doc.Record(fresh).parent == parent, "the new element has the predicted parent");
        Check(predecessor != 0 ? m_doc.Record(predecessor).nextSibling == fresh
                               : m_doc.Record(parent).firstChild == fresh,
              "the new element follows its predecessor");
        CheckWrittenElement(fresh, name.text, value.text);
        if (asChild)
            m_expected = {m_expected.parent, m_expected.current, fresh, 1};
        else
            m_expected = {parent, fresh, 0, 1};
        ExpectPositions(asChild ? "AppendChild" : "AppendElement");
        if (asChild)
            Check(m_doc.GetChildValue() == value.text, "an appended value reads back");
        return true;
    }

    // The characters the class writes for a new element.
    void CheckWrittenElement(int index, const std::string& name, const std::string& value) {
        const Record& r = m_doc.Record(index);
        if (value.empty()) {
            Check(m_text.compare(r.startTagOpen, name.size() + 3, "<" + name + "/>") == 0,
                  "a new element without value is written <name/>");
        } else {
            Check(m_text.compare(r.startTagOpen, name.size() + 2, "<" + name + ">") == 0 &&
                      m_text.compare(r.endTagOpen, name.size() + 3, "</" + name + ">") == 0,
                  "a new element with a value is written <name>value</name>");
        }
        Check(m_text.compare(r.elementClose + 1, 2, "\r\n") == 0, "a new element ends its line");
    }

    // A parent written "<p/>" or "<p></p>" is opened up at its '/' or '>'; within a quoted value
    // of its start tag that would write into the value, so the append is refused.
    bool OpensInsideQuotes(int parent) const {
        const Record& r = m_doc.Record(parent);
        if (r.startTagClose == r.endTagOpen + 1)
            return WithinQuotes(m_text, r.startTagOpen, r.endTagOpen);
        return r.startTagClose + 1 == r.endTagOpen &&
               WithinQuotes(m_text, r.startTagOpen, r.startTagClose);
    }

    // Where the start tag's own characters end: its '>', or the '/' of "/>".
    size_t StartTagEnd(int index) const {
        const Record& r = m_doc.Record(index);
        return r.startTagClose == r.endTagOpen + 1 ? r.endTagOpen : r.startTagClose;
    }

    int LastChild(int parent) const {
        int last = 0;
        for (int child = m_doc.Record(parent).firstChild; child != 0;
             child = m_doc.Record(child).nextSibling)
            last = child;
        return last;
    }

    void Refresh() {
        m_text = m_doc.GetDocumentText();
        CheckIndex(m_doc, m_text);
    }

    void ExpectPositions(const char* operation) const {
        const bool same = m_doc.ParentPosition() == m_expected.parent &&
                          m_doc.CurrentPosition() == m_expected.current &&
                          m_doc.ChildPosition() == m_expected.child &&
                          m_doc.CurrentKind() == m_expected.kind;
        if (!same)
            std::fprintf(stderr, "after %s: expected %d/%d/%d/%d, have %d/%d/%d/%d\n", operation,
                         m_expected.parent, m_expected.current, m_expected.child, m_expected.kind,
                         m_doc.ParentPosition(), m_doc.CurrentPosition(), m_doc.ChildPosition(),
                         m_doc.CurrentKind());
        Check(same, "positions follow the navigation rules");
    }

    void ExpectUnchanged(const char* operation) const {
        ExpectPositions(operation);
        Check(m_doc.GetDocumentText() == m_text, "reads and refusals leave the text alone");
    }

    // A searched name: absent, empty, the tag name of some element or a made-up one, with
    // sometimes a tail that the name rules accept (" x", "=", "/", "[") or refuse ("s").
    Argument SearchName() {
        const int kind = m_choices.Below(4);
        if (kind == 0)
            return Argument{true, {}};
        if (kind == 1)
            return Argument{};
        Argument name = EditName();
        if (kind == 2 && m_doc.RecordsUsed() > 1) {
            const int index = 1 + m_choices.Below(m_doc.RecordsUsed() - 1);
            name.text = TagNameAt(m_text, m_doc.Record(index).startTagOpen);
        }
        static const char* const tails[] = {"", "", "", "s", " x", "=", "/", "["};
        name.text += tails[m_choices.Below(8)];
        return name;
    }

    // A short name from few letters, so that searches and attributes meet again.
    Argument EditName() {
        Argument name;
        const int length = 1 + m_choices.Below(3);
        for (int i = 0; i < length; ++i)
            name.text += static_cast<char>('a' + m_choices.Below(4));
        return name;
    }

    // Absent, empty, or a few characters rich in what needs escaping.
    Argument EditValue() {
        static const char alphabet[] = "ab1 <>&'\";]\r\n\t\xe9";
        const int kind = m_choices.Below(4);
        if (kind == 0)
            return Argument{true, {}};
        Argument value;
        const int length = kind == 1 ? 0 : m_choices.Below(12);
        for (int i = 0; i < length; ++i)
            value.text += alphabet[m_choices.Below(sizeof alphabet - 1)];
        if (kind == 3)
            value.text += "&lt;";
        return value;
    }

    CXmlDocument& m_doc;
    Choices& m_choices;
    const bool m_built;
    std::string m_text;
    Positions m_expected;
};

// Parsing leaves the text as given, all positions at 0 and, on failure, no root.
void CheckParsed(const CXmlDocument& doc, const std::string& text, bool parsed) {
    Check(doc.GetDocumentText() == text, "the document holds the parsed text");
    Check(doc.ParentPosition() == 0 && doc.CurrentPosition() == 0 && doc.ChildPosition() == 0 &&
              doc.CurrentKind() == 0,
          "parsing resets the positions");
    Check(static_cast<size_t>(doc.RecordCapacity()) >= text.size() / 64 + 8,
          "the index is sized ahead from the text length");
    Check(parsed == (doc.Record(0).firstChild != 0), "a parse succeeds exactly with a root");
    if (!parsed)
        Check(doc.RecordsUsed() == 1, "a failed parse leaves no records in use");
    if (text.empty())
        Check(!parsed, "an empty text has no root");
}

// The input document: parsed, walked, edited, and parsed again from its original text.
void ExerciseParsed(const std::string& text, Choices& choices) {
    CXmlDocument doc;
    const bool parsed = doc.Parse(text.c_str());
    CheckParsed(doc, text, parsed);
    if (parsed)
        Check(doc.LastError().empty(), "a successful parse sets no error text");
    const auto index = CheckIndex(doc, text);

    Exerciser exerciser(doc, choices, false);
    exerciser.WalkSpine();
    exerciser.RunRandomSteps(kStepsPerDocument);

    const int capacity = doc.RecordCapacity();
    Check(doc.Parse(text.c_str()) == parsed, "parsing the same text again gives the same result");
    CheckParsed(doc, text, parsed);
    Check(doc.RecordCapacity() >= capacity, "the index never shrinks");
    Check(CheckIndex(doc, text) == index, "parsing the same text again gives the same index");
}

// A document built from nothing must parse back to the index its edits kept.
void ExerciseBuilt(Choices& choices) {
    CXmlDocument doc;
    Exerciser exerciser(doc, choices, true);
    Check(exerciser.AppendElement(Argument{false, "r"}, Argument{true, {}}),
          "a new document takes a root element");
    exerciser.RunRandomSteps(kStepsPerDocument);

    const std::string& text = exerciser.Text();
    const auto built = CheckIndex(doc, text);
    CXmlDocument reparsed;
    Check(reparsed.Parse(text.c_str()), "a built document parses");
    Check(CheckIndex(reparsed, text) == built, "a built document parses back to the same index");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t* const end = data + size;
    const uint8_t* const nul = std::find(data, end, 0);
    const std::string text(data, nul);
    Choices choices(nul == end ? end : nul + 1, nul == end ? 0 : end - nul - 1, text);
    ExerciseParsed(text, choices);
    ExerciseBuilt(choices);
    return 0;
}
