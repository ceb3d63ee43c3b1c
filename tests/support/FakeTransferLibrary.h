#pragma once

#include "platform/TransferLibrary.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// An FTP library whose transfer dialogs record every run instead of transferring. Its
// dialogs start with marker values of their own in every field, and put the markers back
// after each run, so a run shows exactly what the caller wrote since the run before.
class CFakeTransferLibrary final : public CTransferLibrary {
public:
    // The marker a field holds when the caller has not written it since the last run.
    static constexpr int32_t kUnwritten = -7;
    static const char* const kUnwrittenText;

    // The record as one run of a dialog found it, and which dialog ran.
    struct SRun {
        int dialog;
        int32_t direction, showProgress, closeWhenDone, pasv, preconfig, useProxy;
        uint32_t timeout;
        std::string server, remotePath, localPath, username, password, proxyServer;
    };

    bool IsAvailable() const override { return m_available; }
    TransferDlgPtr NewTransferDlg() override;

    // Makes the library missing (false) or present (true, the start).
    void SetAvailable(bool available) { m_available = available; }
    // Queues the result and failure reason of a following run; unqueued runs return 1.
    void QueueResult(int result, std::string reason = std::string());
    // Called inside each run, while the dialog would be open.
    void OnRun(std::function<void(const SRun&)> callback) { m_onRun = std::move(callback); }

    // Every run, in order; and how many dialogs were made and destroyed.
    const std::vector<SRun>& Runs() const { return m_runs; }
    int Created() const { return m_created; }
    int Destroyed() const { return m_destroyed; }

private:
    class CRecordingDlg;
    static void Destroy(CFTPTransferDlg* dialog);

    bool m_available = true;
    std::deque<std::pair<int, std::string>> m_results;
    std::function<void(const SRun&)> m_onRun;
    std::vector<SRun> m_runs;
    int m_created = 0;
    int m_destroyed = 0;
};
