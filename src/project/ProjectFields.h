#pragma once

#include "project/Project.h"

#include <array>
#include <cstdint>
#include <string>

// How a project value is written in a file.
enum class EProjectValueKind {
    Text,     // the text as it is
    Password, // the password's stored text form
    Switch,   // "Y" or "N"
    Number,   // decimal, the 32 bits taken as signed
};

// One of the thirteen values a project file holds as child elements.
struct SProjectField {
    const char* name;            // element name, also the command-line companion's key
    EProjectValueKind kind;      // how it is written and read
    std::string SProject::*text; // for Text and Password
    bool SProject::*flag;        // for Switch
    uint32_t SProject::*number;  // for Number
};

// The thirteen values in the order the file holds them (and the loader looks for them).
extern const std::array<SProjectField, 13> kProjectFields;

// The element name of the upload list and of each of its entries.
constexpr const char* kFilesElement = "Files";
constexpr const char* kFileElement = "File";
