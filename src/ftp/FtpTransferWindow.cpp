#include "ftp/FtpTransferWindow.h"

#include "platform/AnsiText.h"
#include "platform/Profile.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kProgressSteps = 1000;

QString FromBytes(const std::string& text) {
    return CAnsiText::FromBytes(text);
}

QString Size(uint64_t bytes) {
    return QLocale().formattedDataSize(static_cast<qint64>(bytes), 1, QLocale::DataSizeSIFormat);
}

QString Duration(qint64 seconds) {
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    if (seconds < 3600)
        return QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
    return QStringLiteral("%1 h %2 min").arg(seconds / 3600).arg(seconds / 60 % 60);
}

} // namespace

CFtpTransferWindow::CFtpTransferWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Uploading"));
    // A modal run blocks the whole program, as its caller expects of a modal dialog.
    setWindowModality(Qt::ApplicationModal);
    m_file = new QLabel(this);
    m_file->setTextFormat(Qt::PlainText);
    m_status = new QLabel(this);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, kProgressSteps);
    m_bytes = new QLabel(this);
    m_bytes->setObjectName(QStringLiteral("bytes"));
    m_rate = new QLabel(this);
    m_rate->setObjectName(QStringLiteral("rate"));
    m_timeLeft = new QLabel(this);
    m_timeLeft->setObjectName(QStringLiteral("timeLeft"));
    m_button = new QPushButton(QStringLiteral("Cancel"), this);
    m_button->setAutoDefault(false);

    auto* figures = new QGridLayout;
    figures->addWidget(new QLabel(QStringLiteral("Sent:"), this), 0, 0);
    figures->addWidget(m_bytes, 0, 1);
    figures->addWidget(new QLabel(QStringLiteral("Rate:"), this), 1, 0);
    figures->addWidget(m_rate, 1, 1);
    figures->addWidget(new QLabel(QStringLiteral("Time left:"), this), 2, 0);
    figures->addWidget(m_timeLeft, 2, 1);
    figures->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_file);
    layout->addWidget(m_status);
    layout->addWidget(m_bar);
    layout->addLayout(figures);
    layout->addWidget(m_button, 0, Qt::AlignRight);
    setMinimumWidth(420);

    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, &CFtpTransferWindow::ShowProgress);
    connect(m_button, &QPushButton::clicked, this, &CFtpTransferWindow::OnButton);
}

CFtpTransferWindow::~CFtpTransferWindow() {
    if (m_worker.joinable()) {
        m_engine.Cancel();
        m_worker.join();
    }
}

int CFtpTransferWindow::DoModal() {
    m_lastError.clear();
    m_cancelRequested = false;
    if (m_nDirection != kUpload) {
        m_lastError = "this FTP library only uploads files";
        return kFailed;
    }
    SFtpSettings settings = Settings();
    SFtpResult result = RunUpload(settings);
    if (!result.ok && !result.cancelled && result.step == EFtpStep::HostKey &&
        TrustHostKey(result, settings))
        result = RunUpload(settings);
    if (result.ok)
        return 1;
    m_lastError = result.cancelled ? std::string("cancelled") : result.Describe();
    return result.cancelled ? kCancelled : kFailed;
}

SFtpSettings CFtpTransferWindow::Settings() const {
    SFtpSettings settings;
    settings.server = m_strServer;
    settings.user = m_strUsername;
    settings.password = m_strPassword;
    settings.passive = m_bPASV != 0;
    settings.systemProxy = m_bPreconfig != 0;
    settings.useProxy = m_bUseProxy != 0;
    settings.proxyServer = m_strProxyServer;
    settings.timeoutMs = m_nTimeout;
    const CProfile profile;
    settings.caFile = CAnsiText::ToBytes(profile.FtpCaFile());
    SFtpServerAddress address;
    std::string error;
    if (SFtpServerAddress::Parse(m_strServer, address, error))
        settings.trustedHostKey =
            profile.FtpTrustedHostKey(QString::fromStdString(address.HostAndPort())).toStdString();
    return settings;
}

