#pragma once

#include <string>
#include <vector>

// The companion's commands. Each prints its result on standard output and its complaint on
// standard error, and returns the exit status.

// Exit statuses: done, input refused, command line not understood.
constexpr int kExitDone = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

// Prints the project file at path as JSON, over the window's initial values.
int RunShow(const std::string& path, bool showPassword);

// Writes a project file at path from the JSON values file ("-" for standard input).
int RunSave(const std::string& path, const std::string& valuesPath);

// Reads one password line from standard input and prints its stored text.
int RunPasswordEncode();

// Reads a stored text from standard input and prints the password.
int RunPasswordDecode();

// The entries in the order of the window's sorted list: case-insensitive, ties kept in order.
std::vector<std::string> SortedLikeTheList(std::vector<std::string> entries);
