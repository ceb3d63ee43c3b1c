// The service status box's handlers of the main window: its click, the status timer's tick and
// the controller's progress messages.
#include "ui/ProjectManagerDlg.h"

#include "service/ServiceController.h"
#include "ui/ProjectManagerTemplate.h"

#include <QApplication>
#include <QCheckBox>

using namespace ProjectManagerTemplate;

namespace {

const char* const kServiceName = "Tarvon4";
const char* const kStartedCaption = "Service status: Started";
const char* const kStoppedCaption = "Service status: Stopped";
// The box's state right after a click is the request.
constexpr int32_t kStartRequested = 1;
constexpr int32_t kStopRequested = 2;

// The wait cursor while a start or stop blocks the window.
struct SBusyCursor {
    SBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~SBusyCursor() { QApplication::restoreOverrideCursor(); }
    SBusyCursor(const SBusyCursor&) = delete;
    SBusyCursor& operator=(const SBusyCursor&) = delete;
};

} // namespace

void CProjectManagerDlg::OnServiceStatus() {
    UpdateData(true);
    CServiceController controller(m_services.serviceManager);
    controller.SetStatusCallback(ServiceProgress, this);
    if (m_nServiceStatus == kStartRequested || m_nServiceStatus == kStopRequested) {
        const SBusyCursor busy;
        if (m_nServiceStatus == kStartRequested)
            controller.Start(kServiceName);
        else
            controller.Stop(kServiceName);
    }
    m_nServiceStatus = controller.QueryState(kServiceName) == kServiceRunning ? 1 : 0;
    UpdateData(false);
}

void CProjectManagerDlg::OnTimer(int /*timerId*/) {
    // The timeout field's refusal is the user's business at the next click, not every second.
    Transfer(true, false);
    CServiceController controller(m_services.serviceManager);
    const bool running = controller.QueryState(kServiceName) == kServiceRunning;
    m_nServiceStatus = running ? 1 : 0;
    auto* box = Control<QCheckBox>(kServiceStatus);
    box->setText(QString::fromLatin1(running ? kStartedCaption : kStoppedCaption));
    box->setCheckState(running ? Qt::Checked : Qt::Unchecked);
}

void CProjectManagerDlg::ServiceProgress(const char* message, void* userData) {
    auto& window = *static_cast<CProjectManagerDlg*>(userData);
    CServiceController controller(window.m_services.serviceManager);
    const uint32_t state = controller.QueryState(kServiceName);
    const char* caption = message;
    if (state == kServiceStopped && window.m_nServiceStatus == kStopRequested)
        caption = kStoppedCaption;
    else if (state == kServiceRunning && window.m_nServiceStatus == kStartRequested)
        caption = kStartedCaption;
    window.ShowServiceCaption(QString::fromLatin1(caption));
}

void CProjectManagerDlg::ShowServiceCaption(const QString& caption) {
    auto* box = Control<QCheckBox>(kServiceStatus);
    box->setText(caption);
    // The thread waits in the controller, so the box is painted now rather than later.
    box->repaint();
}
