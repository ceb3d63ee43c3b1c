#include "ui/ProjectManagerDlg.h"
#include "WindowRig.h"
#include "project/ProjectFile.h"
#include "ui/HistoryComboBox.h"
#include "ui/SortedListBox.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char* const kGreeting =
    "Hello tester,\r\n\r\nWelcome to the Brevane Project Manager Utility!\r\n\r\nAs this is the "
    "first time you have launched me, I will now open the Brevane help file, which contains "
    "all the information you will need to use the Brevane.  You can press F1 at any time within "
    "the Project Manager Utility to view the help documentation.\r\n\r\nPlease also check out "
    "the Start Menu additions for the Brevane.\r\n\r\nThank you for choosing the Brevane - we "
    "hope you like it!";

void Activate(QWidget& window) {
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

// The ways a user closes the window.
enum class CloseBy { Quit, Escape, CloseBox, EnterInField };

void RequestClose(CProjectManagerDlg& window, CloseBy how) {
    switch (how) {
    case CloseBy::Quit:
        QTest::mouseClick(ControlById<QPushButton>(window, 1034), Qt::LeftButton);
        break;
    case CloseBy::Escape:
        QTest::keyClick(&window, Qt::Key_Escape);
        break;
    case CloseBy::CloseBox:
        window.close();
        break;
    case CloseBy::EnterInField: {
        auto* server = ControlById<QLineEdit>(window, 1003);
        server->setFocus();
        QTest::keyClick(server, Qt::Key_Return);
        break;
    }
    }
}

} // namespace

Q_DECLARE_METATYPE(CloseBy)

class ProjectManagerDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_rig = std::make_unique<SWindowRig>(); }
    void cleanup() { m_rig.reset(); }

    void firstStartWithAnEmptyProfile() {
        auto window = m_rig->NewWindow();
        bool helpOpenedBeforeTheGreeting = true;
        int firstRunDuringTheGreeting = -1;
        m_rig->prompts.OnMessageBox([&](const CScriptedPrompts::SMessage&) {
            helpOpenedBeforeTheGreeting = !m_rig->shell.Requests().empty();
            firstRunDuringTheGreeting = m_rig->profile.FirstRun();
        });
        const int result = RunModal(*window, [&] {
            auto* ini = ControlById<CHistoryComboBox>(*window, 1041);
            auto* log = ControlById<CHistoryComboBox>(*window, 1042);
            QCOMPARE(ini->currentText(), QStringLiteral("/etc/TarvonSvc4.ini"));
            QCOMPARE(Entries(*ini), QStringList{"/etc/TarvonSvc4.ini"});
            QCOMPARE(log->currentText(), QStringLiteral("/var/log/TarvonSvc4.log"));
            QCOMPARE(Entries(*log), QStringList{"/var/log/TarvonSvc4.log"});
            QCOMPARE(ControlById<CHistoryComboBox>(*window, 1038)->currentText(), QString());
            QCOMPARE(ControlById<CHistoryComboBox>(*window, 1040)->currentText(), QString());
            QVERIFY(ControlById<QRadioButton>(*window, 1036)->isChecked());
            QVERIFY(!ControlById<QRadioButton>(*window, 1037)->isChecked());
            QCOMPARE(ControlById<QLineEdit>(*window, 1025)->text(), QStringLiteral("15000"));
            QVERIFY(ControlById<QCheckBox>(*window, 1023)->isChecked());
            for (int id : {1021, 1022, 1033})
                QVERIFY(!ControlById<QCheckBox>(*window, id)->isChecked());
            QCOMPARE(ControlById<QCheckBox>(*window, 1016)->checkState(), Qt::Unchecked);
            for (int id : {1003, 1018, 1019, 1020, 1024})
                QCOMPARE(ControlById<QLineEdit>(*window, id)->text(), QString());
            QTest::keyClick(window.get(), Qt::Key_Escape);
        });
        QCOMPARE(result, int(QDialog::Accepted));

        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
        const CScriptedPrompts::SMessage& greeting = m_rig->prompts.Messages().front();
        QCOMPARE(greeting.text, QString::fromLatin1(kGreeting));
        QCOMPARE(greeting.caption, QStringLiteral("Welcome to the Brevane from Quilldrake!"));
        QCOMPARE(greeting.buttons, PromptButtons::Ok);
        QCOMPARE(greeting.owner, window.get());
        QVERIFY(!helpOpenedBeforeTheGreeting);
        QCOMPARE(firstRunDuringTheGreeting, 0);

        QCOMPARE(m_rig->shell.Requests().size(), size_t(1));
        const ShellRequest& help = m_rig->shell.Requests().front();
        QCOMPARE(help.verb, std::string("open"));
        QCOMPARE(help.file, std::string("/opt/brevane/Brevane.chm"));
        QCOMPARE(help.parameters, std::string());
        QCOMPARE(help.directory, std::string());
        QCOMPARE(help.ownerWindow, nullptr);
        QCOMPARE(help.showMode, ShellShowMode::Restore);
        QCOMPARE(m_rig->profile.FirstRun(), 1);
    }

    void secondStartShowsNoGreeting() {
        m_rig->MarkFirstRunDone();
        auto window = m_rig->NewWindow();
        RunModal(*window, [&] { QTest::keyClick(window.get(), Qt::Key_Escape); });
        QVERIFY(m_rig->prompts.Messages().empty());
        QVERIFY(m_rig->shell.Requests().empty());
    }

    void historiesLoadAndAreStoredAtTheEnd() {
        m_rig->MarkFirstRunDone();
        m_rig->profile.WriteString("History", "ScriptURL", "http://a/x.txt\nhttp://b/y.txt");
        m_rig->profile.WriteString("History", "IniFile", "/srv/TarvonSvc4.ini");
        auto window = m_rig->NewWindow();
        RunModal(*window, [&] {
            auto* url = ControlById<CHistoryComboBox>(*window, 1038);
            QCOMPARE(url->currentText(), QStringLiteral("http://a/x.txt"));
            QCOMPARE(Entries(*url), (QStringList{"http://a/x.txt", "http://b/y.txt"}));
            auto* ini = ControlById<CHistoryComboBox>(*window, 1041);
            QCOMPARE(Entries(*ini), QStringList{"/srv/TarvonSvc4.ini"});
            url->SetText(QStringLiteral("http://c/z.txt"));
            QTest::keyClick(window.get(), Qt::Key_Escape);
        });
        window.reset();
        QCOMPARE(m_rig->profile.GetString("History", "ScriptURL"),
                 QStringLiteral("http://c/z.txt\nhttp://a/x.txt\nhttp://b/y.txt"));
        QCOMPARE(m_rig->profile.GetString("History", "IniFile"),
                 QStringLiteral("/srv/TarvonSvc4.ini"));
        QCOMPARE(m_rig->profile.GetString("History", "Logfile"),
                 QStringLiteral("/var/log/TarvonSvc4.log"));
        QCOMPARE(m_rig->profile.GetString("History", "ScriptFile", "<unset>"), QString());
    }

    void autoloadPreferenceIsShown_data() {
        QTest::addColumn<int>("autoload");
        QTest::addColumn<QString>("lastProject");
        QTest::addColumn<bool>("checked");
        QTest::newRow("on, no last project") << 1 << QString() << true;
        QTest::newRow("off, with a last project") << 0 << "/tmp/project.xml" << false;
        QTest::newRow("any non-zero value is on") << 7 << QString() << true;
    }

    void autoloadPreferenceIsShown() {
        QFETCH(int, autoload);
        QFETCH(QString, lastProject);
        QFETCH(bool, checked);
        m_rig->MarkFirstRunDone();
        m_rig->profile.SetAutoload(autoload);
        m_rig->profile.SetLastProject(lastProject);
        auto window = m_rig->NewWindow();
        RunModal(*window, [&] {
            QCOMPARE(ControlById<QCheckBox>(*window, 1033)->isChecked(), checked);
            QTest::keyClick(window.get(), Qt::Key_Escape);
        });
        QVERIFY(m_rig->prompts.Messages().empty());
        window.reset();
        QCOMPARE(m_rig->profile.Autoload(), checked ? 1 : 0);
        QCOMPARE(m_rig->profile.LastProject(), lastProject);
    }

    void autoloadLoadsTheLastProject() {
        QTemporaryDir folder;
        const QString path = WriteFile(
            folder, "project.xml", QByteArray::fromStdString(ProjectFile::Save(SampleProject())));
        m_rig->MarkFirstRunDone();
        m_rig->profile.SetAutoload(1);
        m_rig->profile.SetLastProject(path);
        auto window = m_rig->NewWindow();
        RunModal(*window, [&] {
            QCOMPARE(ControlById<QLineEdit>(*window, 1003)->text(),
                     QStringLiteral("ftp.example.com"));
            QCOMPARE(ControlById<QLineEdit>(*window, 1019)->text(), QStringLiteral("publisher"));
            QCOMPARE(ControlById<QLineEdit>(*window, 1020)->text(), QStringLiteral("s3cret <&>"));
            QCOMPARE(ControlById<QLineEdit>(*window, 1024)->text(), QStringLiteral("proxy:8080"));
            QCOMPARE(ControlById<QLineEdit>(*window, 1018)->text(),
                     QStringLiteral("/myapp/updates/"));
            QCOMPARE(ControlById<QLineEdit>(*window, 1025)->text(), QStringLiteral("30000"));
            QVERIFY(ControlById<QCheckBox>(*window, 1021)->isChecked());
            QVERIFY(ControlById<QCheckBox>(*window, 1022)->isChecked());
            QVERIFY(!ControlById<QCheckBox>(*window, 1023)->isChecked());
            QVERIFY(ControlById<QCheckBox>(*window, 1033)->isChecked());
            QCOMPARE(ControlById<CSortedListBox>(*window, 1026)->Strings(),
                     (QStringList{"/srv/A.bin", "/srv/b.bin", "/srv/c.bin"}));
            auto* ini = ControlById<CHistoryComboBox>(*window, 1041);
            QCOMPARE(ini->currentText(), QStringLiteral("/srv/TarvonSvc4.ini"));
            // The default path entered the history before the project's path did.
            QCOMPARE(Entries(*ini), (QStringList{"/srv/TarvonSvc4.ini", "/etc/TarvonSvc4.ini"}));
            auto* url = ControlById<CHistoryComboBox>(*window, 1038);
            QCOMPARE(url->currentText(), QStringLiteral("http://updates.example.com/script.txt"));
            QCOMPARE(Entries(*url), QStringList{"http://updates.example.com/script.txt"});
            QCOMPARE(ControlById<CHistoryComboBox>(*window, 1040)->currentText(),
                     QStringLiteral("/srv/updates/script.txt"));
            QTest::keyClick(window.get(), Qt::Key_Escape);
        });
        QVERIFY(m_rig->prompts.Messages().empty());
        QCOMPARE(m_rig->profile.LastProject(), path);
    }

    void autoloadKeepsValuesTheFileDoesNotHold() {
        QTemporaryDir folder;
        const QString path = WriteFile(folder, "partial.xml",
                                       "<ProjectDetail><FTPServer>ftp.partial.org</FTPServer>"
                                       "<Files><File>/x/one</File></Files></ProjectDetail>");
        m_rig->MarkFirstRunDone();
        m_rig->profile.SetAutoload(1);
        m_rig->profile.SetLastProject(path);
        m_rig->profile.WriteString("History", "ScriptURL", "http://kept/");
        auto window = m_rig->NewWindow();
        RunModal(*window, [&] {
            QCOMPARE(ControlById<QLineEdit>(*window, 1003)->text(),
                     QStringLiteral("ftp.partial.org"));
            QCOMPARE(ControlById<QLineEdit>(*window, 1025)->text(), QStringLiteral("15000"));
            QVERIFY(ControlById<QCheckBox>(*window, 1023)->isChecked());
            QCOMPARE(ControlById<CSortedListBox>(*window, 1026)->Strings(), QStringList{"/x/one"});
            QCOMPARE(ControlById<CHistoryComboBox>(*window, 1038)->currentText(),
                     QStringLiteral("http://kept/"));
            QCOMPARE(ControlById<CHistoryComboBox>(*window, 1041)->currentText(),
                     QStringLiteral("/etc/TarvonSvc4.ini"));
            QTest::keyClick(window.get(), Qt::Key_Escape);
        });
        QVERIFY(m_rig->prompts.Messages().empty());
    }

    void autoloadOfABadFileTellsWhyAndChangesNothing_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("another root") << QByteArray("<Other><FTPServer>x</FTPServer></Other>")
                                      << "XML File '%1' is not a TarvonSCP project!";
        QTest::newRow("empty file") << QByteArray() << "XML File '%1' is not a TarvonSCP project!";
        QTest::newRow("not XML") << QByteArray("just some text")
                                 << "XML File '%1' is not a TarvonSCP project!";
        QTest::newRow("missing file")
            << QByteArray("-") << "Cannot open '%1': No such file or directory";
    }

    void autoloadOfABadFileTellsWhyAndChangesNothing() {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QTemporaryDir folder;
        QString path = folder.filePath(QStringLiteral("missing.xml"));
        if (content != "-")
            path = WriteFile(folder, "bad.xml", content);
        m_rig->MarkFirstRunDone();
        m_rig->profile.SetAutoload(1);
        m_rig->profile.SetLastProject(path);
        auto window = m_rig->NewWindow();
        RunModal(*window, [&] {
            QCOMPARE(ControlById<QLineEdit>(*window, 1003)->text(), QString());
            QCOMPARE(ControlById<CSortedListBox>(*window, 1026)->count(), 0);
            QTest::keyClick(window.get(), Qt::Key_Escape);
        });
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
        QCOMPARE(m_rig->prompts.Messages().front().text, expected.arg(path));
        QCOMPARE(m_rig->prompts.Messages().front().buttons, PromptButtons::Ok);
        QCOMPARE(m_rig->profile.LastProject(), path);
    }

    void noAutoloadLeavesTheLastProjectAlone() {
        QTemporaryDir folder;
        const QString path = WriteFile(
            folder, "project.xml", QByteArray::fromStdString(ProjectFile::Save(SampleProject())));
        m_rig->MarkFirstRunDone();
        m_rig->profile.SetAutoload(0);
        m_rig->profile.SetLastProject(path);
        auto window = m_rig->NewWindow();
        RunModal(*window, [&] {
            QCOMPARE(ControlById<QLineEdit>(*window, 1003)->text(), QString());
            QTest::keyClick(window.get(), Qt::Key_Escape);
        });
    }

    void autoloadClickIsKeptEvenWhenTheCloseFails() {
        m_rig->MarkFirstRunDone();
        m_rig->profile.SetAutoload(0);
        auto window = m_rig->NewWindow();
        RunModal(*window, [&] {
            QTest::mouseClick(ControlById<QCheckBox>(*window, 1033), Qt::LeftButton);
            ControlById<QLineEdit>(*window, 1025)->clear();
            QTest::keyClick(window.get(), Qt::Key_Escape);
            QVERIFY(window->isVisible());
            // Leave without the close operation, so only the click's transfer counts.
            window->done(QDialog::Rejected);
        });
        window.reset();
        QCOMPARE(m_rig->profile.Autoload(), 1);
    }

    void everyCloseStoresTheUpdateFunction_data() {
        QTest::addColumn<CloseBy>("how");
        QTest::addColumn<bool>("useWait");
        for (bool useWait : {false, true}) {
            const char* mode = useWait ? "TarvonWait" : "Tarvon";
            QTest::addRow("Quit, %s", mode) << CloseBy::Quit << useWait;
            QTest::addRow("Escape, %s", mode) << CloseBy::Escape << useWait;
            QTest::addRow("close box, %s", mode) << CloseBy::CloseBox << useWait;
            QTest::addRow("Enter in a field, %s", mode) << CloseBy::EnterInField << useWait;
        }
    }

    void everyCloseStoresTheUpdateFunction() {
        QFETCH(CloseBy, how);
        QFETCH(bool, useWait);
        m_rig->MarkFirstRunDone();
        m_rig->profile.SetUseTarvonFn(useWait ? 1 : 0);
        auto window = m_rig->NewWindow();
        const int result = RunModal(*window, [&] {
            Activate(*window);
            QTest::mouseClick(ControlById<QRadioButton>(*window, useWait ? 1037 : 1036),
                              Qt::LeftButton);
            RequestClose(*window, how);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(!window->isVisible());
        QCOMPARE(m_rig->profile.UseTarvonFn(), useWait ? 0 : 1);
    }

    void storedTarvonWaitIsShown() {
        m_rig->MarkFirstRunDone();
        m_rig->profile.SetUseTarvonFn(0);
        auto window = m_rig->NewWindow();
        RunModal(*window, [&] {
            QVERIFY(ControlById<QRadioButton>(*window, 1037)->isChecked());
            QVERIFY(!ControlById<QRadioButton>(*window, 1036)->isChecked());
            QTest::keyClick(window.get(), Qt::Key_Escape);
        });
        QCOMPARE(m_rig->profile.UseTarvonFn(), 0);
    }

    void emptyTimeoutRefusesTheClose() {
        m_rig->MarkFirstRunDone();
        auto window = m_rig->NewWindow();
        const int result = RunModal(*window, [&] {
            Activate(*window);
            auto* timeout = ControlById<QLineEdit>(*window, 1025);
            ControlById<QLineEdit>(*window, 1003)->setText(QStringLiteral("ftp.example.com"));
            ControlById<QLineEdit>(*window, 1019)->setText(QStringLiteral("bob"));
            timeout->clear();
            QTest::mouseClick(ControlById<QRadioButton>(*window, 1037), Qt::LeftButton);
            QTest::keyClick(window.get(), Qt::Key_Escape);
            QVERIFY(window->isVisible());
            QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
            QVERIFY(m_rig->prompts.Messages().front().text.contains(QStringLiteral("number")));
            QCOMPARE(m_rig->prompts.Messages().front().buttons, PromptButtons::Ok);
            QTRY_COMPARE(QApplication::focusWidget(), timeout);
            // Stored before the transfer, even though the window stays.
            QCOMPARE(m_rig->profile.UseTarvonFn(), 0);

            // Fields before the timeout were taken, fields after it were not.
            window->UpdateData(false);
            QCOMPARE(ControlById<QLineEdit>(*window, 1003)->text(),
                     QStringLiteral("ftp.example.com"));
            QCOMPARE(ControlById<QLineEdit>(*window, 1019)->text(), QString());
            QCOMPARE(timeout->text(), QStringLiteral("15000"));
            QTest::keyClick(window.get(), Qt::Key_Escape);
        });
        QCOMPARE(result, int(QDialog::Accepted));
    }

    void timeoutTakesUnsigned32BitNumbersOnly_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("largest") << "4294967295"
                                 << "4294967295" << true;
        QTest::newRow("zero") << "0"
                              << "0" << true;
        QTest::newRow("leading zeros") << "00042"
                                       << "00042" << true;
        QTest::newRow("too large") << "4294967296"
                                   << "4294967296" << false;
        QTest::newRow("letters are not typed") << "12ab3"
                                               << "123" << true;
        QTest::newRow("minus is not typed") << "-5"
                                            << "5" << true;
    }

    void timeoutTakesUnsigned32BitNumbersOnly() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, accepted);
        auto window = m_rig->NewWindow();
        auto* timeout = ControlById<QLineEdit>(*window, 1025);
        timeout->clear();
        QTest::keyClicks(timeout, typed);
        QCOMPARE(timeout->text(), shown);
        QCOMPARE(window->UpdateData(true), accepted);
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(accepted ? 0 : 1));
    }

    void transfersKeepEveryValue() {
        auto window = m_rig->NewWindow();
        const QList<int> texts = {1003, 1018, 1019, 1020, 1024};
        for (int id : texts)
            ControlById<QLineEdit>(*window, id)->setText(QStringLiteral("value %1").arg(id));
        ControlById<QLineEdit>(*window, 1025)->setText(QStringLiteral("42"));
        for (int id : {1021, 1022, 1033})
            ControlById<QCheckBox>(*window, id)->setChecked(true);
        ControlById<QCheckBox>(*window, 1023)->setChecked(false);
        ControlById<QCheckBox>(*window, 1016)->setCheckState(Qt::PartiallyChecked);
        QVERIFY(window->UpdateData(true));

        for (int id : texts)
            ControlById<QLineEdit>(*window, id)->clear();
        ControlById<QLineEdit>(*window, 1025)->clear();
        for (int id : {1021, 1022, 1023, 1033})
            ControlById<QCheckBox>(*window, id)->setChecked(id == 1023);
        ControlById<QCheckBox>(*window, 1016)->setCheckState(Qt::Checked);
        QVERIFY(window->UpdateData(false));

        for (int id : texts)
            QCOMPARE(ControlById<QLineEdit>(*window, id)->text(),
                     QStringLiteral("value %1").arg(id));
        QCOMPARE(ControlById<QLineEdit>(*window, 1025)->text(), QStringLiteral("42"));
        for (int id : {1021, 1022, 1033})
            QVERIFY(ControlById<QCheckBox>(*window, id)->isChecked());
        QVERIFY(!ControlById<QCheckBox>(*window, 1023)->isChecked());
        QCOMPARE(ControlById<QCheckBox>(*window, 1016)->checkState(), Qt::PartiallyChecked);
    }

    void testScriptCallsTheChosenEntryPoint_data() {
        QTest::addColumn<bool>("useWait");
        QTest::addColumn<QString>("url");
        QTest::newRow("Tarvon") << false << "http://updates.example.com/script.txt";
        QTest::newRow("TarvonWait") << true << "http://updates.example.com/script.txt";
        QTest::newRow("empty URL, Tarvon") << false << "";
        QTest::newRow("blanks kept, TarvonWait") << true << "  http://x/ c:\\temp\\ ";
    }

    void testScriptCallsTheChosenEntryPoint() {
        QFETCH(bool, useWait);
        QFETCH(QString, url);
        m_rig->MarkFirstRunDone();
        auto window = m_rig->NewWindow();
        RunModal(*window, [&] {
            QTest::mouseClick(ControlById<QRadioButton>(*window, useWait ? 1037 : 1036),
                              Qt::LeftButton);
            auto* field = ControlById<CHistoryComboBox>(*window, 1038);
            field->lineEdit()->setText(url);
            QTest::mouseClick(ControlById<QPushButton>(*window, 1002), Qt::LeftButton);
            QCOMPARE(field->count(), 0);
            QTest::keyClick(window.get(), Qt::Key_Escape);
        });
        QCOMPARE(m_rig->updateLibrary.Calls().size(), size_t(1));
        const CFakeUpdateLibrary::SCall& call = m_rig->updateLibrary.Calls().front();
        QCOMPARE(QString::fromStdString(call.url), url);
        QCOMPARE(call.timeoutMs.has_value(), useWait);
        if (useWait)
            QCOMPARE(*call.timeoutMs, 120000);
        QVERIFY(m_rig->prompts.Messages().empty());
    }

    void testScriptGoesOnWhenTheTimeoutIsRefused() {
        m_rig->MarkFirstRunDone();
        auto window = m_rig->NewWindow();
        RunModal(*window, [&] {
            ControlById<CHistoryComboBox>(*window, 1038)->lineEdit()->setText("http://x/");
            ControlById<QLineEdit>(*window, 1025)->clear();
            QTest::mouseClick(ControlById<QPushButton>(*window, 1002), Qt::LeftButton);
            ControlById<QLineEdit>(*window, 1025)->setText("1");
            QTest::keyClick(window.get(), Qt::Key_Escape);
        });
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
        QCOMPARE(m_rig->updateLibrary.Calls().size(), size_t(1));
        QCOMPARE(m_rig->updateLibrary.Calls().front().url, std::string("http://x/"));
    }

    void tarvonWaitChoiceSurvivesARestart() {
        m_rig->MarkFirstRunDone();
        auto first = m_rig->NewWindow();
        RunModal(*first, [&] {
            QTest::mouseClick(ControlById<QRadioButton>(*first, 1037), Qt::LeftButton);
            QTest::keyClick(first.get(), Qt::Key_Escape);
        });
        first.reset();
        auto second = m_rig->NewWindow();
        RunModal(*second, [&] {
            QVERIFY(ControlById<QRadioButton>(*second, 1037)->isChecked());
            QVERIFY(!ControlById<QRadioButton>(*second, 1036)->isChecked());
            QTest::keyClick(second.get(), Qt::Key_Escape);
        });
    }

    void enterOnAFocusedButtonPressesIt() {
        m_rig->MarkFirstRunDone();
        auto window = m_rig->NewWindow();
        RunModal(*window, [&] {
            Activate(*window);
            auto* testScript = ControlById<QPushButton>(*window, 1002);
            testScript->setFocus();
            QTest::keyClick(testScript, Qt::Key_Return);
            QVERIFY(window->isVisible());
            QCOMPARE(m_rig->updateLibrary.Calls().size(), size_t(1));
            QTest::keyClick(window.get(), Qt::Key_Escape);
        });
    }

    void f1OpensTheHelpFile() {
        m_rig->MarkFirstRunDone();
        auto window = m_rig->NewWindow();
        RunModal(*window, [&] {
            Activate(*window);
            QTest::keyClick(ControlById<QLineEdit>(*window, 1003), Qt::Key_F1);
            QTest::keyClick(window.get(), Qt::Key_Escape);
        });
        QCOMPARE(m_rig->shell.Requests().size(), size_t(1));
        QCOMPARE(m_rig->shell.Requests().front().file, std::string("/opt/brevane/Brevane.chm"));
        QCOMPARE(m_rig->shell.Requests().front().showMode, ShellShowMode::Restore);
    }

private:
    std::unique_ptr<SWindowRig> m_rig;
};

QTEST_MAIN(ProjectManagerDlgTest)
#include "ProjectManagerDlgTest.moc"
