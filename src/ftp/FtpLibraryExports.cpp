// The FTP library's exports: the program creates and destroys transfer dialogs only through
// these, so that each is made and freed by the library's own runtime.
#include "ftp/FtpTransferWindow.h"

#include <QWidget>

#ifdef _WIN32
#define FTP_EXPORT extern "C" __declspec(dllexport)
#else
#define FTP_EXPORT extern "C" __attribute__((visibility("default")))
#endif

FTP_EXPORT CFTPTransferDlg* CreateFTPTransferDlg(void* parentWindow) {
    QWidget* parent =
        parentWindow != nullptr ? QWidget::find(reinterpret_cast<WId>(parentWindow)) : nullptr;
    return new CFtpTransferWindow(parent);
}

FTP_EXPORT void DestroyFTPTransferDlg(CFTPTransferDlg* dialog) {
    delete dialog;
}
