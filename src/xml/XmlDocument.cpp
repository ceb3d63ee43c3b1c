#include "xml/XmlDocument.h"

#include <algorithm>
#include <cstring>
#include <limits>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace {

// The one multibyte predicate: a lead byte and the trail byte after it form one character.
// On Windows the text is in the ANSI code page, which may be double-byte; on Linux it is UTF-8,
// where no byte of a multibyte character is ever one of our delimiters, so bytes are characters.
#ifdef _WIN32
bool IsLeadByte(unsigned char ch) {
    return IsDBCSLeadByte(ch) != FALSE;
}
constexpr bool kMayHaveLeadBytes = true;
#else
constexpr bool IsLeadByte(unsigned char) {
    return false;
}
constexpr bool kMayHaveLeadBytes = false;
#endif

// Character classes, one lookup per byte in the scanning loops.
enum CharClass : unsigned char {
    kSpace = 1,           // white space skipped between tokens: space, TAB, LF, CR
    kDelimiter = 2,       // ends an unquoted token: white space and < > = \ / ? !
    kEscapeContent = 4,   // written as a reference in element content: < & >
    kEscapeAttribute = 8, // written as a reference in attribute values: < & > ' "
};

struct CharClassTable {
    unsigned char flags[256] = {};

    constexpr CharClassTable() {
        Mark(" \t\n\r", kSpace);
        Mark(" \t\n\r<>=\\/?!", kDelimiter);
        Mark("<&>", kEscapeContent);
        Mark("<&>'\"", kEscapeAttribute);
    }
    constexpr void Mark(const char* set, unsigned char flag) {
        for (; *set != '\0'; ++set)
            flags[static_cast<unsigned char>(*set)] |= flag;
    }
    constexpr bool Is(char ch, unsigned char flag) const {
        return (flags[static_cast<unsigned char>(ch)] & flag) != 0;
    }
};

constexpr CharClassTable kChars;

// How far a scan looks byte by byte before it hands the rest to memchr.
constexpr int32_t kNearScanBytes = 8;

// Offsets are 32-bit, so a text must leave room for its own end offset.
constexpr size_t kMaxTextLength = static_cast<size_t>(std::numeric_limits<int32_t>::max());

const char kElementTagNotFound[] = "Element tag not found";
const char kAbruptEnd[] = "Abrupt end within tag";
const char kTagStartsWithQuote[] = "Tag starts with quote";
const char kInvalidNode[] = "Invalid node";
const char kEndOfTagNotFound[] = "End of tag not found";
const char kEndTagNotFound[] = "End tag of %s element not found";
const char kExpectingEndTag[] = "Expecting end tag of element %s";
const char kEndTagMismatch[] = "End tag does not correspond to %s";
const char kEndTagIncomplete[] = "End tag not completed for element %s";
const char kDocumentTooLarge[] = "Document too large";

// The five references the document writes and reads, in the order decoding tries them.
struct Reference {
    char ch;
    std::string_view name; // without the '&'
};
constexpr Reference kReferences[] = {
    {'<', "lt;"}, {'&', "amp;"}, {'>', "gt;"}, {'\'', "apos;"}, {'"', "quot;"}};

// Tag names are short: comparing them here costs less than a call of memcmp.
bool SameBytes(std::string_view name, const char* text) {
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] != text[i])
            return false;
    }
    return true;
}

std::string_view ReferenceName(char ch) {
    for (const Reference& reference : kReferences)
        if (reference.ch == ch)
            return reference.name;
    return {};
}

} // namespace

CXmlDocument::CXmlDocument() {
    Parse(nullptr);
}

CXmlDocument::~CXmlDocument() = default;

// ---------------------------------------------------------------------------------------------
// Scanners and tokenizer

