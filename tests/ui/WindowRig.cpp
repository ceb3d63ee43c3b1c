#include "WindowRig.h"

#include "ui/ProjectManagerDlg.h"

#include <QTest>
#include <QTimer>

std::unique_ptr<CProjectManagerDlg> SWindowRig::NewWindow() {
    return std::make_unique<CProjectManagerDlg>(services);
}

int RunModal(CProjectManagerDlg& window, const std::function<void()>& whileOpen) {
    QTimer::singleShot(0, &window, whileOpen);
    // A test whose closing failed must not hang the suite.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &window, [&window] {
        QTest::qFail("the window was not closed", __FILE__, __LINE__);
        window.done(-1);
    });
    watchdog.start(5000);
    return window.DoModal();
}
