#pragma once

#include "ftp/FTPTransferDlg.h"
#include "ftp/FtpResult.h"
#include "ftp/FtpSettings.h"
#include "ftp/FtpUploadEngine.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <thread>

class QLabel;
class QProgressBar;
class QPushButton;

// The FTP library's transfer dialog: one modal run uploads one file on a worker thread while
// the dialog shows the file, a progress bar, the bytes sent, the rate and the time left, and
// offers Cancel. The engine, and with it the connection and login, lasts as long as the
// dialog, so a run after the paths changed reuses them.
class CFtpTransferWindow final : public QDialog, public CFTPTransferDlg {
    Q_OBJECT

public:
    // A dialog owned by parent (may be null); nothing connects before the first run.
    explicit CFtpTransferWindow(QWidget* parent = nullptr);
    // Waits for a run still going (none is, after DoModal) and closes the connection.
    ~CFtpTransferWindow() override;

    int DoModal() override;
    std::string LastErrorText() const override { return m_lastError; }

    // How often the shown progress is refreshed while a file goes up.
    static constexpr int kRefreshMs = 100;

    // Escape and the close box cancel a run under way rather than hide it.
    void reject() override;

private:
    // The result of a run that the user cancelled.
    static constexpr int kCancelled = 2;
    static constexpr int kFailed = 0;

    SFtpSettings Settings() const;
    // Runs one upload on the worker thread, the dialog's own loop serving the window, and
    // returns its result.
    SFtpResult RunUpload(const SFtpSettings& settings);
    // Asks whether to trust the SSH host key the server showed; true (and remembered) if so.
    bool TrustHostKey(const SFtpResult& refusal, SFtpSettings& settings);
    void ShowStart();
    void ShowProgress();
    void ShowOutcome(const SFtpResult& result);
    void OnButton();

    CFtpUploadEngine m_engine;
    std::thread m_worker;
    std::atomic<uint64_t> m_sent{0};
    std::atomic<uint64_t> m_total{0};
    std::atomic<bool> m_cancelRequested{false};
    bool m_running = false;
    SFtpResult m_result;
    std::string m_lastError;
    QElapsedTimer m_clock;
    QTimer m_refresh;

    QLabel* m_file = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_bytes = nullptr;
    QLabel* m_rate = nullptr;
    QLabel* m_timeLeft = nullptr;
    QPushButton* m_button = nullptr;
};