inline bool CXmlDocument::FindChar(int32_t& offset, char ch, int32_t limit) const {
    if (offset >= limit)
        return false;
    const char* data = m_strText.data();
    if constexpr (!kMayHaveLeadBytes) {
        // Most looks end within a few bytes (the '<' after a line break): a call of memchr
        // would cost more than it saves there.
        const int32_t nearEnd = std::min(limit, offset + kNearScanBytes);
        for (; offset < nearEnd; ++offset) {
            if (data[offset] == ch)
                return true;
        }
        if (offset == limit)
            return false;
        const void* hit = std::memchr(data + offset, ch, static_cast<size_t>(limit - offset));
        offset =
            hit != nullptr ? static_cast<int32_t>(static_cast<const char*>(hit) - data) : limit;
        return hit != nullptr;
    }
    while (offset < limit && data[offset] != ch)
        offset += IsLeadByte(static_cast<unsigned char>(data[offset])) ? 2 : 1;
    offset = std::min(offset, limit);
    return offset < limit;
}

bool CXmlDocument::FindText(int32_t& offset, std::string_view marker, int32_t limit) const {
    const int32_t length = static_cast<int32_t>(marker.size());
    while (FindChar(offset, marker[0], limit)) {
        if (limit - offset >= length && m_strText.compare(offset, marker.size(), marker) == 0)
            return true;
        // The marker's first character is single-byte, so stepping one byte keeps alignment.
        ++offset;
    }
    return false;
}

inline bool CXmlDocument::SkipSpace(int32_t& offset) const {
    const int32_t length = TextLength();
    while (offset < length && kChars.Is(m_strText[offset], kSpace))
        ++offset;
    return offset < length;
}

bool CXmlDocument::NextToken(Token& token) const {
    const int32_t length = TextLength();
    const char* data = m_strText.data();
    token.quoted = false;
    int32_t pos = token.next;
    if (!SkipSpace(pos)) {
        token.start = token.end = token.next = length;
        return false;
    }
    const char first = data[pos];
    if (first == '"' || first == '\'') {
        token.quoted = true;
        token.start = pos + 1;
        int32_t close = token.start;
        const bool closed = FindChar(close, first, length);
        // An unclosed quote runs to the end; TokenText keeps such a token inside the text.
        token.end = closed ? close - 1 : length;
        token.next = closed ? close + 1 : length;
        return true;
    }
    token.start = pos;
    while (pos < length && !kChars.Is(data[pos], kDelimiter))
        pos += IsLeadByte(static_cast<unsigned char>(data[pos])) && pos + 1 < length ? 2 : 1;
    if (pos == token.start)
        ++pos; // the delimiter itself is the token
    token.end = pos - 1;
    token.next = pos;
    return true;
}

std::string_view CXmlDocument::TokenText(const Token& token) const {
    const int32_t end = std::min(token.end, TextLength() - 1);
    if (end < token.start)
        return {};
    return std::string_view(m_strText.data() + token.start,
                            static_cast<size_t>(end - token.start + 1));
}

bool CXmlDocument::TokenMatches(const Token& token, std::string_view name) const {
    const std::string_view text = TokenText(token);
    if (name.size() < text.size() || name.compare(0, text.size(), text) != 0)
        return false;
    if (name.size() == text.size())
        return true;
    const char after = name[text.size()];
    return after == ' ' || after == '=' || after == '/' || after == '[';
}

bool CXmlDocument::TokenIs(const Token& token, char ch) const {
    return !token.quoted && token.start < TextLength() && m_strText[token.start] == ch;
}

// ---------------------------------------------------------------------------------------------
// Index

void CXmlDocument::ResizeIndex(int32_t size) {
    const size_t wanted = static_cast<size_t>(size);
    if (wanted > m_nRecordsAllocated) {
        const size_t step = std::clamp<size_t>(static_cast<size_t>(m_nRecords) / 8, 4, 1024);
        const size_t allocated = std::max(wanted, m_nRecordsAllocated + step);
        std::unique_ptr<ElementRecord[]> grown(new ElementRecord[allocated]);
        std::copy_n(m_records.get(), m_nRecords, grown.get());
        m_records = std::move(grown);
        m_nRecordsAllocated = allocated;
    }
    m_nRecords = size;
}

inline int32_t CXmlDocument::NewRecord() {
    if (m_nUsed == RecordCapacity())
        ResizeIndex(m_nUsed + m_nUsed / 2);
    return m_nUsed++;
}

bool CXmlDocument::IsEmptyElement(int32_t index) const {
    return m_records[index].startTagClose == m_records[index].endTagOpen + 1;
}

