#include "ControlIds.h"
#include "WindowRig.h"
#include "ui/ProjectManagerDlg.h"
#include "ui/SortedListBox.h"

#include <QCheckBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

namespace {

constexpr int32_t kUnwritten = CFakeTransferLibrary::kUnwritten;
const std::string kUnwrittenText = CFakeTransferLibrary::kUnwrittenText;
const QString kSucceeded = QStringLiteral("Your files were successfully uploaded!");

CSortedListBox* List(const QWidget& window) {
    return ControlById<CSortedListBox>(window, kUploadList);
}

void Type(const QWidget& window, int id, const QString& text) {
    ControlById<QLineEdit>(window, id)->setText(text);
}

void Fill(const QWidget& window, const QStringList& files) {
    for (const QString& file : files)
        List(window)->AddString(file);
}

// The remote settings a publisher types, away from every initial value.
void TypeRemoteSettings(const QWidget& window) {
    Type(window, kServer, QStringLiteral("ftp.example.com"));
    Type(window, kFolder, QStringLiteral("/myapp/updates/"));
    Type(window, kUser, QStringLiteral("publisher"));
    Type(window, kPassword, QStringLiteral("s3cret"));
    ControlById<QCheckBox>(window, kPasv)->setChecked(true);
    ControlById<QCheckBox>(window, kPreconfig)->setChecked(true);
    ControlById<QCheckBox>(window, kUseProxy)->setChecked(false);
    Type(window, kProxy, QStringLiteral("proxy:8080"));
    Type(window, kTimeout, QStringLiteral("30000"));
}

} // namespace

class UploadHandlersTest : public QObject {
    Q_OBJECT

    const std::vector<CFakeTransferLibrary::SRun>& Runs() const {
        return m_rig->transferLibrary.Runs();
    }
    QString OnlyMessage() const {
        if (m_rig->prompts.Messages().size() != 1)
            return QStringLiteral("<%1 messages>").arg(m_rig->prompts.Messages().size());
        return m_rig->prompts.Messages().front().text;
    }

private slots:
    void init() {
        m_rig = std::make_unique<SWindowRig>();
        m_rig->MarkFirstRunDone();
    }
    void cleanup() { m_rig.reset(); }

