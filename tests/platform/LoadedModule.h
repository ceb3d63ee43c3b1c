#pragma once

#include <string>

// Whether the process has the library at path mapped, asked of the system without loading it.
bool IsModuleLoaded(const std::string& path);

// The address the system gives for the library's export called name; null when not loaded.
void* ExportByName(const std::string& path, const char* name);
