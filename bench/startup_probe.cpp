// The program as it starts for a user, with unattended prompts, reporting its first frame:
// when the main window has been painted once, it writes "frame" to standard output and ends
// at once, so that startup_bench can time process start to first frame.
#include "app/AutoPrompts.h"
#include "app/DesktopParts.h"
#include "ui/ProjectManagerDlg.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// Watches for the main window's first paint; reports after the frame is complete.
class CFirstFrameWatch final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Paint &&
            qobject_cast<CProjectManagerDlg*>(watched) != nullptr) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                std::fputs("frame\n", stdout);
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CFirstFrameWatch watch;
    application.installEventFilter(&watch);
    CProjectManagerApp projectManager(CreateDesktopParts(std::make_unique<CAutoPrompts>()));
    projectManager.InitInstance();
    return projectManager.ExitInstance();
}
