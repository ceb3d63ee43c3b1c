// brevane-screenshot FILE [PROJECT.xml]: draws the main window off screen with a fresh profile
// (so no greeting), the project given being auto-loaded, and saves it as a PNG image.
#include "app/AutoPrompts.h"
#include "platform/FtpLibrary.h"
#include "platform/Profile.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/Zel4Library.h"
#include "service/ServiceControlManager.h"
#include "ui/ProjectManagerDlg.h"

#include <QApplication>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Grabs the window once it has been laid out and drawn, then closes it.
bool SaveWindowImage(CProjectManagerDlg& window, const QString& file) {
    bool saved = false;
    QTimer::singleShot(300, &window, [&] {
        saved = window.grab().save(file, "PNG");
        window.reject();
    });
    window.DoModal();
    return saved;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s FILE.png [PROJECT.xml]\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quilldrake"));

    QTemporaryDir profileFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, profileFolder.path());
    CProfile profile;
    profile.SetFirstRun(1);
    if (argc == 3) {
        profile.SetAutoload(1);
        profile.SetLastProject(QString::fromLocal8Bit(argv[2]));
    }

    const auto system = CreateSystemInfo();
    const auto shell = CreateShell();
    CZel4Library updateLibrary(system->ProgramFolder());
    CFtpLibrary ftpLibrary;
    ftpLibrary.Load(system->ProgramFolder());
    CAutoPrompts prompts;
    const auto serviceManager = CreateServiceControlManager();
    CProjectManagerDlg window(SWindowServices{profile, *system, *shell, updateLibrary, ftpLibrary,
                                              prompts, *serviceManager});
    const QString file = QString::fromLocal8Bit(argv[1]);
    if (!SaveWindowImage(window, file)) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