bool CXmlDocument::HasNoContent(int32_t index) const {
    return m_records[index].startTagClose + 1 == m_records[index].endTagOpen;
}

int32_t CXmlDocument::LastChild(int32_t parent) const {
    int32_t last = m_records[parent].firstChild;
    while (last != 0 && m_records[last].nextSibling != 0)
        last = m_records[last].nextSibling;
    return last;
}

// ---------------------------------------------------------------------------------------------
// Parser

bool CXmlDocument::Parse(const char* text) {
    m_nUsed = 1;
    m_iParent = m_iCurrent = m_iChild = m_nCurrentKind = 0;
    const size_t length = text != nullptr ? std::strlen(text) : 0;
    if (length > kMaxTextLength) {
        // Refused before anything is copied or sized: the document becomes an empty one.
        m_strText.clear();
        m_records[0] = ElementRecord{};
        m_strLastError = kDocumentTooLarge;
        return false;
    }
    m_strText.assign(text != nullptr ? text : "", length);
    const int32_t wanted = static_cast<int32_t>(length / 64 + 8);
    if (RecordCapacity() < wanted)
        ResizeIndex(wanted);
    m_records[0] = ElementRecord{};
    bool indexed = false;
    if (length > 0) {
        const int32_t root = ParseDocument();
        if (root > 0) {
            m_records[0].firstChild = root;
            indexed = true;
        } else {
            m_records[0] = ElementRecord{};
            m_nUsed = 1;
        }
    }
    m_iParent = m_iCurrent = m_iChild = m_nCurrentKind = 0;
    return indexed;
}

// Builds the index without recursion. The open elements form a stack through the records'
// parent links: `open` is its top, and closing an element returns to its parent. Each pass
// of the loop is one look for an element inside `open`: it takes a record, and gives it back
// when it meets the end tag of `open`. Returns the root, 0 when the text starts with an end
// tag, -1 after an error (the innermost failure stored its message).
int32_t CXmlDocument::ParseDocument() {
    int32_t open = 0;      // the element whose content is being scanned; 0 = document level
    int32_t lastChild = 0; // the child of `open` indexed last
    for (;;) {
        int32_t element = NewRecord();
        {
            ElementRecord& record = m_records[element];
            record = ElementRecord{};
            record.startTagOpen = m_records[open].endTagOpen;
            record.parent = open;
        }
        const TagScan scan = ScanStartTag(open, element);
        if (scan == TagScan::Failed)
            return -1;
        if (scan == TagScan::EndTag) {
            if (open == 0)
                return 0;
            // at '<' of the end tag of `open`
            if (!CloseElement(open))
                return -1;
            element = open;
            open = m_records[element].parent;
        } else {
            // at '>' of a start tag: link the new element behind its elder siblings
            if (lastChild != 0)
                m_records[lastChild].nextSibling = element;
            else
                m_records[open].firstChild = element;
            ElementRecord& record = m_records[element];
            if (m_strText[record.startTagClose - 1] == '/') {
                record.endTagOpen = record.startTagClose - 1;
                record.elementClose = record.startTagClose;
            } else {
                record.endTagOpen = record.startTagClose + 1; // the scan cursor of its content
                open = element;
                lastChild = 0;
                continue;
            }
        }
        // `element` is complete; the scan of its parent resumes after it
        if (open == 0)
            return element;
        m_records[open].endTagOpen = m_records[element].elementClose + 1;
        lastChild = element;
    }
}

