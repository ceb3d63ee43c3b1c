#include "ui/QtPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Runs inspect on the modal dialog of type Dialog once it is open.
template <typename Dialog> void WhenOpen(std::function<void(Dialog&)> inspect) {
    QTimer::singleShot(0, [inspect] {
        QTRY_VERIFY(qobject_cast<Dialog*>(QApplication::activeModalWidget()) != nullptr);
        inspect(*qobject_cast<Dialog*>(QApplication::activeModalWidget()));
    });
}

} // namespace

class QtPromptsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("TarvonSCP")); }

    void nameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::newRow("one pair") << "INI files (*.ini)|*.ini||"
                                  << QStringList{"INI files (*.ini)"};
        QTest::newRow("two pairs") << "Text files (*.txt)|*.txt|All files (*.*)|*.*||"
                                   << QStringList{"Text files (*.txt)", "All files (*.*)"};
        QTest::newRow("text without patterns")
            << "Projects|*.xml||" << QStringList{"Projects (*.xml)"};
        QTest::newRow("text's patterns differ from the real ones")
            << "Logs (*.txt)|*.log||" << QStringList{"Logs (*.log)"};
        QTest::newRow("pattern list") << "Web|*.htm;*.html||" << QStringList{"Web (*.htm *.html)"};
        QTest::newRow("empty") << "" << QStringList();
    }

    void nameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, nameFilters);
        QCOMPARE(CQtPrompts::NameFilters(filter), nameFilters);
    }

    void plainBoxHasTheProgramsNameAndAWarning() {
        CQtPrompts prompts;
        QString caption;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
        WhenOpen<QMessageBox>([&](QMessageBox& box) {
            caption = box.windowTitle();
            text = box.text();
            icon = box.icon();
            buttons = box.buttons().size();
            box.button(QMessageBox::Ok)->click();
        });
        const PromptAnswer answer = prompts.MessageBox(
            nullptr, QStringLiteral("Hello,\r\n\r\nthere"), QString(), PromptButtons::Ok);
        QCOMPARE(answer, PromptAnswer::Ok);
        QCOMPARE(caption, QStringLiteral("TarvonSCP"));
        QCOMPARE(text, QStringLiteral("Hello,\n\nthere"));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, 1);
    }

    void boxWithItsOwnCaptionShowsNoIcon() {
        // The greeting is the window's own box: no warning sign beside a welcome.
        CQtPrompts prompts;
        QString caption;
        QMessageBox::Icon icon = QMessageBox::Warning;
        WhenOpen<QMessageBox>([&](QMessageBox& box) {
            caption = box.windowTitle();
            icon = box.icon();
            box.button(QMessageBox::Ok)->click();
        });
        prompts.MessageBox(nullptr, QStringLiteral("Hello"), QStringLiteral("Welcome"),
                           PromptButtons::Ok);
        QCOMPARE(caption, QStringLiteral("Welcome"));
        QCOMPARE(icon, QMessageBox::NoIcon);
    }

    void boxStandsOverItsShownOwnerElseMidScreen_data() {
        QTest::addColumn<bool>("ownerShown");
        QTest::newRow("owner not shown yet") << false;
        QTest::newRow("owner shown") << true;
    }

    void boxStandsOverItsShownOwnerElseMidScreen() {
        QFETCH(bool, ownerShown);
        QWidget owner;
        owner.setGeometry(40, 30, 600, 500);
        if (ownerShown) {
            owner.show();
            QVERIFY(QTest::qWaitForWindowExposed(&owner));
        }
        QPoint boxCentre;
        WhenOpen<QMessageBox>([&](QMessageBox& box) {
            boxCentre = box.frameGeometry().center();
            box.button(QMessageBox::Ok)->click();
        });
        CQtPrompts().MessageBox(&owner, QStringLiteral("Hello"), QStringLiteral("Welcome"),
                                PromptButtons::Ok);
        const QPoint expected =
            ownerShown ? owner.frameGeometry().center()
                       : QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY2(
            (boxCentre - expected).manhattanLength() <= 10,
            qPrintable(QStringLiteral("box centre %1,%2").arg(boxCentre.x()).arg(boxCentre.y())));
    }

    void yesNoBoxKeepsItsCaptionAndAnswers() {
        CQtPrompts prompts;
        QString caption;
        WhenOpen<QMessageBox>([&](QMessageBox& box) {
            caption = box.windowTitle();
            box.button(QMessageBox::No)->click();
        });
        const PromptAnswer answer =
            prompts.MessageBox(nullptr, QStringLiteral("Start new project?"), QStringLiteral("Own"),
                               PromptButtons::YesNo);
        QCOMPARE(answer, PromptAnswer::No);
        QCOMPARE(caption, QStringLiteral("Own"));
    }

    void chooserStartsWhereAskedAndAddsTheExtension() {
        QTemporaryDir folder;
        CQtPrompts prompts;
        FileChooserRequest request;
        request.save = true;
        request.defaultExtension = QStringLiteral("*.ini");
        request.fileName = QStringLiteral("TarvonSvc4.ini");
        request.filter = QStringLiteral("INI files (*.ini)|*.ini||");
        request.initialFolder = folder.path();
        request.flags = kChooserHideReadOnly | kChooserOverwritePrompt;
        QString shownFolder;
        QStringList proposed;
        QStringList filters;
        bool confirmsOverwrite = false;
        WhenOpen<QFileDialog>([&](QFileDialog& chooser) {
            shownFolder = chooser.directory().absolutePath();
            proposed = chooser.selectedFiles();
            filters = chooser.nameFilters();
            confirmsOverwrite = !chooser.testOption(QFileDialog::DontConfirmOverwrite);
            chooser.selectFile(QStringLiteral("chosen"));
            static_cast<QDialog&>(chooser).accept();
        });
        const std::optional<QString> chosen = prompts.ChooseFile(nullptr, request);
        QCOMPARE(shownFolder, QDir(folder.path()).absolutePath());
        QCOMPARE(proposed, QStringList{QDir(folder.path()).filePath("TarvonSvc4.ini")});
        QCOMPARE(filters, QStringList{"INI files (*.ini)"});
        QVERIFY(confirmsOverwrite);
        QVERIFY(chosen.has_value());
        QCOMPARE(*chosen, QDir::toNativeSeparators(QDir(folder.path()).filePath("chosen.ini")));
    }

    void cancelledChooserGivesNothing() {
        CQtPrompts prompts;
        WhenOpen<QFileDialog>([](QFileDialog& chooser) { chooser.reject(); });
        QVERIFY(!prompts.ChooseFile(nullptr, FileChooserRequest()).has_value());
    }
};

QTEST_MAIN(QtPromptsTest)
#include "QtPromptsTest.moc"
