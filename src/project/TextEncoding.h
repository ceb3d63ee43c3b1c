#pragma once

#include <string>

// Texts of project files are bytes in the writer's code page; JSON needs UTF-8.

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
bool IsValidUtf8(const std::string& bytes);

// The bytes read as Windows-1252, in UTF-8; the five unassigned bytes map to the C1 controls
// of the same value, as Windows maps them.
std::string Windows1252ToUtf8(const std::string& bytes);

// The characters of UTF-8 text with their case folded, as UTF-16 code units: what the
// window's case-insensitive list order compares. Malformed bytes read as U+FFFD.
std::u16string CaseFoldedUtf16(const std::string& utf8);

// The text in UTF-8, line by line: a line that is UTF-8 already is kept, any other line is
// read as Windows-1252. Lines end at line feeds, so a history of entries from files of
// different code pages reads as each entry alone would.
std::string AsUtf8(const std::string& bytes);
