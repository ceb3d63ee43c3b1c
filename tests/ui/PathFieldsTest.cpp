#include "ControlIds.h"
#include "WindowRig.h"
#include "platform/Shell.h"
#include "ui/HistoryComboBox.h"
#include "ui/ProjectManagerDlg.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// Hide read-only, prompt before overwriting, resizable.
constexpr unsigned kChooserFlags = 0x00800006u;

CHistoryComboBox* Field(const QWidget& window, int id) {
    return ControlById<CHistoryComboBox>(window, id);
}

QString ShellRefused(const QString& commandLine) {
    return QStringLiteral("An error occurred processing the command line \"%1\".").arg(commandLine);
}

} // namespace

class PathFieldsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_rig = std::make_unique<SWindowRig>();
        m_rig->MarkFirstRunDone();
        m_rig->system.windowsDirectory = "/srv/windows";
        m_rig->system.programFolder = "/opt/Program Files/brevane/";
    }
    void cleanup() { m_rig.reset(); }

    void browseAsksForItsFileWhereItBelongs_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("folder");
        QTest::newRow("INI") << int(kBrowseIni) << "*.ini"
                             << "TarvonSvc4.ini"
                             << "INI files (*.ini)|*.ini||"
                             << "/srv/windows";
        QTest::newRow("log") << int(kBrowseLog) << "*.log"
                             << "TarvonSvc4.log"
                             << "Log files (*.log)|*.log||"
                             << "/opt/Program Files/brevane/";
        QTest::newRow("script") << int(kBrowseScript) << "*.txt" << QString()
                                << "Text files (*.txt)|*.txt|All files (*.*)|*.*||" << QString();
    }

    void browseAsksForItsFileWhereItBelongs() {
        QFETCH(int, button);
        QFETCH(QString, extension);
        QFETCH(QString, name);
        QFETCH(QString, filter);
        QFETCH(QString, folder);
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            const QString before = Field(window, kIniPath)->currentText();
            Click(window, button);
            QCOMPARE(m_rig->prompts.Choosers().size(), size_t(1));
            const CScriptedPrompts::SChooser& chooser = m_rig->prompts.Choosers().front();
            QCOMPARE(chooser.owner, &window);
            QVERIFY(!chooser.request.save);
            QCOMPARE(chooser.request.defaultExtension, extension);
            QCOMPARE(chooser.request.fileName, name);
            QCOMPARE(chooser.request.filter, filter);
            QCOMPARE(chooser.request.initialFolder, folder);
            QCOMPARE(chooser.request.flags, kChooserFlags);
            // Cancelled: nothing changes.
            QCOMPARE(Field(window, kIniPath)->currentText(), before);
            QCOMPARE(Entries(*Field(window, kScriptFile)), QStringList());
        });
        QVERIFY(m_rig->prompts.Messages().empty());
    }

    void aBrowsedPathStandsOnTopOfItsHistoryOnce_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("field");
        QTest::newRow("INI") << int(kBrowseIni) << int(kIniPath);
        QTest::newRow("log") << int(kBrowseLog) << int(kLogPath);
        QTest::newRow("script") << int(kBrowseScript) << int(kScriptFile);
    }

    void aBrowsedPathStandsOnTopOfItsHistoryOnce() {
        QFETCH(int, button);
        QFETCH(int, field);
        const QString chosen = QStringLiteral("/home/publisher/My Files/chosen.file");
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            CHistoryComboBox* box = Field(window, field);
            box->SetText(QStringLiteral("/earlier/one"));
            const int countBefore = box->count();
            m_rig->prompts.QueueFile(chosen);
            Click(window, button);
            QCOMPARE(box->currentText(), chosen);
            QCOMPARE(box->count(), countBefore + 1);
            QCOMPARE(Entries(*box).first(), chosen);

            box->setEditText(QStringLiteral("/typed/over"));
            m_rig->prompts.QueueFile(chosen);
            Click(window, button);
            QCOMPARE(box->currentText(), chosen);
            QCOMPARE(Entries(*box).count(chosen), 1);
            QCOMPARE(box->count(), countBefore + 1);
        });
    }

    void iniAndLogBrowseTransferToTheControlsButScriptBrowseDoesNot_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("timeoutAfter");
        QTest::newRow("INI") << int(kBrowseIni) << "42";
        QTest::newRow("log") << int(kBrowseLog) << "42";
        QTest::newRow("script") << int(kBrowseScript) << "00042";
    }

    void iniAndLogBrowseTransferToTheControlsButScriptBrowseDoesNot() {
        QFETCH(int, button);
        QFETCH(QString, timeoutAfter);
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            // A transfer there and back shows the typed number in its plain form.
            ControlById<QLineEdit>(window, kTimeout)->setText(QStringLiteral("00042"));
            ControlById<QLineEdit>(window, kServer)->setText(QStringLiteral("typed.example"));
            m_rig->prompts.QueueFile(QStringLiteral("/chosen/file"));
            Click(window, button);
            QCOMPARE(ControlById<QLineEdit>(window, kTimeout)->text(), timeoutAfter);
            QCOMPARE(ControlById<QLineEdit>(window, kServer)->text(),
                     QStringLiteral("typed.example"));
        });
    }

    void openQuotesThePathForTheShell_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("field");
        QTest::newRow("script") << int(kOpenScript) << int(kScriptFile);
        QTest::newRow("INI") << int(kOpenIni) << int(kIniPath);
        QTest::newRow("log") << int(kOpenLog) << int(kLogPath);
    }

    void openQuotesThePathForTheShell() {
        QFETCH(int, button);
        QFETCH(int, field);
        const QString path = QStringLiteral("/opt/Program Files/brevane/my file.txt");
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            // Typed, not recorded: Open takes the field's text as it stands.
            Field(window, field)->setEditText(path);
            Click(window, button);
        });
        QCOMPARE(m_rig->shell.Requests().size(), size_t(1));
        const ShellRequest& request = m_rig->shell.Requests().front();
        QCOMPARE(request.verb, std::string("open"));
        QCOMPARE(QString::fromStdString(request.file), path);
        QCOMPARE(request.parameters, std::string());
        QCOMPARE(request.directory, std::string());
        QCOMPARE(request.ownerWindow, nullptr);
        QCOMPARE(request.showMode, ShellShowMode::Show);
        QVERIFY(m_rig->prompts.Messages().empty());
    }

    void openTellsWhenTheShellRefuses_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<qintptr>("result");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file")
            << "/no/such file.txt" << qintptr(kShellFileNotFound)
            << "An error occurred processing the command line \"\"/no/such file.txt\"\".";
        QTest::newRow("empty field") << QString() << qintptr(kShellFileNotFound)
                                     << "An error occurred processing the command line \"\"\"\".";
        QTest::newRow("no application")
            << "/srv/file.unknown" << qintptr(kShellNoAssociation)
            << "An error occurred processing the command line \"\"/srv/file.unknown\"\".";
        QTest::newRow("32 is still a failure") << "/srv/x" << qintptr(32)
                                               << "An error occurred processing the command line "
                                                  "\"\"/srv/x\"\".";
    }

    void openTellsWhenTheShellRefuses() {
        QFETCH(QString, path);
        QFETCH(qintptr, result);
        QFETCH(QString, message);
        m_rig->shell.SetResult(result);
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            Field(window, kScriptFile)->setEditText(path);
            Click(window, kOpenScript);
        });
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
        const CScriptedPrompts::SMessage& shown = m_rig->prompts.Messages().front();
        QCOMPARE(shown.text, message);
        QCOMPARE(shown.caption, QString());
        QCOMPARE(shown.buttons, PromptButtons::Ok);
        QCOMPARE(QString::fromStdString(m_rig->shell.Requests().front().file), path);
    }

    void commandLinesSplitIntoFileAndParameters_data() {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("parameters");
        QTest::newRow("quoted, no parameters") << "\"/a b/c.txt\""
                                               << "/a b/c.txt" << QString();
        QTest::newRow("quoted, then parameters") << "\"/a b/edit\" -n 3"
                                                 << "/a b/edit"
                                                 << " -n 3";
        QTest::newRow("unquoted with blanks") << "edit /a b.txt"
                                              << "edit"
                                              << "/a b.txt";
        QTest::newRow("one word") << "/srv/c.txt"
                                  << "/srv/c.txt" << QString();
        QTest::newRow("two quotes") << "\"\"" << QString() << QString();
        QTest::newRow("no closing quote") << "\"/a b"
                                          << "/a b" << QString();
    }

    void commandLinesSplitIntoFileAndParameters() {
        QFETCH(QString, commandLine);
        QFETCH(QString, file);
        QFETCH(QString, parameters);
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            QVERIFY(window.OpenShellCommand(commandLine));
        });
        QCOMPARE(m_rig->shell.Requests().size(), size_t(1));
        QCOMPARE(QString::fromStdString(m_rig->shell.Requests().front().file), file);
        QCOMPARE(QString::fromStdString(m_rig->shell.Requests().front().parameters), parameters);
    }

    void exploreShowsTheProgramFolder() {
        WId owner = 0;
        m_rig->shell.SetResult(kShellFileNotFound);
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            Click(window, kExplore);
            owner = window.winId();
        });
        QCOMPARE(m_rig->shell.Requests().size(), size_t(1));
        const ShellRequest& request = m_rig->shell.Requests().front();
        QCOMPARE(request.verb, std::string("explore"));
        QCOMPARE(request.file, std::string());
        QCOMPARE(request.parameters, std::string());
        QCOMPARE(request.directory, std::string("/opt/Program Files/brevane/"));
        QCOMPARE(request.showMode, ShellShowMode::Normal);
        QVERIFY(owner != 0);
        QCOMPARE(reinterpret_cast<WId>(request.ownerWindow), owner);
        // A refused explore is not reported.
        QVERIFY(m_rig->prompts.Messages().empty());
    }

    void theSystemShellRefusesAMissingFile() {
        const std::unique_ptr<CShell> shell = CreateShell();
        SWindowServices services{m_rig->profile,       m_rig->system,          *shell,
                                 m_rig->updateLibrary, m_rig->transferLibrary, m_rig->prompts,
                                 m_rig->serviceManager};
        CProjectManagerDlg window(services);
        const QString missing = QStringLiteral("/tmp/no such folder/missing file.txt");
        RunModal(window, [&] {
            Field(window, kLogPath)->setEditText(missing);
            Click(window, kOpenLog);
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
        QCOMPARE(m_rig->prompts.Messages().front().text,
                 ShellRefused(QLatin1Char('"') + missing + QLatin1Char('"')));
    }

private:
    std::unique_ptr<SWindowRig> m_rig;
};

QTEST_MAIN(PathFieldsTest)
#include "PathFieldsTest.moc"