SFtpResult CFtpTransferWindow::RunUpload(const SFtpSettings& settings) {
    m_sent = 0;
    m_total = 0;
    m_running = true;
    ShowStart();
    QEventLoop loop;
    m_worker = std::thread([this, settings, &loop] {
        const std::string local = m_strLocalPath;
        const std::string remote = m_strRemotePath;
        m_result = m_engine.Upload(settings, local, remote, [this](uint64_t sent, uint64_t total) {
            m_sent = sent;
            m_total = total;
        });
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.exit(); }, Qt::QueuedConnection);
    });
    m_clock.start();
    m_refresh.start();
    if (m_bShowProgress != 0)
        show();
    // Unseen, the run still serves timers and painting, but no click may start another.
    loop.exec(m_bShowProgress != 0 ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    m_worker.join();
    m_refresh.stop();
    m_running = false;
    ShowProgress();
    if (m_bShowProgress != 0 && m_bCloseWhenDone == 0) {
        ShowOutcome(m_result);
        exec();
    }
    hide();
    return m_result;
}

bool CFtpTransferWindow::TrustHostKey(const SFtpResult& refusal, SFtpSettings& settings) {
    const QString fingerprint = QString::fromStdString(refusal.offeredHostKey);
    SFtpServerAddress address;
    std::string error;
    if (fingerprint.isEmpty() || !SFtpServerAddress::Parse(m_strServer, address, error))
        return false;
    const QString server = QString::fromStdString(address.HostAndPort());
    const QString question =
        QStringLiteral("The server %1 identifies itself with a host key that your known hosts "
                       "file does not list:\n\n%2\n\nTrust this key and remember it for %1? Do "
                       "so only if it is the fingerprint your server's administrator gave you.")
            .arg(server, fingerprint);
    if (QMessageBox::question(parentWidget(), QStringLiteral("Unknown host key"), question) !=
        QMessageBox::Yes)
        return false;
    CProfile().SetFtpTrustedHostKey(server, fingerprint);
    settings.trustedHostKey = fingerprint.toStdString();
    return true;
}

void CFtpTransferWindow::ShowStart() {
    const QString local = FromBytes(m_strLocalPath);
    m_file->setText(QFileInfo(local).fileName() + QStringLiteral(" -> ") +
                    FromBytes(m_strRemotePath));
    m_file->setToolTip(local);
    m_status->setText(QStringLiteral("Connecting to %1...").arg(FromBytes(m_strServer)));
    m_bar->setValue(0);
    m_bytes->clear();
    m_rate->clear();
    m_timeLeft->clear();
    m_button->setText(QStringLiteral("Cancel"));
    m_button->setEnabled(true);
}

void CFtpTransferWindow::ShowProgress() {
    const uint64_t sent = m_sent;
    const uint64_t total = m_total;
    if (total == 0 && sent == 0)
        return;
    // The last bytes may sit in the system's buffers until the server has read them.
    const QString sending = sent < total ? QStringLiteral("Uploading...")
                                         : QStringLiteral("Waiting for the server to confirm "
                                                          "the whole file...");
    m_status->setText(m_cancelRequested ? QStringLiteral("Cancelling...") : sending);
    m_bar->setValue(total == 0 ? kProgressSteps : static_cast<int>(sent * kProgressSteps / total));
    m_bytes->setText(QStringLiteral("%1 of %2").arg(Size(sent), Size(total)));
    const double seconds = static_cast<double>(m_clock.elapsed()) / 1000.0;
    if (seconds <= 0.0 || sent == 0)
        return;
    const double rate = static_cast<double>(sent) / seconds;
    m_rate->setText(Size(static_cast<uint64_t>(rate)) + QStringLiteral("/s"));
    const auto left = static_cast<qint64>(static_cast<double>(total - sent) / rate + 0.5);
    m_timeLeft->setText(Duration(left));
}

void CFtpTransferWindow::ShowOutcome(const SFtpResult& result) {
    m_status->setText(result.ok          ? QStringLiteral("Done.")
                      : result.cancelled ? QStringLiteral("Cancelled.")
                                         : FromBytes(result.Describe()));
    m_button->setText(QStringLiteral("OK"));
}

void CFtpTransferWindow::reject() {
    if (m_running)
        OnButton();
    else
        QDialog::reject();
}

void CFtpTransferWindow::OnButton() {
    if (!m_running) {
        accept();
        return;
    }
    m_cancelRequested = true;
    m_button->setEnabled(false);
    m_status->setText(QStringLiteral("Cancelling..."));
    m_engine.Cancel();
}