// Looks for the next start tag inside `open` from its scan cursor, passing over declarations,
// comments and the like. On Element, the record's start tag offsets are set.
inline CXmlDocument::TagScan CXmlDocument::ScanStartTag(int32_t open, int32_t record) {
    const auto fail = [this](const char* message) {
        SetParseError(message);
        return TagScan::Failed;
    };
    const int32_t length = TextLength();
    int32_t cursor = m_records[open].endTagOpen;
    for (;;) {
        int32_t tagOpen = cursor;
        if (!FindChar(tagOpen, '<', length))
            return fail(kElementTagNotFound);
        m_records[record].startTagOpen = tagOpen;
        m_records[open].endTagOpen = tagOpen;
        // The common "</" and "<name" are read without the token walk, to the same result.
        if (tagOpen + 1 < length && m_strText[tagOpen + 1] == '/') {
            --m_nUsed; // the record is given back
            return TagScan::EndTag;
        }
        if (ScanPlainStartTag(tagOpen, record))
            return TagScan::Element;
        Token token;
        token.next = tagOpen + 1;
        if (!NextToken(token))
            return fail(kAbruptEnd);
        if (token.quoted)
            return fail(kTagStartsWithQuote);
        if (TokenIs(token, '?') || TokenIs(token, '!')) {
            if (!SkipNode(tagOpen, cursor))
                return fail(kInvalidNode);
            continue;
        }
        if (TokenIs(token, '/')) {
            --m_nUsed; // the record is given back
            return TagScan::EndTag;
        }
        int32_t tagClose = token.end;
        if (!FindChar(tagClose, '>', length))
            return fail(kEndOfTagNotFound);
        m_records[record].startTagClose = tagClose;
        // While the element is open, its close offset holds where its name ends.
        m_records[record].elementClose = token.end + 1;
        return TagScan::Element;
    }
}

// A start tag whose name follows '<' at once: its name is read here, and the '>' after it
// looked for only when something else stands first. False, with nothing changed, for any
// other tag, which the token walk then reads.
inline bool CXmlDocument::ScanPlainStartTag(int32_t tagOpen, int32_t record) {
    const int32_t length = TextLength();
    const char* data = m_strText.data();
    int32_t pos = tagOpen + 1;
    if (pos >= length || kChars.Is(data[pos], kDelimiter) || data[pos] == '"' || data[pos] == '\'')
        return false;
    while (pos < length && !kChars.Is(data[pos], kDelimiter))
        pos += IsLeadByte(static_cast<unsigned char>(data[pos])) && pos + 1 < length ? 2 : 1;
    // at the delimiter after the name, as the token walk leaves it
    int32_t tagClose = pos;
    if (!(pos < length && data[pos] == '>')) {
        tagClose = pos - 1;
        if (!FindChar(tagClose, '>', length))
            return false; // the token walk reports it
    }
    m_records[record].startTagClose = tagClose;
    m_records[record].elementClose = pos;
    return true;
}

// The name of an element whose start tag was scanned and whose end tag was not: it ends
// where the scan left its mark.
inline std::string_view CXmlDocument::OpenElementName(int32_t element) const {
    int32_t start = m_records[element].startTagOpen + 1;
    SkipSpace(start);
    const int32_t end = std::min(m_records[element].elementClose, TextLength());
    return std::string_view(m_strText.data() + start,
                            static_cast<size_t>(std::max(end - start, 0)));
}

// Reads the end tag of an element whose content scan stopped on "</".
inline bool CXmlDocument::CloseElement(int32_t element) {
    const std::string_view tagName = OpenElementName(element);
    int32_t endTag = m_records[element].endTagOpen;
    // The content's scan stopped on this '<' already.
    const bool found =
        (endTag < TextLength() && m_strText[endTag] == '<') || FindChar(endTag, '<', TextLength());
    m_records[element].endTagOpen = endTag;
    if (!found)
        return SetParseError(kEndTagNotFound, tagName);
    // The common "</name>" gives the same result as the token walk below, without it.
    // Summed in 64 bits: a long name near the end of a text of over 1 GiB would overflow.
    const int64_t nameEnd = int64_t{endTag} + 2 + static_cast<int64_t>(tagName.size());
    if (nameEnd < TextLength() && m_strText[endTag + 1] == '/' &&
        m_strText[static_cast<size_t>(nameEnd)] == '>' &&
        SameBytes(tagName, m_strText.data() + endTag + 2)) {
        m_records[element].elementClose = static_cast<int32_t>(nameEnd);
        return true;
    }
    Token token;
    token.next = endTag + 1;
    for (int count = 1; NextToken(token); ++count) {
        if (token.quoted)
            continue;
        if (count == 1) {
            if (!TokenIs(token, '/'))
                return SetParseError(kExpectingEndTag, tagName);
        } else if (count == 2) {
            if (!TokenMatches(token, tagName))
                return SetParseError(kEndTagMismatch, tagName);
        } else if (TokenIs(token, '>')) {
            m_records[element].elementClose = token.start;
            return true;
        }
    }
    return SetParseError(kEndTagIncomplete, tagName);
}

