// The upload list's handlers of the main window: adding, removing and uploading its files.
#include "ui/ProjectManagerDlg.h"

#include "platform/AnsiText.h"
#include "platform/DynamicLibrary.h"
#include "platform/TransferLibrary.h"
#include "project/RemotePath.h"
#include "ui/SortedListBox.h"

#include <QDir>
#include <QElapsedTimer>

namespace {

// The result of a transfer run for a file the server holds whole.
constexpr int kTransferDone = 1;

const char* const kUploadChooserTitle = "Select files for upload..";
const char* const kUploadChooserFilter = "All files (*.*)|*.*||";
// Several files at once, no read-only box; the overwrite prompt is part of the same flags.
constexpr unsigned kUploadChooserFlags =
    kChooserAllowMultiSelect | kChooserHideReadOnly | kChooserOverwritePrompt;
const char* const kUploadFailed = " - upload failed / aborted!\n";
const char* const kUploadSucceeded = "Your files were successfully uploaded!";
const char* const kFtpUnavailable =
    "FTP is not available: the FTP library (%1) could not be loaded when the program started.";

// One line saying how much went up and how long it took.
QString UploadSummary(int uploaded, int total, qint64 milliseconds) {
    const QString files = total == 1 ? QStringLiteral("file") : QStringLiteral("files");
    return QStringLiteral("%1 of %2 %3 uploaded in %4 s.")
        .arg(uploaded)
        .arg(total)
        .arg(files)
        .arg(static_cast<double>(milliseconds) / 1000.0, 0, 'f', 1);
}

} // namespace

void CProjectManagerDlg::OnAddFiles() {
    FileChooserRequest request;
    request.filter = QString::fromLatin1(kUploadChooserFilter);
    request.title = QString::fromLatin1(kUploadChooserTitle);
    request.flags = kUploadChooserFlags;
    for (const QString& path : m_services.prompts.ChooseFiles(this, request))
        m_lstUpload->AddString(path);
}

void CProjectManagerDlg::OnDeleteFile() {
    const QList<QListWidgetItem*> selected = m_lstUpload->selectedItems();
    if (selected.isEmpty())
        return;
    delete m_lstUpload->takeItem(m_lstUpload->row(selected.first()));
}

void CProjectManagerDlg::OnDropFiles(const QList<QUrl>& urls) {
    // Only files of this machine have a path; web links and the like are no upload.
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            m_lstUpload->AddString(QDir::toNativeSeparators(url.toLocalFile()));
    }
}

void CProjectManagerDlg::OnUpload() {
    // A timeout the transfer refuses does not stop the upload.
    UpdateData(true);
    TransferDlgPtr transfer = m_services.transferLibrary.NewTransferDlg();
    if (!transfer) {
        const QString library = QString::fromStdString(CDynamicLibrary::FileName("ftp"));
        m_services.prompts.MessageBox(this, QString::fromLatin1(kFtpUnavailable).arg(library),
                                      QString(), PromptButtons::Ok);
        return;
    }
    WriteConnectionFields(*transfer);
    const std::string targetFolder = CAnsiText::ToBytes(m_strServerFolder);
    QElapsedTimer clock;
    clock.start();
    QString failures;
    int uploaded = 0;
    const int total = m_lstUpload->count();
    for (int index = 0; index < total; ++index) {
        const QString entry = m_lstUpload->item(index)->text();
        const std::string localPath = CAnsiText::ToBytes(entry);
        transfer->m_strLocalPath = localPath;
        transfer->m_strRemotePath = RemotePath::ForLocalFile(targetFolder, localPath);
        if (transfer->DoModal() == kTransferDone) {
            ++uploaded;
            continue;
        }
        failures += entry + QLatin1String(kUploadFailed);
        const std::string reason = transfer->LastErrorText();
        if (!reason.empty())
            failures += QStringLiteral("    ") + CAnsiText::FromBytes(reason) + QLatin1Char('\n');
    }
    QString outcome = failures.isEmpty() ? QString::fromLatin1(kUploadSucceeded) : failures;
    if (total > 0) {
        outcome += failures.isEmpty() ? QStringLiteral("\n\n") : QStringLiteral("\n");
        outcome += UploadSummary(uploaded, total, clock.elapsed());
    }
    m_services.prompts.MessageBox(this, outcome, QString(), PromptButtons::Ok);
    transfer.reset();
}

void CProjectManagerDlg::WriteConnectionFields(CFTPTransferDlg& transfer) const {
    transfer.m_nDirection = CFTPTransferDlg::kUpload;
    transfer.m_strServer = CAnsiText::ToBytes(m_strFTPServer);
    transfer.m_bShowProgress = 1;
    transfer.m_bCloseWhenDone = 1;
    transfer.m_bPASV = m_bPASV ? 1 : 0;
    transfer.m_bPreconfig = m_bPreconfig ? 1 : 0;
    transfer.m_bUseProxy = m_bUseProxy ? 1 : 0;
    transfer.m_strProxyServer = CAnsiText::ToBytes(m_strProxyServer);
    transfer.m_nTimeout = m_nTimeout;
    // Without a user name the dialog keeps its own login, whatever password was typed.
    if (m_strUsername.isEmpty())
        return;
    transfer.m_strPassword = CAnsiText::ToBytes(m_strPassword);
    transfer.m_strUsername = CAnsiText::ToBytes(m_strUsername);
}
