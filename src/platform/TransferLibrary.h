#pragma once

#include "ftp/FTPTransferDlg.h"

#include <memory>

// Releases a transfer dialog through the library that made it.
struct STransferDlgDeleter {
    DestroyFTPTransferDlgFn destroy = nullptr;
    void operator()(CFTPTransferDlg* dialog) const {
        if (dialog != nullptr && destroy != nullptr)
            destroy(dialog);
    }
};

using TransferDlgPtr = std::unique_ptr<CFTPTransferDlg, STransferDlgDeleter>;

// The FTP library as the window uses it: transfer dialogs, when the library is there.
class CTransferLibrary {
public:
    virtual ~CTransferLibrary() = default;
    // True when the library was loaded with both of its entry points.
    virtual bool IsAvailable() const = 0;
    // A new transfer dialog without owner window, or null when the library is not available.
    virtual TransferDlgPtr NewTransferDlg() = 0;
};