// Passes over a "<?" or "<!" node starting at `open`; `after` receives the offset after it.
bool CXmlDocument::SkipNode(int32_t open, int32_t& after) const {
    const int32_t length = TextLength();
    if (open + 2 >= length)
        return false;
    std::string_view marker;
    if (m_strText[open + 1] == '?')
        marker = "?>";
    else if (m_strText[open + 2] == '[')
        marker = "]]>";
    else if (m_strText[open + 2] == '-')
        marker = "-->";
    if (!marker.empty()) {
        int32_t end = open;
        if (!FindText(end, marker, length))
            return false;
        after = end + static_cast<int32_t>(marker.size());
        return true;
    }
    // A declaration: its end is the first '>' outside quotes and brackets.
    Token token;
    token.next = open;
    int depth = 0;
    while (NextToken(token)) {
        if (token.quoted)
            continue;
        const char first = m_strText[token.start];
        if (first == '[') {
            ++depth;
        } else if (first == ']') {
            --depth;
        } else if (first == '>' && depth == 0) {
            after = token.start + 1;
            return true;
        }
    }
    return false;
}

bool CXmlDocument::SetParseError(const char* format, std::string_view tagName) {
    const std::string_view text(format);
    const size_t mark = text.find("%s");
    m_strLastError.assign(text.substr(0, mark));
    if (mark != std::string_view::npos) {
        m_strLastError.append(tagName);
        m_strLastError.append(text.substr(mark + 2));
    }
    --m_nUsed; // the record of the failing level is given back
    return false;
}

// ---------------------------------------------------------------------------------------------
// Navigation and reading

std::string CXmlDocument::GetDocumentText() const {
    return m_strText;
}

int32_t CXmlDocument::FindElementByName(int32_t parent, int32_t after, const char* name) const {
    int32_t candidate = after != 0 ? m_records[after].nextSibling : m_records[parent].firstChild;
    if (name == nullptr || *name == '\0')
        return candidate;
    const std::string_view wanted(name);
    for (; candidate != 0; candidate = m_records[candidate].nextSibling) {
        Token token;
        token.next = m_records[candidate].startTagOpen + 1;
        if (NextToken(token) && TokenMatches(token, wanted))
            return candidate;
    }
    return 0;
}

bool CXmlDocument::FindNext(const char* name) {
    const int32_t found = FindElementByName(m_iParent, m_iCurrent, name);
    if (found == 0)
        return false;
    m_iCurrent = found;
    m_iParent = m_records[found].parent;
    m_iChild = 0;
    m_nCurrentKind = 1;
    return true;
}

bool CXmlDocument::FindNextChild(const char* name) {
    if (m_iCurrent == 0)
        FindNext();
    const int32_t found = FindElementByName(m_iCurrent, m_iChild, name);
    if (found == 0)
        return false;
    m_iChild = found;
    m_iCurrent = m_records[found].parent;
    m_iParent = m_records[m_iCurrent].parent;
    m_nCurrentKind = m_iCurrent != 0 ? 1 : 0;
    return true;
}

bool CXmlDocument::Descend() {
    if (m_iCurrent == 0 || m_nCurrentKind != 1)
        return false;
    m_iParent = m_iCurrent;
    m_iCurrent = m_iChild;
    m_iChild = 0;
    m_nCurrentKind = m_iCurrent != 0 ? 1 : 0;
    return true;
}

std::string_view CXmlDocument::GetTagName(int32_t index) const {
    if (index == 0)
        return {};
    Token token;
    token.next = m_records[index].startTagOpen + 1;
    NextToken(token);
    return TokenText(token);
}

std::string CXmlDocument::GetChildValue() const {
    return GetElementValue(m_iChild);
}

