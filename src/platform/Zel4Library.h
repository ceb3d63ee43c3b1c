#pragma once

#include "platform/DynamicLibrary.h"
#include "platform/UpdateLibrary.h"

// The update library zel4, loaded from the program folder; when it is missing, calls do nothing.
class CZel4Library final : public CUpdateLibrary {
public:
    // Loads the library from folder (ending in a separator) and binds entry points 1 and 2.
    explicit CZel4Library(const std::string& folder);
    // True when the library and both entry points were found.
    bool IsAvailable() const { return m_tarvon != nullptr && m_tarvonWait != nullptr; }
    // Entry point 1, or nothing when the library is missing.
    void Tarvon(const std::string& url) override;
    // Entry point 2, or nothing when the library is missing.
    void TarvonWait(const std::string& url, int32_t timeoutMs) override;

private:
    using TarvonFn = int (*)(const char*);
    using TarvonWaitFn = int (*)(const char*, int32_t);

    CDynamicLibrary m_library;
    TarvonFn m_tarvon = nullptr;
    TarvonWaitFn m_tarvonWait = nullptr;
};
