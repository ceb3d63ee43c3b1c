// The transfer dialog on screen (offscreen), uploading to pyftpdlib on 127.0.0.1.
#include "ftp/FtpTransferWindow.h"

#include "PyFtpServer.h"
#include "SshServer.h"
#include "TempFolder.h"
#include "TempProfile.h"
#include "platform/Profile.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Calls look every few milliseconds while the dialog's runs go on, until it returns true.
void WhileRunning(QWidget& dialog, std::function<bool()> look) {
    auto* timer = new QTimer(&dialog);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, look] {
        if (look())
            timer->deleteLater();
    });
    timer->start();
}

void WriteRecord(CFTPTransferDlg& dialog, const CPyFtpServer& server, const std::string& local,
                 const std::string& remote) {
    dialog.m_nDirection = CFTPTransferDlg::kUpload;
    dialog.m_strServer = server.Address();
    dialog.m_strUsername = CPyFtpServer::kUser;
    dialog.m_strPassword = CPyFtpServer::kPassword;
    dialog.m_bShowProgress = 1;
    dialog.m_bCloseWhenDone = 1;
    dialog.m_bUseProxy = 0;
    dialog.m_strLocalPath = local;
    dialog.m_strRemotePath = remote;
}

QProgressBar* Bar(const QWidget& dialog) {
    return dialog.findChild<QProgressBar*>();
}

} // namespace

class FtpTransferWindowTest : public QObject {
    Q_OBJECT

private slots:
    void runsUploadOnOneLoginAndShowProgressWhileTheyGo() {
        SPyFtpOptions throttled;
        // The server reads its first second's share at once, then keeps to the rate.
        throttled.throttleBytesPerSecond = 256 * 1024;
        CPyFtpServer server(throttled);
        CTempFolder local;
        WriteFileBytes(local / "a.bin", PatternBytes(768 * 1024, 1));
        WriteFileBytes(local / "b.bin", PatternBytes(1000, 2));
        CFtpTransferWindow dialog;
        WriteRecord(dialog, server, local / "a.bin", "/a.bin");
        int maxShown = 0;
        bool visibleAtOnce = false;
        QString bytes;
        WhileRunning(dialog, [&] {
            visibleAtOnce = visibleAtOnce || dialog.isVisible();
            maxShown = std::max(maxShown, Bar(dialog)->value());
            if (Bar(dialog)->value() > 0 && bytes.isEmpty())
                bytes = dialog.findChild<QLabel*>(QStringLiteral("bytes"))->text();
            return !dialog.isVisible() && maxShown > 0;
        });
        QCOMPARE(dialog.DoModal(), 1);
        QVERIFY(visibleAtOnce);
        QVERIFY2(maxShown > 0, "no progress was shown");
        QVERIFY2(bytes.contains(QStringLiteral(" of ")), qPrintable(bytes));
        QCOMPARE(dialog.LastErrorText(), std::string());
        dialog.m_strLocalPath = local / "b.bin";
        dialog.m_strRemotePath = "/b.bin";
        QCOMPARE(dialog.DoModal(), 1);
        QCOMPARE(ReadFileBytes(server.Root() + "/a.bin"), ReadFileBytes(local / "a.bin"));
        QCOMPARE(ReadFileBytes(server.Root() + "/b.bin"), ReadFileBytes(local / "b.bin"));
        QCOMPARE(server.Logins(), 1);
    }

    void cancelStopsTheRunAndLeavesTheOldFile_data() {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Escape") << true;
    }