std::string CXmlDocument::GetElementValue(int32_t index) const {
    if (index == 0)
        return {}; // the document record has no value
    const ElementRecord& record = m_records[index];
    if (record.firstChild != 0 || IsEmptyElement(index))
        return {};
    static constexpr std::string_view kCDataOpen = "<![CDATA[";
    int32_t first = record.startTagClose + 1;
    if (SkipSpace(first) && m_strText[first] == '<' && record.endTagOpen - first > 11 &&
        m_strText.compare(first, kCDataOpen.size(), kCDataOpen) == 0) {
        const int32_t valueStart = first + static_cast<int32_t>(kCDataOpen.size());
        int32_t close = valueStart;
        if (FindText(close, "]]>", record.endTagOpen))
            return m_strText.substr(valueStart, close - valueStart);
    }
    return DecodeText(record.startTagClose + 1, record.endTagOpen - 1);
}

// Reads the start tag's tokens after `token.next`; on success `token` bounds the quoted value.
bool CXmlDocument::FindAttribute(Token& token, std::string_view name) const {
    int marked = -1; // count of the matching name token
    for (int count = 0; NextToken(token); ++count) {
        if (token.quoted) {
            if (marked >= 0 && count == marked + 2)
                return true;
            continue;
        }
        if (TokenIs(token, '>') || TokenIs(token, '/') || TokenIs(token, '?'))
            return false;
        if (TokenIs(token, '='))
            continue;
        if (marked < 0 && count > 0 && TokenMatches(token, name))
            marked = count;
    }
    return false;
}

bool CXmlDocument::InsideQuotes(int32_t element, int32_t offset) const {
    Token token;
    token.next = m_records[element].startTagOpen + 1;
    while (NextToken(token) && token.start <= offset) {
        // From the first character inside to the closing quote (or the end of the text, 64-bit).
        if (token.quoted && offset <= int64_t{token.end} + 1)
            return true;
    }
    return false;
}

std::string CXmlDocument::GetAttribute(const char* name) const {
    if (m_iCurrent == 0 || m_nCurrentKind != 1 || name == nullptr || *name == '\0')
        return {};
    Token token;
    token.next = m_records[m_iCurrent].startTagOpen + 1;
    if (!FindAttribute(token, name))
        return {};
    return DecodeText(token.start, std::min(token.end, TextLength() - 1));
}

// Appends the text to `out` with the references of the chosen form; runs are copied in bulk.
void CXmlDocument::EncodeText(const char* text, bool attributeForm, std::string& out) {
    const unsigned char escaped = attributeForm ? kEscapeAttribute : kEscapeContent;
    if constexpr (!kMayHaveLeadBytes) {
        // Without lead bytes the C library finds the next byte to escape, and the end, at once.
        const char* const set = attributeForm ? "<&>'\"" : "<&>";
        for (;;) {
            const size_t run = std::strcspn(text, set);
            out.append(text, run);
            text += run;
            if (*text == '\0')
                return;
            out += '&';
            out.append(ReferenceName(*text));
            ++text;
        }
    }
    // One pass to the terminating zero: runs of ordinary bytes are copied whole.
    const char* runStart = text;
    const char* pos = text;
    for (;;) {
        const char ch = *pos;
        if (ch == '\0')
            break;
        if (IsLeadByte(static_cast<unsigned char>(ch)) && pos[1] != '\0') {
            pos += 2;
        } else if (kChars.Is(ch, escaped)) {
            out.append(runStart, static_cast<size_t>(pos - runStart));
            out += '&';
            out.append(ReferenceName(ch));
            runStart = ++pos;
        } else {
            ++pos;
        }
    }
    out.append(runStart, static_cast<size_t>(pos - runStart));
}

