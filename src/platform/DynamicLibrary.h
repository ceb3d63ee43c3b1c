#pragma once

#include <string>

// A shared library loaded at run time from a given folder, released with the object.
class CDynamicLibrary {
public:
    // Holds no library yet.
    CDynamicLibrary() = default;
    // Releases the library if one is loaded.
    ~CDynamicLibrary();
    CDynamicLibrary(const CDynamicLibrary&) = delete;
    CDynamicLibrary& operator=(const CDynamicLibrary&) = delete;

    // The platform's file name of a library: "lib<name>.so" on Linux, "<name>.dll" on Windows.
    static std::string FileName(const std::string& name);

    // Loads the library <name> from folder (which ends in a separator); false when it cannot.
    bool Load(const std::string& folder, const std::string& name);
    // True while a library is loaded.
    bool IsLoaded() const { return m_module != nullptr; }
    // Releases the library; nothing happens when none is loaded.
    void Release();
    // An exported function: by ordinal where the platform exports by ordinal, else by name.
    void* Entry(int ordinal, const char* name) const;
    // Why the last Load failed, in the platform's words.
    const std::string& LastError() const { return m_lastError; }

private:
    // The platform's part; each OS file defines these.
    static void* OpenModule(const std::string& path, std::string& error);
    static void CloseModule(void* module);
    static void* FindEntry(void* module, int ordinal, const char* name);

    void* m_module = nullptr;
    std::string m_lastError;
};