    void cancelStopsTheRunAndLeavesTheOldFile() {
        QFETCH(bool, byEscape);
        SPyFtpOptions throttled;
        throttled.throttleBytesPerSecond = 100000;
        CPyFtpServer server(throttled);
        CTempFolder local;
        WriteFileBytes(local / "a.bin", PatternBytes(2000000, 3));
        WriteFileBytes(server.Root() + "/a.bin", "old");
        CFtpTransferWindow dialog;
        WriteRecord(dialog, server, local / "a.bin", "/a.bin");
        WhileRunning(dialog, [&] {
            if (Bar(dialog)->value() == 0)
                return false;
            if (byEscape)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                QTest::mouseClick(dialog.findChild<QPushButton*>(), Qt::LeftButton);
            return true;
        });
        QCOMPARE(dialog.DoModal(), 2);
        QCOMPARE(dialog.LastErrorText(), std::string("cancelled"));
        QCOMPARE(ReadFileBytes(server.Root() + "/a.bin"), std::string("old"));
        QCOMPARE(FolderEntries(server.Root()), std::vector<std::string>{"a.bin"});
    }

    void aFailureReturnsItsStepAndReason_data() {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("reason");
        QTest::newRow("wrong password") << 0 << "wrong"
                                        << "login: ";
        QTest::newRow("a download") << 1 << CPyFtpServer::kPassword << "only uploads files";
    }

    void aFailureReturnsItsStepAndReason() {
        QFETCH(int, direction);
        QFETCH(QString, password);
        QFETCH(QString, reason);
        CPyFtpServer server;
        CTempFolder local;
        WriteFileBytes(local / "a.bin", "data");
        CFtpTransferWindow dialog;
        WriteRecord(dialog, server, local / "a.bin", "/a.bin");
        dialog.m_nDirection = direction;
        dialog.m_strPassword = password.toStdString();
        QCOMPARE(dialog.DoModal(), 0);
        QVERIFY2(QString::fromStdString(dialog.LastErrorText()).contains(reason),
                 dialog.LastErrorText().c_str());
        QVERIFY(FolderEntries(server.Root()).empty());
    }

    void anUnknownHostKeyIsAskedAboutOnceAndRemembered_data() {
        QTest::addColumn<bool>("trust");
        QTest::newRow("trusted") << true;
        QTest::newRow("refused") << false;
    }

    void anUnknownHostKeyIsAskedAboutOnceAndRemembered() {
        QFETCH(bool, trust);
        const std::string unavailable = CSshServer::Unavailable();
        if (!unavailable.empty())
            QSKIP(unavailable.c_str());
        const CTempProfile profile; // nothing trusted yet
        CSshServer server;
        CTempFolder local;
        WriteFileBytes(local / "a.bin", PatternBytes(5000, 4));
        QStringList questions;
        const auto runOnce = [&] {
            CFtpTransferWindow dialog;
            dialog.m_strServer = server.Address();
            dialog.m_strUsername = CSshServer::kUser;
            dialog.m_strPassword = CSshServer::kPassword;
            dialog.m_bUseProxy = 0;
            dialog.m_strLocalPath = local / "a.bin";
            dialog.m_strRemotePath = server.UploadFolder() + "/a.bin";
            WhileRunning(dialog, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box == nullptr)
                    return false;
                questions.append(box->text());
                box->button(trust ? QMessageBox::Yes : QMessageBox::No)->click();
                return false;
            });
            return dialog.DoModal();
        };
        QCOMPARE(runOnce(), trust ? 1 : 0);
        QCOMPARE(questions.size(), 1);
        QVERIFY2(questions.front().contains(QString::fromStdString(server.Fingerprint())),
                 qPrintable(questions.front()));
        const QString hostAndPort = QString::fromStdString(server.Address()).mid(7);
        QCOMPARE(CProfile().FtpTrustedHostKey(hostAndPort),
                 trust ? QString::fromStdString(server.Fingerprint()) : QString());
        if (!trust)
            return;
        QCOMPARE(runOnce(), 1);
        QCOMPARE(questions.size(), 1); // remembered: not asked again
        QCOMPARE(ReadFileBytes(server.UploadFolder() + "/a.bin"), ReadFileBytes(local / "a.bin"));
    }

private:
    CTempProfile m_profile;
};

QTEST_MAIN(FtpTransferWindowTest)
#include "FtpTransferWindowTest.moc"
