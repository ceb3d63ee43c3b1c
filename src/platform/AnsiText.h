#pragma once

#include <QString>
#include <string>

// The one place where the program's texts turn from bytes (files, the profile, the system)
// into characters for the widgets, and back. On Windows both ways go through the ANSI code
// page, as the system's own controls do. Elsewhere each line that is UTF-8 reads as UTF-8
// and any other line as Windows-1252, as the companion shows it; the bytes of such a line
// are remembered, so that the same characters are written back as the same bytes.
class CAnsiText final {
public:
    CAnsiText() = delete;

    // The characters the bytes show as.
    static QString FromBytes(const std::string& bytes);
    // The bytes of text: those it was read from, where it was read, else the system's form.
    static std::string ToBytes(const QString& text);
};
