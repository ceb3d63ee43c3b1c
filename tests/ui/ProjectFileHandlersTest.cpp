#include "ControlIds.h"
#include "FileSizeLimit.h"
#include "WindowRig.h"
#include "project/ProjectFile.h"
#include "ui/HistoryComboBox.h"
#include "ui/ProjectManagerDlg.h"
#include "ui/SortedListBox.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <cstring>

namespace {

const char* const kNotAProject = "XML File '%1' is not a TarvonSCP project!";

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

CHistoryComboBox* Field(const QWidget& window, int id) {
    return ControlById<CHistoryComboBox>(window, id);
}

QLineEdit* Edit(const QWidget& window, int id) {
    return ControlById<QLineEdit>(window, id);
}

QCheckBox* Check(const QWidget& window, int id) {
    return ControlById<QCheckBox>(window, id);
}

CSortedListBox* UploadList(const QWidget& window) {
    return ControlById<CSortedListBox>(window, kUploadList);
}

// Types a project into the window's controls, as a user would, without any transfer.
void TypeProject(const QWidget& window, const SProject& project) {
    Field(window, kScriptFile)->setEditText(Text(project.scriptFile));
    Field(window, kIniPath)->setEditText(Text(project.iniPath));
    Field(window, kLogPath)->setEditText(Text(project.logPath));
    Field(window, kScriptURL)->setEditText(Text(project.scriptURL));
    Edit(window, kServer)->setText(Text(project.ftpServer));
    Edit(window, kUser)->setText(Text(project.username));
    Edit(window, kPassword)->setText(Text(project.password));
    Check(window, kPasv)->setChecked(project.pasv);
    Check(window, kPreconfig)->setChecked(project.preconfig);
    Edit(window, kProxy)->setText(Text(project.proxyServer));
    Edit(window, kFolder)->setText(Text(project.serverFolder));
    Edit(window, kTimeout)->setText(QString::number(project.timeout));
    Check(window, kUseProxy)->setChecked(project.useProxy);
    UploadList(window)->clear();
    for (const std::string& file : project.files)
        UploadList(window)->AddString(Text(file));
}

// The project as the window's controls show it.
SProject ShownProject(const QWidget& window) {
    SProject project;
    project.scriptFile = Field(window, kScriptFile)->currentText().toStdString();
    project.iniPath = Field(window, kIniPath)->currentText().toStdString();
    project.logPath = Field(window, kLogPath)->currentText().toStdString();
    project.scriptURL = Field(window, kScriptURL)->currentText().toStdString();
    project.ftpServer = Edit(window, kServer)->text().toStdString();
    project.username = Edit(window, kUser)->text().toStdString();
    project.password = Edit(window, kPassword)->text().toStdString();
    project.pasv = Check(window, kPasv)->isChecked();
    project.preconfig = Check(window, kPreconfig)->isChecked();
    project.proxyServer = Edit(window, kProxy)->text().toStdString();
    project.serverFolder = Edit(window, kFolder)->text().toStdString();
    project.timeout = Edit(window, kTimeout)->text().toUInt();
    project.useProxy = Check(window, kUseProxy)->isChecked();
    for (const QString& file : UploadList(window)->Strings())
        project.files.push_back(file.toStdString());
    return project;
}

SProject OtherProject() {
    SProject project;
    project.scriptFile = "/other/script.txt";
    project.iniPath = "/other/TarvonSvc4.ini";
    project.logPath = "/other/TarvonSvc4.log";
    project.scriptURL = "http://other/";
    project.ftpServer = "ftp.other.org";
    project.timeout = 7;
    project.files = {"/other/z.bin"};
    return project;
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

QJsonObject AsJson(const SProject& project) {
    QJsonArray files;
    for (const std::string& file : project.files)
        files.append(Text(file));
    return QJsonObject{
        {"ScriptFile", Text(project.scriptFile)},
        {"INIpath", Text(project.iniPath)},
        {"LogPath", Text(project.logPath)},
        {"ScriptURL", Text(project.scriptURL)},
        {"FTPServer", Text(project.ftpServer)},
        {"Username", Text(project.username)},
        {"Password", Text(project.password)},
        {"PASV", project.pasv},
        {"Preconfig", project.preconfig},
        {"ProxyServer", Text(project.proxyServer)},
        {"ServerFolder", Text(project.serverFolder)},
        {"Timeout", qint64(project.timeout)},
        {"UseProxy", project.useProxy},
        {"Files", files},
    };
}

} // namespace

class ProjectFileHandlersTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_rig = std::make_unique<SWindowRig>();
        m_rig->MarkFirstRunDone();
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
    }
    void cleanup() {
        m_rig.reset();
        m_folder.reset();
    }

    void newAnsweredYesEmptiesTheScriptFieldsAndTheList() {
        m_rig->profile.SetLastProject(QStringLiteral("/kept/project.xml"));
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            TypeProject(window, SampleProject());
            Field(window, kScriptURL)->RecordText();
            QVERIFY(window.UpdateData(true));
            // Typed after the last transfer: New shows the transferred value again.
            Edit(window, kServer)->setText(QStringLiteral("typed.after.transfer"));
            m_rig->prompts.QueueAnswer(PromptAnswer::Yes);
            Click(window, kNew);

            QCOMPARE(Field(window, kScriptURL)->currentText(), QString());
            QCOMPARE(Field(window, kScriptFile)->currentText(), QString());
            QCOMPARE(Entries(*Field(window, kScriptURL)),
                     QStringList{Text(SampleProject().scriptURL)});
            QCOMPARE(UploadList(window)->count(), 0);
            QCOMPARE(Field(window, kIniPath)->currentText(), Text(SampleProject().iniPath));
            QCOMPARE(Field(window, kLogPath)->currentText(), Text(SampleProject().logPath));
            QCOMPARE(Edit(window, kServer)->text(), Text(SampleProject().ftpServer));
            QCOMPARE(Edit(window, kPassword)->text(), Text(SampleProject().password));
            QCOMPARE(Edit(window, kTimeout)->text(), QStringLiteral("30000"));
            QVERIFY(Check(window, kPasv)->isChecked());
        });
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
        QCOMPARE(m_rig->prompts.Messages().front().text, QStringLiteral("Start new project?"));
        QCOMPARE(m_rig->prompts.Messages().front().buttons, PromptButtons::YesNo);
        QCOMPARE(m_rig->profile.LastProject(), QStringLiteral("/kept/project.xml"));
    }

    void newAnsweredNoChangesNothing() {
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            TypeProject(window, SampleProject());
            Edit(window, kServer)->setText(QStringLiteral("typed.only"));
            m_rig->prompts.QueueAnswer(PromptAnswer::No);
            Click(window, kNew);
            SProject expected = SampleProject();
            expected.ftpServer = "typed.only";
            expected.files = {"/srv/A.bin", "/srv/b.bin", "/srv/c.bin"};
            QCOMPARE(Text(ProjectFile::Save(ShownProject(window))),
                     Text(ProjectFile::Save(expected)));
        });
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
    }

    void choosersAreAskedForXmlProjects() {
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            Click(window, kLoad);
            Click(window, kSave);
            QCOMPARE(m_rig->prompts.Choosers().size(), size_t(2));
            for (size_t index = 0; index < 2; ++index) {
                const CScriptedPrompts::SChooser& chooser = m_rig->prompts.Choosers()[index];
                QCOMPARE(chooser.owner, &window);
                QCOMPARE(chooser.request.save, index == 1);
                QCOMPARE(chooser.request.defaultExtension, QStringLiteral("*.xml"));
                QCOMPARE(chooser.request.fileName, QString());
                QCOMPARE(chooser.request.initialFolder, QString());
                QCOMPARE(chooser.request.filter,
                         QStringLiteral("XML Project files (*.xml)|*.xml||"));
                QCOMPARE(chooser.request.flags, 0x00800006u);
            }
        });
        // Both cancelled: nothing written, nothing asked.
        QVERIFY(m_rig->prompts.Messages().empty());
        QCOMPARE(m_rig->profile.LastProject(), QString());
        QVERIFY(QDir(m_folder->path()).isEmpty());
    }

    void savedProjectLoadsBackIntoEveryControlSorted() {
        const QString path = m_folder->filePath(QStringLiteral("round trip.xml"));
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            TypeProject(window, SampleProject());
            m_rig->prompts.QueueFile(path);
            Click(window, kSave);
            QCOMPARE(m_rig->profile.LastProject(), path);

            m_rig->profile.SetLastProject(QString());
            TypeProject(window, OtherProject());
            m_rig->prompts.QueueFile(path);
            Click(window, kLoad);

            SProject expected = SampleProject();
            expected.files = {"/srv/A.bin", "/srv/b.bin", "/srv/c.bin"};
            QCOMPARE(Text(ProjectFile::Save(ShownProject(window))),
                     Text(ProjectFile::Save(expected)));
            QCOMPARE(UploadList(window)->Strings(),
                     (QStringList{"/srv/A.bin", "/srv/b.bin", "/srv/c.bin"}));
            // The loaded paths entered their histories on top of what was there.
            QCOMPARE(Entries(*Field(window, kScriptFile)).first(), Text(expected.scriptFile));
            QCOMPARE(Entries(*Field(window, kIniPath)).first(), Text(expected.iniPath));
        });
        QVERIFY(m_rig->prompts.Messages().empty());
        QCOMPARE(m_rig->profile.LastProject(), path);
        QCOMPARE(ReadBytes(path), QByteArray::fromStdString(ProjectFile::Save([] {
                     SProject saved = SampleProject();
                     saved.files = {"/srv/A.bin", "/srv/b.bin", "/srv/c.bin"};
                     return saved;
                 }())));
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"round trip.xml"});
    }

    void savedProjectIsByteForByteWhatTheCompanionWrites() {
        SProject project = SampleProject();
        project.scriptURL = "http://updates.example.com/a b/<script>&.txt";
        project.files = {"/srv/b.bin", "/srv/A.bin", "/srv/a.bin", "/srv/c d.bin"};
        const QString windowPath = m_folder->filePath(QStringLiteral("window.xml"));
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            TypeProject(window, project);
            m_rig->prompts.QueueFile(windowPath);
            Click(window, kSave);
        });
        const QString cliPath = m_folder->filePath(QStringLiteral("cli.xml"));
        QProcess cli;
        cli.start(
            QStringLiteral(TARVONSCP_CLI_PATH),
            {QStringLiteral("save"), cliPath, QStringLiteral("--from-json"), QStringLiteral("-")});
        cli.write(QJsonDocument(AsJson(project)).toJson());
        cli.closeWriteChannel();
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitCode(), 0);
        QVERIFY(!ReadBytes(cliPath).isEmpty());
        QCOMPARE(ReadBytes(windowPath), ReadBytes(cliPath));
    }

    void textsOfAnyCodePageSurviveLoadAndSaveAndShowReadably_data() {
        QTest::addColumn<QByteArray>("sample");
        QTest::addColumn<QString>("shown");
        QTest::newRow("windows-1252") << QByteArray("Gr\xF6\xDF"
                                                    "e \x80")
                                      << QStringLiteral("Größe €");
        QTest::newRow("utf-8") << QByteArray("Gr\xC3\xB6\xC3\x9F\x65 \xE2\x82\xAC")
                               << QStringLiteral("Größe €");
        // One value of both: read as Windows-1252, as the companion shows it.
        QTest::newRow("mixture") << QByteArray("\xC3\xB6\xDF \x81") << QStringLiteral("Ã¶ß \u0081");
    }

    void textsOfAnyCodePageSurviveLoadAndSaveAndShowReadably() {
        QFETCH(QByteArray, sample);
        QFETCH(QString, shown);
        const std::string bytes = sample.toStdString();
        SProject project;
        for (std::string* text : {&project.scriptFile, &project.iniPath, &project.logPath,
                                  &project.scriptURL, &project.ftpServer, &project.username,
                                  &project.password, &project.proxyServer, &project.serverFolder})
            *text = "/" + bytes;
        project.files = {"/a/" + bytes, "/b/" + bytes};
        const QByteArray original = QByteArray::fromStdString(ProjectFile::Save(project));
        const QString loaded = WriteFile(*m_folder, "loaded.xml", original);
        const QString saved = m_folder->filePath(QStringLiteral("saved.xml"));
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            QVERIFY(window.LoadProjectFile(loaded));
            QCOMPARE(Edit(window, kServer)->text(), QLatin1Char('/') + shown);
            QCOMPARE(Field(window, kScriptURL)->currentText(), QLatin1Char('/') + shown);
            QCOMPARE(UploadList(window)->Strings().first(), QStringLiteral("/a/") + shown);
            m_rig->prompts.QueueFile(saved);
            Click(window, kSave);
        });
        QCOMPARE(ReadBytes(saved), original);
        // The companion shows the file's texts as the window does.
        QProcess cli;
        cli.start(QStringLiteral(TARVONSCP_CLI_PATH), {QStringLiteral("show"), loaded});
        QVERIFY(cli.waitForFinished(10000));
        const QJsonObject shownByCli =
            QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
        QCOMPARE(shownByCli.value(QStringLiteral("FTPServer")).toString(),
                 QLatin1Char('/') + shown);
        QCOMPARE(shownByCli.value(QStringLiteral("Files")).toArray().first().toString(),
                 QStringLiteral("/a/") + shown);
        // The path fields' histories keep the bytes through the profile into the next run.
        const QString again = m_folder->filePath(QStringLiteral("again.xml"));
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            QCOMPARE(Field(window, kIniPath)->currentText(), QLatin1Char('/') + shown);
            m_rig->prompts.QueueFile(again);
            Click(window, kSave);
        });
        SProject next;
        QVERIFY(ProjectFile::Load(ReadBytes(again).toStdString(), next));
        QCOMPARE(QByteArray::fromStdString(next.scriptFile), QByteArray("/" + sample));
        QCOMPARE(QByteArray::fromStdString(next.logPath), QByteArray("/" + sample));
        QVERIFY(m_rig->prompts.Messages().empty());
    }

    void loadOfARejectedFileLeavesTheWindowAndTheLastProject_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("another root") << QByteArray("<Other><FTPServer>x</FTPServer></Other>");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("not XML") << QByteArray("just some text");
    }

    void loadOfARejectedFileLeavesTheWindowAndTheLastProject() {
        QFETCH(QByteArray, content);
        const QString path = WriteFile(*m_folder, "rejected.xml", content);
        m_rig->profile.SetLastProject(QStringLiteral("/kept/project.xml"));
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            TypeProject(window, SampleProject());
            const QString before = Text(ProjectFile::Save(ShownProject(window)));
            m_rig->prompts.QueueFile(path);
            Click(window, kLoad);
            QCOMPARE(Text(ProjectFile::Save(ShownProject(window))), before);
        });
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
        QCOMPARE(m_rig->prompts.Messages().front().text,
                 QString::fromLatin1(kNotAProject).arg(path));
        QCOMPARE(m_rig->prompts.Messages().front().buttons, PromptButtons::Ok);
        QCOMPARE(m_rig->profile.LastProject(), QStringLiteral("/kept/project.xml"));
    }

    void loadOfAMissingFileOrAFolderNamesItWithTheSystemText_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isFolder");
        QTest::newRow("missing file") << "missing.xml" << false;
        QTest::newRow("a folder") << "folder.xml" << true;
    }

    void loadOfAMissingFileOrAFolderNamesItWithTheSystemText() {
        QFETCH(QString, name);
        QFETCH(bool, isFolder);
        const QString path = m_folder->filePath(name);
        if (isFolder)
            QVERIFY(QDir().mkdir(path));
        QFile probe(path);
        QVERIFY(!probe.open(QIODevice::ReadOnly));
        const QString reason = probe.errorString();
        QVERIFY(!reason.isEmpty());
        m_rig->profile.SetLastProject(QStringLiteral("/kept/project.xml"));
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            TypeProject(window, SampleProject());
            m_rig->prompts.QueueFile(path);
            Click(window, kLoad);
            QCOMPARE(UploadList(window)->count(), 3);
        });
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
        QCOMPARE(m_rig->prompts.Messages().front().text,
                 QStringLiteral("Cannot open '%1': %2").arg(path, reason));
        QCOMPARE(m_rig->profile.LastProject(), QStringLiteral("/kept/project.xml"));
    }

    void aReadErrorIsReportedNotSilent() {
        // Reading this process's own memory at offset 0 fails with an I/O error once opened.
        const QString path = QStringLiteral("/proc/self/mem");
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            TypeProject(window, SampleProject());
            QVERIFY(!window.LoadProjectFile(path));
            QCOMPARE(UploadList(window)->count(), 3);
        });
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
        QCOMPARE(m_rig->prompts.Messages().front().text,
                 QStringLiteral("Cannot read '%1': %2")
                     .arg(path, QString::fromLocal8Bit(std::strerror(EIO))));
    }

    void aFileLargerThan256MiBIsRefusedUnread() {
        const QString path = m_folder->filePath(QStringLiteral("huge.xml"));
        QFile huge(path);
        QVERIFY(huge.open(QIODevice::WriteOnly));
        const QByteArray project = QByteArray::fromStdString(ProjectFile::Save(SampleProject()));
        QCOMPARE(huge.write(project), project.size());
        // Sparse: a project followed by zeros, 256 MiB and one byte in all.
        QVERIFY(huge.resize(static_cast<qint64>(ProjectFile::kMaxFileBytes) + 1));
        huge.close();
        m_rig->profile.SetLastProject(QStringLiteral("/kept/project.xml"));
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            m_rig->prompts.QueueFile(path);
            Click(window, kLoad);
            QCOMPARE(Edit(window, kServer)->text(), QString());
        });
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
        const QString& text = m_rig->prompts.Messages().front().text;
        QVERIFY2(text.contains(path) && text.contains(QStringLiteral("256 MiB")), qPrintable(text));
        QCOMPARE(m_rig->profile.LastProject(), QStringLiteral("/kept/project.xml"));
    }

    void aFailedSaveKeepsTheOldFileAndTheLastProject() {
        const QByteArray original = QByteArray::fromStdString(ProjectFile::Save(OtherProject()));
        const QString path = WriteFile(*m_folder, "project.xml", original);
        QVERIFY(ProjectFile::Save(SampleProject()).size() > size_t(original.size()));
        m_rig->profile.SetLastProject(QStringLiteral("/kept/project.xml"));
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            TypeProject(window, SampleProject());
            m_rig->prompts.QueueFile(path);
            // The new text is longer than the limit; the old one was written before it.
            CFileSizeLimit limit(static_cast<rlim_t>(original.size()));
            Click(window, kSave);
        });
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
        const QString& text = m_rig->prompts.Messages().front().text;
        QCOMPARE(text, QStringLiteral("Cannot write '%1': %2")
                           .arg(path, QString::fromLocal8Bit(std::strerror(EFBIG))));
        QCOMPARE(m_rig->prompts.Messages().front().buttons, PromptButtons::Ok);
        QCOMPARE(ReadBytes(path), original);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"project.xml"});
        QCOMPARE(m_rig->profile.LastProject(), QStringLiteral("/kept/project.xml"));
    }

    void aSaveIntoAMissingFolderTellsWhy() {
        const QString path = m_folder->filePath(QStringLiteral("no/such/project.xml"));
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            m_rig->prompts.QueueFile(path);
            Click(window, kSave);
        });
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
        const QString& text = m_rig->prompts.Messages().front().text;
        QVERIFY2(text.contains(QString::fromLocal8Bit(std::strerror(ENOENT))) &&
                     text.contains(m_folder->filePath(QStringLiteral("no/such"))),
                 qPrintable(text));
        QCOMPARE(m_rig->profile.LastProject(), QString());
    }

    void saveWithARefusedTimeoutStillSaves() {
        const QString path = m_folder->filePath(QStringLiteral("project.xml"));
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            TypeProject(window, SampleProject());
            Edit(window, kTimeout)->clear();
            m_rig->prompts.QueueFile(path);
            Click(window, kSave);
            Edit(window, kTimeout)->setText(QStringLiteral("1"));
        });
        // The integer message, then no other; the fields after the timeout kept their values.
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
        SProject saved;
        QVERIFY(ProjectFile::Load(ReadBytes(path).toStdString(), saved));
        QCOMPARE(saved.timeout, 15000u);
        QCOMPARE(saved.ftpServer, SampleProject().ftpServer);
        QCOMPARE(saved.username, std::string());
        QCOMPARE(m_rig->profile.LastProject(), path);
    }

private:
    std::unique_ptr<SWindowRig> m_rig;
    std::unique_ptr<QTemporaryDir> m_folder;
};

QTEST_MAIN(ProjectFileHandlersTest)
#include "ProjectFileHandlersTest.moc"
