#include "FakeTransferLibrary.h"

const char* const CFakeTransferLibrary::kUnwrittenText = "<unwritten>";

class CFakeTransferLibrary::CRecordingDlg final : public CFTPTransferDlg {
public:
    CRecordingDlg(CFakeTransferLibrary& library, int number)
        : m_library(library), m_number(number) {
        MarkUnwritten();
    }

    int DoModal() override {
        const SRun run{m_number,      m_nDirection,    m_bShowProgress, m_bCloseWhenDone,
                       m_bPASV,       m_bPreconfig,    m_bUseProxy,     m_nTimeout,
                       m_strServer,   m_strRemotePath, m_strLocalPath,  m_strUsername,
                       m_strPassword, m_strProxyServer};
        m_library.m_runs.push_back(run);
        if (m_library.m_onRun)
            m_library.m_onRun(run);
        int result = 1;
        m_lastError.clear();
        if (!m_library.m_results.empty()) {
            result = m_library.m_results.front().first;
            m_lastError = m_library.m_results.front().second;
            m_library.m_results.pop_front();
        }
        MarkUnwritten();
        return result;
    }

    std::string LastErrorText() const override { return m_lastError; }

    CFakeTransferLibrary& Library() const { return m_library; }

private:
    void MarkUnwritten() {
        m_nDirection = m_bShowProgress = m_bCloseWhenDone = m_bPASV = m_bPreconfig = m_bUseProxy =
            kUnwritten;
        m_nTimeout = static_cast<uint32_t>(kUnwritten);
        m_strServer = m_strRemotePath = m_strLocalPath = m_strUsername = m_strPassword =
            m_strProxyServer = kUnwrittenText;
    }

    CFakeTransferLibrary& m_library;
    const int m_number;
    std::string m_lastError;
};

TransferDlgPtr CFakeTransferLibrary::NewTransferDlg() {
    if (!m_available)
        return TransferDlgPtr(nullptr, STransferDlgDeleter{});
    return TransferDlgPtr(new CRecordingDlg(*this, ++m_created), STransferDlgDeleter{&Destroy});
}

void CFakeTransferLibrary::QueueResult(int result, std::string reason) {
    m_results.emplace_back(result, std::move(reason));
}

void CFakeTransferLibrary::Destroy(CFTPTransferDlg* dialog) {
    auto* recording = static_cast<CRecordingDlg*>(dialog);
    ++recording->Library().m_destroyed;
    delete recording;
}
