#pragma once

#include "project/Project.h"

#include <nlohmann/json.hpp>

#include <string>

// A project as JSON: one key per element name of the project file, plus Files.

// What show prints for the password unless asked to show it.
constexpr const char* kHiddenPassword = "********";

// Every value of the project, in file order; texts that are not UTF-8 are read as
// Windows-1252.
nlohmann::ordered_json ProjectToJson(const SProject& project, bool showPassword);

// Sets the values that the JSON object holds; the others stay. False with a message in
// error for a value of the wrong type, an unknown key or a text holding a zero character;
// the project may then be partly changed.
bool ApplyJson(const nlohmann::json& values, SProject& project, std::string& error);
