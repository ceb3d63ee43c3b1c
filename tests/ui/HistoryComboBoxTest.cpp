#include "ui/HistoryComboBox.h"
#include "TempProfile.h"
#include "platform/Profile.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>
#include <memory>

namespace {

const QString kSection = QStringLiteral("History");
const QString kEntry = QStringLiteral("ScriptURL");

QStringList Entries(const QComboBox& box) {
    QStringList entries;
    for (int index = 0; index < box.count(); ++index)
        entries.append(box.itemText(index));
    return entries;
}

QStringList Numbered(int count) {
    QStringList entries;
    for (int index = 0; index < count; ++index)
        entries.append(QStringLiteral("entry %1").arg(index));
    return entries;
}

} // namespace

class HistoryComboBoxTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_tempProfile = std::make_unique<CTempProfile>();
        m_profile = std::make_unique<CProfile>();
    }

    void cleanup() {
        m_profile.reset();
        m_tempProfile.reset();
    }

    void loadWithNothingStoredKeepsTheField() {
        CHistoryComboBox box(*m_profile);
        box.lineEdit()->setText(QStringLiteral("typed"));
        QCOMPARE(box.LoadHistory(kSection, kEntry), QString());
        QCOMPARE(box.count(), 0);
        QCOMPARE(box.currentText(), QStringLiteral("typed"));
    }

    void loadShowsAndReturnsTheFirstEntry() {
        m_profile->WriteString(kSection, kEntry, QStringLiteral("A\nB"));
        CHistoryComboBox box(*m_profile);
        QCOMPARE(box.LoadHistory(kSection, kEntry), QStringLiteral("A"));
        QCOMPARE(Entries(box), (QStringList{"A", "B"}));
        QCOMPARE(box.currentText(), QStringLiteral("A"));
    }

    void loadKeepsAnEmptyFirstEntry() {
        m_profile->WriteString(kSection, kEntry, QStringLiteral("\nA"));
        CHistoryComboBox box(*m_profile);
        QCOMPARE(box.LoadHistory(kSection, kEntry), QString());
        QCOMPARE(Entries(box), (QStringList{"", "A"}));
        QCOMPARE(box.currentText(), QString());
    }

    void saveAtDestruction_data() {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("shown text first") << QStringList{"A", "B", "C"} << "B"
                                          << "B\nA\nC";
        QTest::newRow("empty text: leading line feed dropped") << QStringList{"A", "B"} << ""
                                                               << "A\nB";
        QTest::newRow("empty text, empty list") << QStringList() << ""
                                                << "";
        QTest::newRow("text not in list") << QStringList{"A"} << "X"
                                          << "X\nA";
        QTest::newRow("empty entry between") << QStringList{"A", "", "B"} << "X"
                                             << "X\nA\n\nB";
        QTest::newRow("empty entry last") << QStringList{"A", ""} << "X"
                                          << "X\nA\n";
        QTest::newRow("empty entry equals empty text") << QStringList{"A", "", "B"} << ""
                                                       << "A\nB";
        QTest::newRow("every copy of the text skipped") << QStringList{"B", "A", "B"} << "B"
                                                        << "B\nA";
        QTest::newRow("case differs") << QStringList{"a", "A"} << "A"
                                      << "A\na";
    }

    void saveAtDestruction() {
        QFETCH(QStringList, list);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        {
            CHistoryComboBox box(*m_profile);
            box.LoadHistory(kSection, kEntry);
            box.addItems(list);
            box.lineEdit()->setText(text);
        }
        const QString unset = QStringLiteral("<unset>");
        QCOMPARE(m_profile->GetString(kSection, kEntry, unset), stored);
    }

    void savedHistoryLoadsBack() {
        {
            CHistoryComboBox box(*m_profile);
            box.LoadHistory(kSection, kEntry);
            box.SetText(QStringLiteral("first"));
            box.SetText(QStringLiteral("second"));
            box.SetText(QStringLiteral(""));
            box.SetText(QStringLiteral("first"));
        }
        CHistoryComboBox box(*m_profile);
        QCOMPARE(box.LoadHistory(kSection, kEntry), QStringLiteral("first"));
        // The empty entry was last but one, so it survives as an empty piece.
        QCOMPARE(Entries(box), (QStringList{"first", "", "second"}));
    }

    void emptyLastEntryIsDroppedAtTheNextLoad() {
        {
            CHistoryComboBox box(*m_profile);
            box.LoadHistory(kSection, kEntry);
            box.addItems({"A", ""});
            box.lineEdit()->setText(QStringLiteral("X"));
        }
        CHistoryComboBox box(*m_profile);
        box.LoadHistory(kSection, kEntry);
        QCOMPARE(Entries(box), (QStringList{"X", "A"}));
    }

    void setTextRecordsAtTheTopOnce() {
        CHistoryComboBox box(*m_profile);
        box.SetText(QStringLiteral("A"));
        box.SetText(QStringLiteral("B"));
        box.SetText(QStringLiteral("A"));
        QCOMPARE(Entries(box), (QStringList{"B", "A"}));
        QCOMPARE(box.currentText(), QStringLiteral("A"));
    }

    void entriesDifferingInCaseAreDifferent() {
        CHistoryComboBox box(*m_profile);
        box.SetText(QStringLiteral("path"));
        box.SetText(QStringLiteral("PATH"));
        QCOMPARE(Entries(box), (QStringList{"PATH", "path"}));
    }

    void recordSearchesOnlyTheFirst25Entries_data() {
        QTest::addColumn<int>("matchIndex");
        QTest::addColumn<int>("countAfter");
        QTest::newRow("found at index 24") << 24 << 30;
        QTest::newRow("beyond the depth at index 25") << 25 << 31;
        QTest::newRow("beyond the depth at index 27") << 27 << 31;
    }

    void recordSearchesOnlyTheFirst25Entries() {
        QFETCH(int, matchIndex);
        QFETCH(int, countAfter);
        CHistoryComboBox box(*m_profile);
        QStringList entries = Numbered(30);
        entries[matchIndex] = QStringLiteral("X");
        box.addItems(entries);
        box.lineEdit()->setText(QStringLiteral("X"));
        box.RecordText();
        QCOMPARE(box.count(), countAfter);
        QCOMPARE(box.itemText(0), countAfter == 31 ? QStringLiteral("X") : entries.first());
        QCOMPARE(box.currentText(), QStringLiteral("X"));
    }

    void focusLossRecordsTheText_data() {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("after");
        QStringList thirty = Numbered(30);
        thirty[27] = QStringLiteral("X");
        QStringList thirtyOne = QStringList{"X"} + thirty;
        QTest::newRow("text found past the depth is added again") << thirty << "X" << thirtyOne;
        QTest::newRow("empty text is recorded")
            << QStringList{"A", "B"} << "" << QStringList{"", "A", "B"};
        QTest::newRow("text already at the top")
            << QStringList{"X", "B"} << "X" << QStringList{"X", "B"};
    }

    void focusLossRecordsTheText() {
        QFETCH(QStringList, list);
        QFETCH(QString, text);
        QFETCH(QStringList, after);
        QWidget window;
        auto* box = new CHistoryComboBox(*m_profile, &window);
        auto* other = new QLineEdit(&window);
        other->move(0, 40);
        box->addItems(list);
        box->lineEdit()->setText(text);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QCOMPARE(Entries(*box), list);
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(Entries(*box), after);
        QCOMPARE(box->currentText(), text);
    }

    void openingTheListRecordsNothing() {
        QWidget window;
        auto* box = new CHistoryComboBox(*m_profile, &window);
        box->addItems({"A", "B"});
        box->lineEdit()->setText(QStringLiteral("typed"));
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        box->showPopup();
        QTRY_VERIFY(box->view()->isVisible());
        box->hidePopup();
        QCOMPARE(Entries(*box), (QStringList{"A", "B"}));
    }

private:
    std::unique_ptr<CTempProfile> m_tempProfile;
    std::unique_ptr<CProfile> m_profile;
};

QTEST_MAIN(HistoryComboBoxTest)
#include "HistoryComboBoxTest.moc"
