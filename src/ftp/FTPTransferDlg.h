#pragma once

#include <cstdint>
#include <string>

// The FTP library's modal transfer dialog, as the program sees it. The program creates one
// object through the library's exported factory, writes the connection fields once and the
// two paths before each file, runs it once per file and destroys it through the library.
// Texts are bytes in the system's code page, as the program keeps them.
class CFTPTransferDlg {
public:
    // What m_nDirection asks for.
    enum Direction : int32_t { kUpload = 0, kDownload = 1 };

    // Released through the library's exported destroy function, never by the caller's delete.
    virtual ~CFTPTransferDlg() = default;
    CFTPTransferDlg(const CFTPTransferDlg&) = delete;
    CFTPTransferDlg& operator=(const CFTPTransferDlg&) = delete;

    // Transfers the file at m_strLocalPath to m_strRemotePath with the fields' settings while
    // the dialog shows progress; 1 only when the server confirmed the whole file, any other
    // value when it failed or the user cancelled. May be run again after the paths change.
    virtual int DoModal() = 0;
    // Why the last run did not return 1, in one line; empty after a success.
    virtual std::string LastErrorText() const = 0;

    // The record. Direction of the transfer: only kUpload is performed, any other value is
    // refused with a reason.
    int32_t m_nDirection = kUpload;
    // Server: host, host:port, or a URL (ftp://, ftpes://, ftps://, sftp://).
    std::string m_strServer;
    // Path of the file on the server, from its root; and of the local file.
    std::string m_strRemotePath;
    std::string m_strLocalPath;
    // Login; the library's own values log in anonymously.
    std::string m_strUsername = "anonymous";
    std::string m_strPassword = "anonymous@";
    // 1: the dialog shows itself during the run; 0: the run shows nothing (and cannot be
    // cancelled by the user).
    int32_t m_bShowProgress = 1;
    // 1: the dialog closes itself when the file is done; 0: it waits for the user's OK.
    int32_t m_bCloseWhenDone = 1;
    // 1: passive mode (EPSV, then PASV); 0: active mode.
    int32_t m_bPASV = 1;
    // 1: the system's proxy settings.
    int32_t m_bPreconfig = 0;
    // 1: the proxy in m_strProxyServer.
    int32_t m_bUseProxy = 0;
    std::string m_strProxyServer;
    // Milliseconds allowed to connect and log in, and for a transfer to stall; 0: no limit.
    uint32_t m_nTimeout = 15000;

protected:
    CFTPTransferDlg() = default;
};

// The library's exports, by these names (and these ordinals on Windows).
// Creates a dialog; parentWindow is the owner's native window, or null for none.
using CreateFTPTransferDlgFn = CFTPTransferDlg* (*)(void* parentWindow);
// Destroys a dialog the library created; closes its connection.
using DestroyFTPTransferDlgFn = void (*)(CFTPTransferDlg* dialog);
constexpr const char* kCreateFTPTransferDlgName = "CreateFTPTransferDlg";
constexpr int kCreateFTPTransferDlgOrdinal = 1;
constexpr const char* kDestroyFTPTransferDlgName = "DestroyFTPTransferDlg";
constexpr int kDestroyFTPTransferDlgOrdinal = 2;