    void uploadWritesTheSettingsOnceAndThePathsForEachFileInListOrder() {
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            TypeRemoteSettings(window);
            Fill(window, {"/build/setup.exe", "/build/README", "/build/app.tar.gz"});
            Click(window, kUpload);
        });
        QCOMPARE(Runs().size(), size_t(3));
        const CFakeTransferLibrary::SRun& first = Runs().front();
        QCOMPARE(first.direction, 0);
        QCOMPARE(first.server, std::string("ftp.example.com"));
        QCOMPARE(first.showProgress, 1);
        QCOMPARE(first.closeWhenDone, 1);
        QCOMPARE(first.pasv, 1);
        QCOMPARE(first.preconfig, 1);
        QCOMPARE(first.useProxy, 0);
        QCOMPARE(first.proxyServer, std::string("proxy:8080"));
        QCOMPARE(first.timeout, 30000u);
        QCOMPARE(first.username, std::string("publisher"));
        QCOMPARE(first.password, std::string("s3cret"));
        const std::pair<std::string, std::string> paths[] = {
            {"/build/app.tar.gz", "/myapp/updates/app.tar.gz"},
            {"/build/README", "/myapp/updates/README"},
            {"/build/setup.exe", "/myapp/updates/setup.exe"},
        };
        for (size_t index = 0; index < Runs().size(); ++index) {
            const CFakeTransferLibrary::SRun& run = Runs()[index];
            QCOMPARE(run.dialog, 1);
            QCOMPARE(run.localPath, paths[index].first);
            QCOMPARE(run.remotePath, paths[index].second);
            if (index == 0)
                continue;
            // Written once: after the first run the dialog's own markers stay.
            QCOMPARE(run.server, kUnwrittenText);
            QCOMPARE(run.username, kUnwrittenText);
            QCOMPARE(run.pasv, kUnwritten);
            QCOMPARE(run.timeout, static_cast<uint32_t>(kUnwritten));
        }
        QCOMPARE(m_rig->transferLibrary.Created(), 1);
        QCOMPARE(m_rig->transferLibrary.Destroyed(), 1);
        const QString message = OnlyMessage();
        QVERIFY2(QRegularExpression(QStringLiteral("^Your files were successfully uploaded!\\n\\n"
                                                   "3 of 3 files uploaded in \\d+\\.\\d s\\.$"))
                     .match(message)
                     .hasMatch(),
                 qPrintable(message));
    }

    void anEmptyUserNameLeavesTheDialogsOwnLogin() {
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            TypeRemoteSettings(window);
            Type(window, kUser, QString());
            Fill(window, {"/build/setup.exe"});
            Click(window, kUpload);
        });
        QCOMPARE(Runs().size(), size_t(1));
        QCOMPARE(Runs().front().username, kUnwrittenText);
        QCOMPARE(Runs().front().password, kUnwrittenText);
        QCOMPARE(Runs().front().server, std::string("ftp.example.com"));
    }

    void anEmptyListRunsNoTransferAndSucceeds() {
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) { Click(window, kUpload); });
        QVERIFY(Runs().empty());
        QCOMPARE(OnlyMessage(), kSucceeded);
        QCOMPARE(m_rig->transferLibrary.Created(), 1);
        QCOMPARE(m_rig->transferLibrary.Destroyed(), 1);
    }

    void everyFileIsAttemptedAndEachFailureListedWithItsReason() {
        m_rig->transferLibrary.QueueResult(1);
        m_rig->transferLibrary.QueueResult(0, "550 /myapp/updates/b.bin: Permission denied");
        m_rig->transferLibrary.QueueResult(1);
        m_rig->transferLibrary.QueueResult(2);
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            TypeRemoteSettings(window);
            Fill(window, {"/x/d.bin", "/x/c.bin", "/x/b.bin", "/x/a.bin"});
            Click(window, kUpload);
        });
        QCOMPARE(Runs().size(), size_t(4));
        const QString message = OnlyMessage();
        QVERIFY2(message.startsWith(QStringLiteral(
                     "/x/b.bin - upload failed / aborted!\n"
                     "    550 /myapp/updates/b.bin: Permission denied\n"
                     "/x/d.bin - upload failed / aborted!\n\n2 of 4 files uploaded in ")),
                 qPrintable(message));
    }

    void withoutTheFtpLibraryNothingIsAttempted() {
        m_rig->transferLibrary.SetAvailable(false);
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            Fill(window, {"/build/setup.exe"});
            Click(window, kUpload);
        });
        QVERIFY(Runs().empty());
        QCOMPARE(OnlyMessage(), QStringLiteral("FTP is not available: the FTP library (libftp.so) "
                                               "could not be loaded when the program started."));
    }

    void addAsksForSeveralFilesAndListsThemSortedDuplicatesToo() {
        m_rig->prompts.QueueFiles({"/b/B.exe", "/a/A.exe", "/a/A.exe"});
        QStringList listed;
        const QWidget* owner = nullptr;
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            owner = &window;
            Click(window, kAdd);
            listed = List(window)->Strings();
            Click(window, kUpload);
        });
        QCOMPARE(listed, (QStringList{"/a/A.exe", "/a/A.exe", "/b/B.exe"}));
        QCOMPARE(Runs().size(), size_t(3));
        QCOMPARE(Runs().back().localPath, std::string("/b/B.exe"));
        QCOMPARE(m_rig->prompts.Choosers().size(), size_t(1));
        const CScriptedPrompts::SChooser& chooser = m_rig->prompts.Choosers().front();
        QCOMPARE(chooser.owner, owner);
        QVERIFY(!chooser.request.save);
        QCOMPARE(chooser.request.title, QStringLiteral("Select files for upload.."));
        QCOMPARE(chooser.request.filter, QStringLiteral("All files (*.*)|*.*||"));
        QCOMPARE(chooser.request.flags, 0x206u);
        QCOMPARE(chooser.request.defaultExtension, QString());
        QCOMPARE(chooser.request.fileName, QString());
    }

    void aCancelledChooserAddsNothing() {
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            Click(window, kAdd);
            QCOMPARE(List(window)->count(), 0);
        });
    }

    void deleteAndDoubleClickRemoveTheSelectedEntryOnly() {
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            Fill(window, {"/a", "/b", "/c"});
            CSortedListBox* list = List(window);
            list->clearSelection();
            Click(window, kDelete);
            QCOMPARE(list->count(), 3);
            list->item(1)->setSelected(true);
            Click(window, kDelete);
            QCOMPARE(list->Strings(), (QStringList{"/a", "/c"}));
            const QPoint onFirst = list->visualItemRect(list->item(0)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onFirst);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, onFirst);
            QCOMPARE(list->Strings(), QStringList{"/c"});
        });
    }

    void droppedFilesAndFoldersAreAddedAndOtherAddressesIgnored() {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("setup.exe"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file), QUrl(QStringLiteral("https://example.com/x.exe")),
                      QUrl::fromLocalFile(folder.path())});
        data.setText(QStringLiteral("some text"));
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            QWidget* target = List(window)->viewport();
            const QPoint at = target->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &drop);
            QVERIFY(drop.isAccepted());
            QCOMPARE(List(window)->Strings(), (QStringList{folder.path(), file}));
        });
    }

    void anEntryTooLongForTheListShowsItselfAsItsTooltip() {
        const QString longPath = QStringLiteral("/build/") + QString(200, QLatin1Char('x'));
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            Fill(window, {"/a", longPath});
            CSortedListBox* list = List(window);
            const auto tipAt = [&](int row) {
                const QPoint at = list->visualItemRect(list->item(row)).topLeft() + QPoint(4, 2);
                QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
                QApplication::sendEvent(list->viewport(), &help);
                QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
                QToolTip::hideText();
                return text.remove(QLatin1Char('\n'));
            };
            QTRY_COMPARE(tipAt(1), longPath);
            QTRY_COMPARE(tipAt(0), QStringLiteral("Files to be uploaded"));
        });
    }

private:
    std::unique_ptr<SWindowRig> m_rig;
};

QTEST_MAIN(UploadHandlersTest)
#include "UploadHandlersTest.moc"
