#include "platform/Profile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>

// The profile keeps its values in the user's settings under Quilldrake/<program name>.
class ProfileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;

    QString ProfileFile() const {
        return m_folder.path() + QStringLiteral("/Quilldrake/") +
               QCoreApplication::applicationName() + QStringLiteral(".conf");
    }

private slots:
    void init() {
        QVERIFY(m_folder.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.path());
        QFile::remove(ProfileFile());
    }

    void EmptyProfileReadsTheDefaults() {
        const CProfile profile;
        QCOMPARE(profile.UseTarvonFn(), 1);
        QCOMPARE(profile.FirstRun(), 0);
        QCOMPARE(profile.Autoload(), 0);
        QCOMPARE(profile.LastProject(), QString());
        QCOMPARE(profile.GetString("History", "ScriptURL", "fallback"), QString("fallback"));
        QCOMPARE(profile.GetInt("Settings", "Missing", -7), -7);
    }

    void TextsThatAreNotUtf8AreStoredAsTheirBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("storedAsBytes");
        QTest::newRow("windows-1252")
            << QByteArray("C:\\Gr\xF6\xDF\x65") << QStringLiteral("C:\\Größe") << true;
        QTest::newRow("utf-8") << QByteArray("/Gr\xC3\xB6\xC3\x9F\x65") << QStringLiteral("/Größe")
                               << false;
        QTest::newRow("lines of both")
            << QByteArray("/\xC3\xA9\n/\xF6") << QStringLiteral("/é\n/ö") << true;
    }

    void TextsThatAreNotUtf8AreStoredAsTheirBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QFETCH(bool, storedAsBytes);
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Quilldrake",
                  QCoreApplication::applicationName())
            .setValue("History/IniFile", bytes);
        {
            CProfile profile;
            const QString read = profile.GetString("History", "IniFile");
            QCOMPARE(read, shown);
            profile.WriteString("History", "Logfile", read);
        }
        const QVariant stored = QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                          "Quilldrake", QCoreApplication::applicationName())
                                    .value("History/Logfile");
        QCOMPARE(stored.userType() == QMetaType::QByteArray, storedAsBytes);
        QCOMPARE(storedAsBytes ? stored.toByteArray() : stored.toString().toUtf8(), bytes);
    }

    void ValuesReachTheNextStart() {
        {
            CProfile profile;
            profile.SetUseTarvonFn(0);
            profile.SetFirstRun(1);
            profile.SetAutoload(1);
            profile.SetLastProject("/home/me/My Projects/app.xml");
        }
        const CProfile nextStart;
        QCOMPARE(nextStart.UseTarvonFn(), 0);
        QCOMPARE(nextStart.FirstRun(), 1);
        QCOMPARE(nextStart.Autoload(), 1);
        QCOMPARE(nextStart.LastProject(), QString("/home/me/My Projects/app.xml"));
    }

    void ValuesLandUnderTheirSectionsAndNames() {
        {
            CProfile profile;
            profile.SetUseTarvonFn(0);
            profile.SetFirstRun(1);
            profile.SetAutoload(1);
            profile.SetLastProject("p.xml");
            profile.WriteString("History", "Logfile", "/var/log/TarvonSvc4.log");
        }
        QVERIFY(QFile::exists(ProfileFile()));
        QSettings stored(ProfileFile(), QSettings::IniFormat);
        QCOMPARE(stored.value("Settings/UseTarvonFn").toInt(), 0);
        QCOMPARE(stored.value("Settings/FirstRun").toInt(), 1);
        QCOMPARE(stored.value("Prefs/Autoload").toInt(), 1);
        QCOMPARE(stored.value("Paths/Last Project").toString(), QString("p.xml"));
        QCOMPARE(stored.value("History/Logfile").toString(), QString("/var/log/TarvonSvc4.log"));
        QCOMPARE(stored.childGroups(), QStringList({"History", "Paths", "Prefs", "Settings"}));
    }

    void TextsComeBackByteForByte_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("history lines") << QString("http://a/x.txt\nhttp://b/y.txt\n");
        QTest::newRow("commas") << QString("a, b,c");
        QTest::newRow("quotes and backslashes") << QString("\"C:\\temp\\\" ;#=[x]");
        QTest::newRow("blanks at the ends") << QString("  padded  ");
        QTest::newRow("non-ASCII") << QString::fromUtf8("/home/j\xc3\xbcrgen/\xe2\x82\xac.txt");
        QTest::newRow("empty") << QString("");
    }

    void TextsComeBackByteForByte() {
        QFETCH(QString, text);
        CProfile().WriteString("History", "ScriptFile", text);
        QCOMPARE(CProfile().GetString("History", "ScriptFile", "default"), text);
    }

    void IntegersKeepTheir32BitRange() {
        for (const int value : {INT_MIN, -1, 0, 120000, INT_MAX}) {
            CProfile().WriteInt("Settings", "UseTarvonFn", value);
            QCOMPARE(CProfile().GetInt("Settings", "UseTarvonFn", 5), value);
        }
    }

    void HandEditedValuesReadSensibly() {
        QDir().mkpath(m_folder.path() + "/Quilldrake");
        QFile file(ProfileFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\nUseTarvonFn=yes\nFirstRun=1\n[History]\nScriptURL=a, b\n");
        file.close();
        const CProfile profile;
        QCOMPARE(profile.UseTarvonFn(), 1); // not a number: the default
        QCOMPARE(profile.FirstRun(), 1);
        QCOMPARE(profile.GetString("History", "ScriptURL"), QString("a, b"));
    }
};

QTEST_GUILESS_MAIN(ProfileTest)
#include "ProfileTest.moc"
