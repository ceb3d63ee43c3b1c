#include "platform/DynamicLibrary.h"

#include <windows.h>

std::string CDynamicLibrary::FileName(const std::string& name) {
    return name + ".dll";
}

void* CDynamicLibrary::OpenModule(const std::string& path, std::string& error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr)
        error = "LoadLibrary failed with error " + std::to_string(GetLastError()) + ": " + path;
    return reinterpret_cast<void*>(module);
}

void CDynamicLibrary::CloseModule(void* module) {
    FreeLibrary(reinterpret_cast<HMODULE>(module));
}

void* CDynamicLibrary::FindEntry(void* module, int ordinal, const char* /*name*/) {
    // The library's entry points are imported by ordinal, as its .def file numbers them.
    return reinterpret_cast<void*>(
        GetProcAddress(reinterpret_cast<HMODULE>(module), MAKEINTRESOURCEA(ordinal)));
}
