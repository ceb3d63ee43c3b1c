#include "WindowRig.h"

#include "ui/ProjectManagerDlg.h"

#include <QFile>
#include <QPushButton>
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

void RunWindow(SWindowRig& rig, const std::function<void(CProjectManagerDlg&)>& body) {
    auto window = rig.NewWindow();
    RunModal(*window, [&] {
        body(*window);
        QTest::keyClick(window.get(), Qt::Key_Escape);
    });
}

void Click(const QWidget& window, int id) {
    QTest::mouseClick(ControlById<QPushButton>(window, id), Qt::LeftButton);
}

QStringList Entries(const QComboBox& box) {
    QStringList entries;
    for (int index = 0; index < box.count(); ++index)
        entries.append(box.itemText(index));
    return entries;
}

QString WriteFile(const QTemporaryDir& folder, const char* name, const QByteArray& content) {
    const QString path = folder.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write the test's file");
    return path;
}

SProject SampleProject() {
    SProject project;
    project.scriptFile = "/srv/updates/script.txt";
    project.iniPath = "/srv/TarvonSvc4.ini";
    project.logPath = "/srv/TarvonSvc4.log";
    project.scriptURL = "http://updates.example.com/script.txt";
    project.ftpServer = "ftp.example.com";
    project.username = "publisher";
    project.password = "s3cret <&>";
    project.pasv = true;
    project.preconfig = true;
    project.proxyServer = "proxy:8080";
    project.serverFolder = "/myapp/updates/";
    project.timeout = 30000;
    project.useProxy = false;
    project.files = {"/srv/b.bin", "/srv/A.bin", "/srv/c.bin"};
    return project;
}
