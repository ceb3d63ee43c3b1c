// Saves a picture of the window as a start shows it: WindowGrab FILE.png [PROJECT.xml], the
// project given being auto-loaded.
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
    if (argc > 2) {
        rig.profile.SetAutoload(1);
        rig.profile.SetLastProject(QString::fromLocal8Bit(argv[2]));
    }
    auto window = rig.NewWindow();
    bool saved = false;
    QTimer::singleShot(100, window.get(), [&] {
        saved = window->grab().save(QString::fromLocal8Bit(argv[1]));
        window->done(0);
    });
    window->DoModal();
    return saved ? 0 : 1;
}
