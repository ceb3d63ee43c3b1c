#include "app/ProjectManagerApp.h"
#include "SimulatedServiceManager.h"
#include "app/DesktopParts.h"
#include "platform/Profile.h"
#include "ui/ProjectManagerDlg.h"
#include "ui/WindowServices.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <dlfcn.h>

namespace {

const QString kUpdateCheckUrl =
    QStringLiteral("http://" BREVANE_UPDATE_HOST "/zelupdates/zelcheck4_silent.txt");
const QString kFtpWarning =
    QStringLiteral("message: FTP.DLL could not be found.  FTP will not be available.");
// A folder holding a library that loads as the FTP library.
const std::string kFolderWithFtp = BREVANE_FAKE_FTP_FOLDER "/";

// The order in which the application reached the outside world.
using EventLog = QStringList;

class CRecordingPrompts final : public CPrompts {
public:
    explicit CRecordingPrompts(EventLog& log) : m_log(log) {}
    PromptAnswer MessageBox(QWidget* owner, const QString& text, const QString& caption,
                            PromptButtons buttons) override {
        m_log << QStringLiteral("message: ") + text;
        m_boxes << Box{owner, caption, buttons};
        return PromptAnswer::Ok;
    }
    std::optional<QString> ChooseFile(QWidget*, const FileChooserRequest&) override {
        m_log << QStringLiteral("chooser");
        return std::nullopt;
    }
    QStringList ChooseFiles(QWidget*, const FileChooserRequest&) override {
        m_log << QStringLiteral("chooser");
        return QStringList();
    }

