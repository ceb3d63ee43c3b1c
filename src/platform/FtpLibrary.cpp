#include "platform/FtpLibrary.h"

bool CFtpLibrary::Load(const std::string& folder) {
    if (!m_library.Load(folder, "ftp"))
        return false;
    m_create = reinterpret_cast<CreateFTPTransferDlgFn>(
        m_library.Entry(kCreateFTPTransferDlgOrdinal, kCreateFTPTransferDlgName));
    m_destroy = reinterpret_cast<DestroyFTPTransferDlgFn>(
        m_library.Entry(kDestroyFTPTransferDlgOrdinal, kDestroyFTPTransferDlgName));
    if (IsAvailable())
        return true;
    // A library without the factory cannot transfer anything: as good as missing.
    Release();
    return false;
}

void CFtpLibrary::Release() {
    m_create = nullptr;
    m_destroy = nullptr;
    m_library.Release();
}

bool CFtpLibrary::IsAvailable() const {
    return m_create != nullptr && m_destroy != nullptr;
}

TransferDlgPtr CFtpLibrary::NewTransferDlg() {
    if (!IsAvailable())
        return TransferDlgPtr(nullptr, STransferDlgDeleter{});
    return TransferDlgPtr(m_create(nullptr), STransferDlgDeleter{m_destroy});
}
