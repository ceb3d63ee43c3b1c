#include "cli/CliCommands.h"

#include "cli/FileAccess.h"
#include "cli/ProjectJson.h"
#include "project/AtomicFile.h"
#include "project/PasswordText.h"
#include "project/ProjectFile.h"
#include "project/TextEncoding.h"

#include <algorithm>
#include <iostream>

namespace {

int Refuse(const std::string& message) {
    std::cerr << "tarvonscp-cli: " << message << '\n';
    return kExitRefused;
}

bool LessIgnoringCase(const std::string& left, const std::string& right) {
    return CaseFoldedUtf16(left) < CaseFoldedUtf16(right);
}

// The JSON values in the file at valuesPath, or a message.
bool ReadValues(const std::string& valuesPath, nlohmann::json& values, std::string& error) {
    std::string text;
    if (!ReadInput(valuesPath, text, error)) {
        return false;
    }
    try {
        values = nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& failure) {
        error = DescribeInput(valuesPath) + " is not valid JSON: " + failure.what();
        return false;
    }
    return true;
}

// One line without its line end; false when more than one line or a zero character came.
bool TakeOneLine(std::string text, std::string& line) {
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
    }
    if (text.find_first_of(std::string("\n\0", 2)) != std::string::npos) {
        return false;
    }
    line = std::move(text);
    return true;
}

} // namespace

std::vector<std::string> SortedLikeTheList(std::vector<std::string> entries) {
    std::stable_sort(entries.begin(), entries.end(), LessIgnoringCase);
    return entries;
}

int RunShow(const std::string& path, bool showPassword) {
    std::string text;
    std::string error;
    if (!ReadInput(path, text, error)) {
        return Refuse(error);
    }
    SProject project;
    if (!ProjectFile::Load(text, project)) {
        std::cerr << "XML File '" << path << "' is not a TarvonSCP project!\n";
        return kExitRefused;
    }
    std::cout << ProjectToJson(project, showPassword).dump(2) << '\n';
    return kExitDone;
}

int RunSave(const std::string& path, const std::string& valuesPath) {
    nlohmann::json values;
    std::string error;
    if (!ReadValues(valuesPath, values, error)) {
        return Refuse(error);
    }
    SProject project;
    if (!ApplyJson(values, project, error)) {
        return Refuse(error);
    }
    project.files = SortedLikeTheList(std::move(project.files));
    if (!AtomicFile::Replace(path, ProjectFile::Save(project), error)) {
        return Refuse(error);
    }
    return kExitDone;
}

int RunPasswordEncode() {
    std::string input;
    std::string error;
    if (!ReadStream(stdin, DescribeInput("-"), input, error)) {
        return Refuse(error);
    }
    std::string password;
    if (!TakeOneLine(std::move(input), password)) {
        return Refuse("a password is one line without zero characters");
    }
    std::cout << PasswordToText(password) << '\n';
    return kExitDone;
}

int RunPasswordDecode() {
    std::string text;
    std::string error;
    if (!ReadStream(stdin, DescribeInput("-"), text, error)) {
        return Refuse(error);
    }
    std::cout << TextToPassword(text) << '\n';
    return kExitDone;
}
