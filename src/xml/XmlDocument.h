#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A small XML document: the whole text as one string plus a flat index of elements
// that holds byte offsets into that text. Edits splice the text and shift the offsets.
class CXmlDocument {
public:
    // One element of the index; record 0 stands for the document itself.
    struct ElementRecord {
        int32_t startTagOpen;  // '<' of the start tag
        int32_t startTagClose; // '>' of the start tag
        int32_t endTagOpen;    // '<' of the end tag ('/' of "/>" for an empty element)
        int32_t elementClose;  // '>' that ends the element
        int32_t parent;        // index of the parent record, 0 for the root element
        int32_t firstChild;    // index of the first child element, 0 if none
        int32_t nextSibling;   // index of the next element with the same parent, 0 if none
    };

    // An empty document, as Parse with no text.
    CXmlDocument();
    virtual ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // Replaces the text and rebuilds the index; true when a root element was indexed.
    bool Parse(const char* text);
    // A copy of the whole document text.
    std::string GetDocumentText() const;

    // Moves the current position forward to the next element of this level matching name.
    bool FindNext(const char* name = nullptr);
    // Moves the child position forward to the next child of the current element matching name.
    bool FindNextChild(const char* name = nullptr);
    // The current element becomes the level, the child becomes the current element.
    bool Descend();

    // The decoded value of the child element; empty when it has children or is empty.
    std::string GetChildValue() const;
    // The decoded value of an attribute of the current element; empty when absent.
    std::string GetAttribute(const char* name) const;
    // Sets an attribute of the current element in place, or adds it at the end of its tag.
    bool SetAttribute(const char* name, const char* value);
    // Adds an element after the current one (the root at the document level); it becomes current.
    bool AppendElement(const char* name, const char* value = nullptr);
    // Adds a child of the current element after the current child; it becomes the child.
    bool AppendChild(const char* name, const char* value = nullptr);

    // The text of the most recent parse error; kept across later successful parses.
    const std::string& LastError() const { return m_strLastError; }

    // Read-only view of the index and the positions, for tests and tools.
    int RecordsUsed() const { return m_nUsed; }
    const ElementRecord& Record(int index) const { return m_records[index]; }
    int RecordCapacity() const { return m_nRecords; }
    int ParentPosition() const { return m_iParent; }
    int CurrentPosition() const { return m_iCurrent; }
    int ChildPosition() const { return m_iChild; }
    int CurrentKind() const { return m_nCurrentKind; }

private:
    // The tokenizer's cursor over the text.
    struct Token {
        int32_t start = 0;   // first character of the token
        int32_t end = 0;     // last character of the token
        int32_t next = 0;    // where the next token is looked for
        bool quoted = false; // the token was a quoted string
    };

    // How a scan for a start tag ended.
    enum class TagScan { Element, EndTag, Failed };
    // Where a new element goes: its text offset and the sibling it follows (0: none).
    struct Insertion {
        int32_t offset = 0;
        int32_t predecessor = 0;
    };

    int32_t TextLength() const { return static_cast<int32_t>(m_strText.size()); }

    // Scanners: offsets move over whole characters and stop at `limit` (exclusive) or the end.
    bool FindChar(int32_t& offset, char ch, int32_t limit) const;
    bool FindText(int32_t& offset, std::string_view marker, int32_t limit) const;
    bool SkipSpace(int32_t& offset) const;
    bool NextToken(Token& token) const;
    // The token's characters, never reaching past the text.
    std::string_view TokenText(const Token& token) const;
    // True when name starts with the token, followed in name by its end or one of " =/[".
    bool TokenMatches(const Token& token, std::string_view name) const;
    // True when the token is the unquoted character ch.
    bool TokenIs(const Token& token, char ch) const;

    // The index: NewRecord takes the next free record, growing the index by half when full.
    int32_t NewRecord();
    void ResizeIndex(int32_t size);

    // The parser.
    int32_t ParseDocument();
    TagScan ScanStartTag(int32_t open, int32_t record);
    bool ScanPlainStartTag(int32_t tagOpen, int32_t record);
    std::string_view OpenElementName(int32_t element) const;
    bool CloseElement(int32_t element);
    bool SkipNode(int32_t open, int32_t& after) const;
    bool SetParseError(const char* format, std::string_view tagName = {});

    // Navigation and reading.
    bool IsEmptyElement(int32_t index) const;
    bool HasNoContent(int32_t index) const;
    int32_t LastChild(int32_t parent) const;
    int32_t FindElementByName(int32_t parent, int32_t after, const char* name) const;
    std::string_view GetTagName(int32_t index) const;
    std::string GetElementValue(int32_t index) const;
    bool FindAttribute(Token& token, std::string_view name) const;
    // True when offset lies within a quoted string of the element's start tag.
    bool InsideQuotes(int32_t element, int32_t offset) const;

    // Editing: one splice of the text, then one walk that shifts the offsets after it.
    static void EncodeText(const char* text, bool attributeForm, std::string& out);
    std::string DecodeText(int32_t from, int32_t to) const;
    void ReplaceText(int32_t offset, int32_t count, const std::string& text);
    int32_t NextInShiftWalk(int32_t record, int32_t& top) const;
    void ShiftPositions(int32_t index, int32_t delta);
    Insertion LocateInsertion(int32_t parent, int32_t after) const;
    int32_t AddElement(int32_t parent, int32_t after, const char* name, const char* value);

    std::string m_strText;
    std::string m_strLastError;
    std::string m_strInserted; // the text an addition writes, kept for the next one
    // The index, of m_nRecords records; the parser and the edits write every field of a
    // record they take, so records are not zeroed when the index grows.
    std::unique_ptr<ElementRecord[]> m_records;
    int32_t m_nRecords = 0;
    size_t m_nRecordsAllocated = 0;
    int32_t m_iParent = 0;
    int32_t m_iCurrent = 0;
    int32_t m_iChild = 0;
    int32_t m_nUsed = 1;
    int32_t m_nCurrentKind = 0;
};