    struct Box {
        QWidget* owner;
        QString caption;
        PromptButtons buttons;
    };
    QList<Box> m_boxes;

private:
    EventLog& m_log;
};

class CRecordingUpdateLibrary final : public CUpdateLibrary {
public:
    explicit CRecordingUpdateLibrary(EventLog& log) : m_log(log) {}
    void Tarvon(const std::string& url) override {
        m_log << QStringLiteral("Tarvon: ") + QString::fromStdString(url);
    }
    void TarvonWait(const std::string& url, int32_t timeoutMs) override {
        m_log
            << QStringLiteral("TarvonWait: %1 %2").arg(QString::fromStdString(url)).arg(timeoutMs);
    }

private:
    EventLog& m_log;
};

// This system, except that the program lives in the given folder.
class CSystemInFolder final : public CSystemInfo {
public:
    explicit CSystemInFolder(std::string folder) : m_folder(std::move(folder)) {}
    std::string WindowsDirectory() const override { return m_real->WindowsDirectory(); }
    std::string SystemDirectory() const override { return m_real->SystemDirectory(); }
    std::string ProgramPath() const override { return m_folder + "TarvonSCP"; }
    std::string ProgramFolder() const override { return m_folder; }
    std::string LoginName() const override { return m_real->LoginName(); }

private:
    std::string m_folder;
    std::unique_ptr<CSystemInfo> m_real = CreateSystemInfo();
};

bool IsFtpLibraryMapped() {
    void* module = dlopen((kFolderWithFtp + "libftp.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (module != nullptr)
        dlclose(module);
    return module != nullptr;
}

} // namespace

// The application object's start-up and shutdown, with recording parts.
class ProjectManagerAppTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_profileFolder;
    QTemporaryDir m_emptyProgramFolder;
    EventLog m_log;
    CRecordingPrompts* m_prompts = nullptr;

    // Parts that record into m_log; the window is replaced by runWindow.
    SAppParts RecordingParts(const std::string& programFolder,
                             std::function<void(const SWindowServices&)> runWindow) {
        SAppParts parts;
        parts.system = std::make_unique<CSystemInFolder>(programFolder);
        parts.shell = CreateShell();
        parts.updateLibrary = std::make_unique<CRecordingUpdateLibrary>(m_log);
        auto prompts = std::make_unique<CRecordingPrompts>(m_log);
        m_prompts = prompts.get();
        parts.prompts = std::move(prompts);
        parts.serviceManager = std::make_unique<CSimulatedServiceManager>();
        parts.runMainWindow = std::move(runWindow);
        return parts;
    }

    std::string EmptyFolder() const { return m_emptyProgramFolder.path().toStdString() + "/"; }

private slots:
    void init() {
        QVERIFY(m_profileFolder.isValid() && m_emptyProgramFolder.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_profileFolder.path());
        m_log.clear();
    }

    void MissingFtpLibraryWarnsOnceBeforeTheWindow() {
        CProjectManagerApp app(
            RecordingParts(EmptyFolder(), [&](const SWindowServices&) { m_log << "window"; }));
        QCOMPARE(app.InitInstance(), false);
        QCOMPARE(m_log, EventLog({kFtpWarning, "Tarvon: " + kUpdateCheckUrl, "window"}));
        QCOMPARE(m_prompts->m_boxes.size(), 1);
        QCOMPARE(m_prompts->m_boxes[0].owner, nullptr);
        QCOMPARE(m_prompts->m_boxes[0].caption, QString()); // the application's name
        QCOMPARE(m_prompts->m_boxes[0].buttons, PromptButtons::Ok);
        QVERIFY(!app.IsFtpLibraryLoaded());
        QCOMPARE(app.ExitInstance(), 0);
    }

    void UnloadableFtpLibraryWarnsAsAMissingOne() {
        QFile broken(m_emptyProgramFolder.filePath("libftp.so"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a library");
        broken.close();
        CProjectManagerApp app(
            RecordingParts(EmptyFolder(), [&](const SWindowServices&) { m_log << "window"; }));
        app.InitInstance();
        broken.remove();
        QCOMPARE(m_log, EventLog({kFtpWarning, "Tarvon: " + kUpdateCheckUrl, "window"}));
        QVERIFY(!app.IsFtpLibraryLoaded());
    }

    void PresentFtpLibraryIsHeldForTheRunAndReleasedAtExit() {
        bool mappedDuringWindow = false;
        CProjectManagerApp app(RecordingParts(kFolderWithFtp, [&](const SWindowServices&) {
            mappedDuringWindow = IsFtpLibraryMapped();
            m_log << "window";
        }));
        app.InitInstance();
        QCOMPARE(m_log, EventLog({"Tarvon: " + kUpdateCheckUrl, "window"}));
        QVERIFY(mappedDuringWindow);
        QVERIFY(app.IsFtpLibraryLoaded());
        app.ExitInstance();
        QVERIFY(!app.IsFtpLibraryLoaded());
        QVERIFY(!IsFtpLibraryMapped());
    }

    void TheRealFtpLibraryMakesTransferDialogsAndLeavesCleanly() {
        int result = -1;
        std::string reason;
        CProjectManagerApp app(
            RecordingParts(BREVANE_FTP_LIBRARY_FOLDER "/", [&](const SWindowServices& services) {
                TransferDlgPtr dialog = services.transferLibrary.NewTransferDlg();
                if (dialog == nullptr)
                    return;
                dialog->m_nDirection = CFTPTransferDlg::kDownload;
                result = dialog->DoModal();
                reason = dialog->LastErrorText();
            }));
        app.InitInstance();
        QVERIFY(!m_log.contains(kFtpWarning));
        QCOMPARE(result, 0);
        QCOMPARE(reason, std::string("this FTP library only uploads files"));
        QCOMPARE(app.ExitInstance(), 0);
        QVERIFY(!app.IsFtpLibraryLoaded());
    }

    void WindowGetsTheApplicationsPartsAndProfileRoot() {
        const CSystemInfo* system = nullptr;
        const CUpdateLibrary* updateLibrary = nullptr;
        const CPrompts* prompts = nullptr;
        const CServiceControlManager* serviceManager = nullptr;
        SAppParts parts = RecordingParts(kFolderWithFtp, [&](const SWindowServices& services) {
            QCOMPARE(&services.system, system);
            QCOMPARE(&services.updateLibrary, updateLibrary);
            QCOMPARE(&services.prompts, prompts);
            QCOMPARE(&services.serviceManager, serviceManager);
            QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Quilldrake"));
            QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("app_tests"));
            services.profile.SetFirstRun(1);
        });
        system = parts.system.get();
        updateLibrary = parts.updateLibrary.get();
        prompts = parts.prompts.get();
        serviceManager = parts.serviceManager.get();
        CProjectManagerApp app(std::move(parts));
        app.InitInstance();
        app.ExitInstance();
        QSettings stored(m_profileFolder.path() + "/Quilldrake/app_tests.conf",
                         QSettings::IniFormat);
        QCOMPARE(stored.value("Settings/FirstRun").toInt(), 1);
    }

    // The real window, run by the application: it appears only after the update check.
    void RealWindowIsShownOnlyAfterTheUpdateCheck() {
        SAppParts desktop = CreateDesktopParts(std::make_unique<CRecordingPrompts>(m_log));
        SAppParts parts = RecordingParts(EmptyFolder(), [&](const SWindowServices& services) {
            QTimer::singleShot(0, [&] {
                for (QWidget* window : QApplication::topLevelWidgets())
                    if (auto* dialog = qobject_cast<CProjectManagerDlg*>(window))
                        if (dialog->isVisible()) {
                            m_log << "shown";
                            dialog->reject();
                        }
            });
            desktop.runMainWindow(services);
        });
        CProjectManagerApp app(std::move(parts));
        app.InitInstance();
        app.ExitInstance();
        QCOMPARE(m_log.count(kFtpWarning), 1);
        const int update = m_log.indexOf("Tarvon: " + kUpdateCheckUrl);
        QVERIFY(update > m_log.indexOf(kFtpWarning));
        QVERIFY(m_log.indexOf("shown") > update);
        QCOMPARE(m_log.filter("Tarvon").size(), 1);
    }
};

QTEST_MAIN(ProjectManagerAppTest)
#include "ProjectManagerAppTest.moc"
