// Saves a picture of the window as a first start shows it: WindowGrab FILE.png
#include "WindowRig.h"
#include "ui/ProjectManagerDlg.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2)
        return 2;
    SWindowRig rig;
    rig.MarkFirstRunDone();
    auto window = rig.NewWindow();
    bool saved = false;
    QTimer::singleShot(100, window.get(), [&] {
        saved = window->grab().save(QString::fromLocal8Bit(argv[1]));
        window->done(0);
    });
    window->DoModal();
    return saved ? 0 : 1;
}
