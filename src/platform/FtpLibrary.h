#pragma once

#include "platform/DynamicLibrary.h"
#include "platform/TransferLibrary.h"

// The FTP library, loaded from the program folder at start and released at exit.
class CFtpLibrary final : public CTransferLibrary {
public:
    // Loads the library "ftp" from folder (ending in a separator) and binds its factory;
    // false when the library or an entry point is missing, and nothing is held then.
    bool Load(const std::string& folder);
    // Releases the library; dialogs it made must be gone by then.
    void Release();
    // True while the library is held.
    bool IsLoaded() const { return m_library.IsLoaded(); }

    bool IsAvailable() const override;
    TransferDlgPtr NewTransferDlg() override;

private:
    CDynamicLibrary m_library;
    CreateFTPTransferDlgFn m_create = nullptr;
    DestroyFTPTransferDlgFn m_destroy = nullptr;
};
