#include "LoadedModule.h"

#include <windows.h>

bool IsModuleLoaded(const std::string& path) {
    return GetModuleHandleA(path.c_str()) != nullptr;
}

void* ExportByName(const std::string& path, const char* name) {
    HMODULE module = GetModuleHandleA(path.c_str());
    return module != nullptr ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}
