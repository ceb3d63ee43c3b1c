// The window's Upload through the real FTP library to pyftpdlib on 127.0.0.1.
#include "PyFtpServer.h"
#include "TempFolder.h"
#include "WindowRig.h"
#include "platform/FtpLibrary.h"
#include "ui/ProjectManagerDlg.h"
#include "ui/SortedListBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class UploadEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void uploadPutsEveryListedFileOnTheServerAndSaysSo() {
        SWindowRig rig;
        rig.MarkFirstRunDone();
        CFtpLibrary library;
        QVERIFY(library.Load(BREVANE_FTP_LIBRARY_FOLDER "/"));
        SWindowServices services{rig.profile, rig.system,  rig.shell,         rig.updateLibrary,
                                 library,     rig.prompts, rig.serviceManager};
        // Slow enough for the window's status ticks to come while the dialog is up.
        SPyFtpOptions throttled;
        throttled.throttleBytesPerSecond = 512 * 1024;
        CPyFtpServer server(throttled);
        std::filesystem::create_directory(server.Root() + "/updates");
        CTempFolder local;
        WriteFileBytes(local / "setup.exe", PatternBytes(1536 * 1024, 1));
        rig.serviceManager.Install("Tarvon4", 1);
        bool dialogWasModal = false;
        bool tickServedMeanwhile = false;
        WriteFileBytes(local / "README", PatternBytes(10, 2));
        WriteFileBytes(server.Root() + "/updates/README", "old");
        {
            CProjectManagerDlg window(services);
            auto* watch = new QTimer(&window);
            QObject::connect(watch, &QTimer::timeout, [&] {
                QWidget* modal = QApplication::activeModalWidget();
                if (modal == nullptr || modal == &window || !modal->isVisible())
                    return;
                // The service starts from outside while the transfer dialog is up.
                dialogWasModal = true;
                rig.serviceManager.SetState("Tarvon4", 4);
                tickServedMeanwhile =
                    tickServedMeanwhile || ControlById<QCheckBox>(window, 1016)->isChecked();
            });
            watch->start(20);
            RunModal(window, [&] {
                ControlById<QLineEdit>(window, 1003)
                    ->setText(QString::fromStdString(server.Address()));
                ControlById<QLineEdit>(window, 1018)->setText(QStringLiteral("/updates/"));
                ControlById<QLineEdit>(window, 1019)->setText(CPyFtpServer::kUser);
                ControlById<QLineEdit>(window, 1020)->setText(CPyFtpServer::kPassword);
                auto* list = ControlById<CSortedListBox>(window, 1026);
                list->AddString(QString::fromStdString(local / "setup.exe"));
                list->AddString(QString::fromStdString(local / "README"));
                list->AddString(QString::fromStdString(local / "missing.bin"));
                QTest::mouseClick(ControlById<QPushButton>(window, 1027), Qt::LeftButton);
                QTest::keyClick(&window, Qt::Key_Escape);
            });
        }
        library.Release();
        QCOMPARE(ReadFileBytes(server.Root() + "/updates/setup.exe"),
                 ReadFileBytes(local / "setup.exe"));
        QCOMPARE(ReadFileBytes(server.Root() + "/updates/README"), ReadFileBytes(local / "README"));
        QCOMPARE(FolderEntries(server.Root() + "/updates"),
                 (std::vector<std::string>{"README", "setup.exe"}));
        QCOMPARE(server.Logins(), 1);
        QVERIFY(dialogWasModal);
        QVERIFY2(tickServedMeanwhile, "the status box did not follow the service during upload");
        QCOMPARE(rig.prompts.Messages().size(), size_t(1));
        const QString message = rig.prompts.Messages().front().text;
        const QString missing = QString::fromStdString(local / "missing.bin");
        QVERIFY2(message.startsWith(missing + QStringLiteral(" - upload failed / aborted!\n    "
                                                             "local file: ")) &&
                     message.contains(QStringLiteral("\n2 of 3 files uploaded in ")),
                 qPrintable(message));
    }
};

QTEST_MAIN(UploadEndToEndTest)
#include "UploadEndToEndTest.moc"
