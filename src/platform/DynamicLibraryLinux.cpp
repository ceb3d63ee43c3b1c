#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

std::string CDynamicLibrary::FileName(const std::string& name) {
    return "lib" + name + ".so";
}

void* CDynamicLibrary::OpenModule(const std::string& path, std::string& error) {
    // Local binding keeps the library's names from clashing with the program's own.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : path;
    }
    return module;
}

void CDynamicLibrary::CloseModule(void* module) {
    dlclose(module);
}

void* CDynamicLibrary::FindEntry(void* module, int /*ordinal*/, const char* name) {
    // ELF has no ordinals: the exported name is the entry point's identity.
    return dlsym(module, name);
}
