#include "ui/SplitStringArray.h"

#include <QTest>

class SplitStringArrayTest : public QObject {
    Q_OBJECT

private slots:
    void split_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("delimiters");
        QTest::addColumn<QStringList>("pieces");
        const QString lf = QStringLiteral("\n");
        QTest::newRow("empty source") << QString() << lf << QStringList();
        QTest::newRow("no delimiter") << "A" << lf << QStringList{"A"};
        QTest::newRow("two pieces") << "A\nB" << lf << QStringList{"A", "B"};
        QTest::newRow("empty piece between") << "A\n\nB" << lf << QStringList{"A", "", "B"};
        QTest::newRow("trailing delimiter dropped") << "A\n" << lf << QStringList{"A"};
        QTest::newRow("leading delimiter kept") << "\nA" << lf << QStringList{"", "A"};
        QTest::newRow("only a delimiter") << lf << lf << QStringList{""};
        QTest::newRow("two trailing delimiters") << "A\n\n" << lf << QStringList{"A", ""};
        QTest::newRow("any of several delimiters") << "a;b,c"
                                                   << ";," << QStringList{"a", "b", "c"};
        QTest::newRow("no delimiters given") << "a\nb" << QString() << QStringList{"a\nb"};
        QTest::newRow("blanks are text") << " A \n B " << lf << QStringList{" A ", " B "};
    }

    void split() {
        QFETCH(QString, source);
        QFETCH(QString, delimiters);
        QFETCH(QStringList, pieces);
        CSplitStringArray array;
        array.Split(source, delimiters);
        QCOMPARE(static_cast<QStringList>(array), pieces);
    }

    void splitReplacesEarlierPieces() {
        CSplitStringArray array;
        array.Split(QStringLiteral("x\ny\nz"), QStringLiteral("\n"));
        array.Split(QStringLiteral("A"), QStringLiteral("\n"));
        QCOMPARE(static_cast<QStringList>(array), QStringList{"A"});
    }
};

QTEST_GUILESS_MAIN(SplitStringArrayTest)
#include "SplitStringArrayTest.moc"
