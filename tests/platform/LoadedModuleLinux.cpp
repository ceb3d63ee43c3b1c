#include "LoadedModule.h"

#include <dlfcn.h>

bool IsModuleLoaded(const std::string& path) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (module != nullptr)
        dlclose(module);
    return module != nullptr;
}

void* ExportByName(const std::string& path, const char* name) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (module == nullptr)
        return nullptr;
    void* entry = dlsym(module, name);
    dlclose(module);
    return entry;
}
