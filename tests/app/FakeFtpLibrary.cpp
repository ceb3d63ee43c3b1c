#include "ftp/FTPTransferDlg.h"

// A library that loads as the FTP library: the application only loads and releases it, so
// its factory makes nothing.
extern "C" CFTPTransferDlg* CreateFTPTransferDlg(void* /*parentWindow*/) {
    return nullptr;
}

extern "C" void DestroyFTPTransferDlg(CFTPTransferDlg* /*dialog*/) {
}