std::string CXmlDocument::DecodeText(int32_t from, int32_t to) const {
    std::string out;
    from = std::max(from, 0);
    to = std::min(to, TextLength() - 1);
    if (to < from)
        return out;
    out.reserve(static_cast<size_t>(to - from + 1));
    const char* data = m_strText.data();
    int32_t pos = from;
    while (pos <= to) {
        int32_t amp = pos;
        const bool found = FindChar(amp, '&', to + 1);
        out.append(data + pos, static_cast<size_t>(amp - pos));
        if (!found)
            break;
        pos = amp + 1;
        char decoded = '&';
        for (const Reference& reference : kReferences) {
            const int32_t nameLength = static_cast<int32_t>(reference.name.size());
            if (to - pos + 1 >= nameLength &&
                m_strText.compare(pos, reference.name.size(), reference.name) == 0) {
                decoded = reference.ch;
                pos += nameLength;
                break;
            }
        }
        out += decoded;
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Editing

void CXmlDocument::ReplaceText(int32_t offset, int32_t count, const std::string& text) {
    const int32_t length = TextLength();
    offset = std::clamp(offset, 0, length);
    count = std::clamp(count, 0, length - offset);
    m_strText.replace(static_cast<size_t>(offset), static_cast<size_t>(count), text);
}

// One step of the shift walk in document order; `top` is the nearest ancestor whose start tag
// lies before the splice.
int32_t CXmlDocument::NextInShiftWalk(int32_t record, int32_t& top) const {
    const ElementRecord& current = m_records[record];
    if (record == top) {
        top = current.parent;
        if (current.nextSibling != 0)
            return current.nextSibling;
    } else {
        if (current.firstChild != 0)
            return current.firstChild;
        if (current.nextSibling != 0)
            return current.nextSibling;
    }
    for (int32_t parent = current.parent;; parent = m_records[parent].parent) {
        if (parent == top || parent == 0)
            return parent;
        if (m_records[parent].nextSibling != 0)
            return m_records[parent].nextSibling;
    }
}

void CXmlDocument::ShiftPositions(int32_t index, int32_t delta) {
    if (delta == 0)
        return;
    int32_t top = m_records[index].parent;
    int32_t record = index;
    do {
        record = NextInShiftWalk(record, top);
        ElementRecord& moved = m_records[record];
        moved.endTagOpen += delta;
        moved.elementClose += delta;
        if (record != top) {
            moved.startTagOpen += delta;
            moved.startTagClose += delta;
        }
    } while (record != 0);
}

bool CXmlDocument::SetAttribute(const char* name, const char* value) {
    if (m_iCurrent == 0 || m_nCurrentKind != 1 || name == nullptr || *name == '\0')
        return false;
    if (value == nullptr)
        value = "";
    const int32_t element = m_iCurrent;
    const int32_t insertAt = m_records[element].startTagClose - (IsEmptyElement(element) ? 1 : 0);
    Token token;
    token.next = m_records[element].startTagOpen + 1;
    int32_t offset = insertAt;
    int32_t removed = 0;
    std::string inserted;
    if (FindAttribute(token, name)) {
        // A value whose quotes reach past the indexed end of the start tag (a '>' inside it)
        // cannot be replaced without breaking the index.
        if (token.end >= insertAt)
            return false;
        offset = token.start;
        removed = token.end - token.start + 1;
        EncodeText(value, true, inserted);
    } else {
        // The same for a new attribute: inside quotes it would become part of another value.
        if (InsideQuotes(element, insertAt))
            return false;
        inserted.append(" ").append(name).append("=\"");
        EncodeText(value, true, inserted);
        inserted.append("\"");
    }
    if (m_strText.size() - removed + inserted.size() > kMaxTextLength)
        return false;
    ReplaceText(offset, removed, inserted);
    const int32_t delta = static_cast<int32_t>(inserted.size()) - removed;
    ElementRecord& record = m_records[element];
    record.startTagClose += delta;
    record.endTagOpen += delta;
    record.elementClose += delta;
    ShiftPositions(element, delta);
    return true;
}

CXmlDocument::Insertion CXmlDocument::LocateInsertion(int32_t parent, int32_t after) const {
    const ElementRecord& record = m_records[parent];
    const bool parentEmpty = IsEmptyElement(parent);
    Insertion insertion;
    if (after != 0)
        insertion.offset = m_records[after].elementClose + 1;
    else if (parent == 0)
        insertion.offset = TextLength();
    else
        insertion.offset = parentEmpty ? record.startTagClose : record.endTagOpen;
    if (!parentEmpty) {
        // Go past the line break behind the predecessor, unless other text follows it.
        int32_t next = insertion.offset;
        if (!SkipSpace(next) || m_strText[next] == '<')
            insertion.offset = next;
    }
    insertion.predecessor = after != 0 ? after : LastChild(parent);
    return insertion;
}

// Writes a new element into `parent` behind `after` and indexes it; returns it, 0 if refused.
int32_t CXmlDocument::AddElement(int32_t parent, int32_t after, const char* name,
                                 const char* value) {
    const Insertion insertion = LocateInsertion(parent, after);
    const bool parentEmpty = IsEmptyElement(parent);
    const bool parentNoContent = HasNoContent(parent);
    // Opening up the parent's start tag inside a quoted value would write into that value.
    if (parentEmpty && InsideQuotes(parent, m_records[parent].endTagOpen))
        return 0;
    if (parentNoContent && parent != 0 && InsideQuotes(parent, m_records[parent].startTagClose))
        return 0;
    const std::string_view tagName(name);
    const std::string_view parentName = parentEmpty ? GetTagName(parent) : std::string_view();

    // "<p/>" becomes "<p>", CR LF, the element, "</p>" (the '/' is replaced); "<p></p>" gets
    // CR LF and the element behind its '>'; elsewhere the element goes in at its own offset.
    int32_t spliceAt = insertion.offset;
    int32_t removed = 0;
    // One buffer serves every addition, so a long run of them does not allocate each time.
    std::string& inserted = m_strInserted;
    inserted.clear();
    if (parentEmpty) {
        spliceAt = m_records[parent].endTagOpen;
        removed = 1;
        inserted = ">\r\n";
    } else if (parentNoContent) {
        spliceAt = m_records[parent].startTagClose + 1;
        inserted = "\r\n";
    }
    inserted.append("<").append(tagName);
    int32_t valueLength = -1; // no value: written as an empty element
    if (value == nullptr || *value == '\0') {
        inserted.append("/>\r\n");
    } else {
        inserted.append(">");
        const size_t valueStart = inserted.size();
        EncodeText(value, false, inserted);
        valueLength = static_cast<int32_t>(inserted.size() - valueStart);
        inserted.append("</").append(tagName).append(">\r\n");
    }
    if (parentEmpty)
        inserted.append("</").append(parentName);
    if (m_strText.size() - removed + inserted.size() > kMaxTextLength)
        return 0;
    // Taken only now that the new length is known to fit, so the offset cannot overflow.
    const int32_t start = insertion.offset + (parentEmpty || parentNoContent ? 2 : 0);

    const int32_t added = NewRecord();
    ElementRecord& record = m_records[added];
    const int32_t nameLength = static_cast<int32_t>(tagName.size());
    record.startTagOpen = start;
    record.parent = parent;
    record.firstChild = 0;
    if (valueLength < 0) {
        record.startTagClose = start + nameLength + 2;
        record.endTagOpen = start + nameLength + 1;
        record.elementClose = start + nameLength + 2;
    } else {
        record.startTagClose = start + nameLength + 1;
        record.endTagOpen = start + nameLength + valueLength + 2;
        record.elementClose = start + 2 * nameLength + valueLength + 4;
    }
    if (insertion.predecessor != 0) {
        record.nextSibling = m_records[insertion.predecessor].nextSibling;
        m_records[insertion.predecessor].nextSibling = added;
    } else {
        record.nextSibling = m_records[parent].firstChild;
        m_records[parent].firstChild = added;
    }
    if (parentEmpty) {
        m_records[parent].startTagClose -= 1;
        m_records[parent].endTagOpen -= 1 + static_cast<int32_t>(parentName.size());
    }
    ReplaceText(spliceAt, removed, inserted);
    ShiftPositions(added, static_cast<int32_t>(inserted.size()) - removed);
    return added;
}

bool CXmlDocument::AppendElement(const char* name, const char* value) {
    if (name == nullptr || *name == '\0')
        return false;
    if (m_iParent == 0) {
        if (m_records[0].firstChild != 0)
            return false;
        m_records[0].endTagOpen = TextLength();
    }
    const int32_t parent = m_iParent;
    const int32_t added = AddElement(parent, m_iCurrent, name, value);
    if (added == 0)
        return false;
    m_iParent = parent;
    m_iCurrent = added;
    m_iChild = 0;
    m_nCurrentKind = 1;
    return true;
}

bool CXmlDocument::AppendChild(const char* name, const char* value) {
    if (m_iCurrent == 0 || name == nullptr || *name == '\0')
        return false;
    const int32_t added = AddElement(m_iCurrent, m_iChild, name, value);
    if (added == 0)
        return false;
    m_iChild = added;
    m_nCurrentKind = 1;
    return true;
}
