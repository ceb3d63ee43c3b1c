#include "project/ProjectFile.h"

#include "project/PasswordText.h"
#include "project/ProjectFields.h"
#include "xml/XmlDocument.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

const char* const kRootElement = "ProjectDetail";
const char* const kVersionAttribute = "TarvonSCPProjectVer";
const char* const kVersion = "1.00";

std::string WrittenValue(const SProjectField& field, const SProject& project) {
    switch (field.kind) {
    case EProjectValueKind::Text:
        return project.*field.text;
    case EProjectValueKind::Password:
        return PasswordToText(project.*field.text);
    case EProjectValueKind::Switch:
        return project.*field.flag ? "Y" : "N";
    case EProjectValueKind::Number:
        return std::to_string(static_cast<int32_t>(project.*field.number));
    }
    return std::string();
}

bool IsAtoiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The C library's atoi: leading white space, an optional sign, then decimal digits up to
// the first other character. Out of range clamps to the 32-bit limits, as the Windows C
// library does, instead of overflowing.
int32_t ReadAtoi(const std::string& text) {
    size_t at = 0;
    while (at < text.size() && IsAtoiSpace(text[at])) {
        ++at;
    }
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        ++at;
    }
    const int64_t limit = negative ? -int64_t(std::numeric_limits<int32_t>::min())
                                   : int64_t(std::numeric_limits<int32_t>::max());
    int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        magnitude = std::min<int64_t>(magnitude * 10 + (text[at] - '0'), limit);
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

void ApplyValue(const SProjectField& field, const std::string& value, SProject& project) {
    switch (field.kind) {
    case EProjectValueKind::Text:
        project.*field.text = value;
        break;
    case EProjectValueKind::Password:
        project.*field.text = TextToPassword(value);
        break;
    case EProjectValueKind::Switch:
        project.*field.flag = value == "Y";
        break;
    case EProjectValueKind::Number:
        project.*field.number = static_cast<uint32_t>(ReadAtoi(value));
        break;
    }
}

} // namespace

namespace ProjectFile {

std::string Save(const SProject& project) {
    CXmlDocument document;
    document.AppendElement(kRootElement);
    document.SetAttribute(kVersionAttribute, kVersion);
    for (const SProjectField& field : kProjectFields) {
        document.AppendChild(field.name, WrittenValue(field, project).c_str());
    }
    document.AppendChild(kFilesElement);
    document.Descend();
    for (const std::string& file : project.files) {
        document.AppendChild(kFileElement, file.c_str());
    }
    return document.GetDocumentText();
}

bool Load(const std::string& text, SProject& project) {
    CXmlDocument document;
    document.Parse(text.c_str()); // a text that does not parse holds no root and fails below
    if (!document.FindNext(kRootElement)) {
        return false;
    }
    // The version attribute is not looked at: any version, or none, loads.
    project.files.clear();
    for (const SProjectField& field : kProjectFields) {
        if (document.FindNextChild(field.name)) {
            ApplyValue(field, document.GetChildValue(), project);
        }
    }
    if (document.FindNextChild(kFilesElement) && document.Descend()) {
        while (document.FindNextChild(kFileElement)) {
            project.files.push_back(document.GetChildValue());
        }
    }
    return true;
}

} // namespace ProjectFile
