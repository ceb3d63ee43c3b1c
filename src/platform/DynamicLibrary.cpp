#include "platform/DynamicLibrary.h"

CDynamicLibrary::~CDynamicLibrary() {
    Release();
}

bool CDynamicLibrary::Load(const std::string& folder, const std::string& name) {
    Release();
    m_lastError.clear();
    m_module = OpenModule(folder + FileName(name), m_lastError);
    return m_module != nullptr;
}

void CDynamicLibrary::Release() {
    if (m_module == nullptr)
        return;
    CloseModule(m_module);
    m_module = nullptr;
}

void* CDynamicLibrary::Entry(int ordinal, const char* name) const {
    return m_module == nullptr ? nullptr : FindEntry(m_module, ordinal, name);
}
