#include "ui/DialogCheckBox.h"
#include "ui/DialogUnits.h"
#include "ui/SortedListBox.h"
#include "ui/ToolTipControl.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

class DialogControlsTest : public QObject {
    Q_OBJECT

private slots:
    void threeStateBoxCyclesUncheckedCheckedIndeterminate() {
        CDialogCheckBox box(QStringLiteral("Service status"), CDialogCheckBox::kTextOnLeft);
        box.setTristate(true);
        box.resize(200, 20);
        QList<Qt::CheckState> seen;
        for (int click = 0; click < 4; ++click) {
            QTest::mouseClick(&box, Qt::LeftButton);
            seen.append(box.checkState());
        }
        QCOMPARE(seen, (QList<Qt::CheckState>{Qt::Checked, Qt::PartiallyChecked, Qt::Unchecked,
                                              Qt::Checked}));
    }

    void twoStateBoxToggles() {
        CDialogCheckBox box(QStringLiteral("PASV"), 0);
        box.resize(80, 20);
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 10));
        QCOMPARE(box.checkState(), Qt::Checked);
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 10));
        QCOMPARE(box.checkState(), Qt::Unchecked);
    }

    void wholeControlTakesTheClick_data() {
        QTest::addColumn<unsigned>("options");
        QTest::addColumn<QPoint>("where");
        QTest::newRow("text on the left, far left")
            << unsigned(CDialogCheckBox::kTextOnLeft) << QPoint(2, 10);
        QTest::newRow("text on the left, empty middle")
            << unsigned(CDialogCheckBox::kTextOnLeft) << QPoint(150, 10);
        QTest::newRow("multi-line, lower right")
            << unsigned(CDialogCheckBox::kMultiLine) << QPoint(190, 35);
    }

    void wholeControlTakesTheClick() {
        QFETCH(unsigned, options);
        QFETCH(QPoint, where);
        CDialogCheckBox box(QStringLiteral("Auto-load last project"), options);
        box.resize(200, 40);
        QTest::mouseClick(&box, Qt::LeftButton, {}, where);
        QVERIFY(box.isChecked());
    }

    void sortedListIgnoresCase() {
        CSortedListBox list;
        for (const char* text : {"beta.txt", "Alpha.txt", "gamma.txt", "ALPHA.txt", "Beta2.txt"})
            list.AddString(QString::fromLatin1(text));
        QCOMPARE(list.Strings(),
                 (QStringList{"Alpha.txt", "ALPHA.txt", "beta.txt", "Beta2.txt", "gamma.txt"}));
    }

    void sortedListResetGivesTheOrderOfAddingOneByOne() {
        // Equal entries without regard to case keep the order they came in.
        QStringList texts;
        for (int index = 0; index < 200; ++index)
            texts.append(QStringLiteral("%1file%2.bin")
                             .arg(index % 3 == 0 ? QStringLiteral("F") : QStringLiteral("f"))
                             .arg((index * 37) % 23));
        CSortedListBox oneByOne;
        for (const QString& text : texts)
            oneByOne.AddString(text);
        CSortedListBox reset;
        reset.AddString(QStringLiteral("replaced"));
        reset.ResetContent(texts);
        QCOMPARE(reset.Strings(), oneByOne.Strings());
        reset.ResetContent({});
        QCOMPARE(reset.count(), 0);
    }

    void sortedListReturnsTheIndex() {
        CSortedListBox list;
        QCOMPARE(list.AddString(QStringLiteral("m")), 0);
        QCOMPARE(list.AddString(QStringLiteral("Z")), 1);
        QCOMPARE(list.AddString(QStringLiteral("a")), 0);
        QCOMPARE(list.AddString(QStringLiteral("M")), 2);
        QCOMPARE(list.item(2)->text(), QStringLiteral("M"));
    }

    void dialogUnitsFollowTheFont_data() {
        QTest::addColumn<int>("pointSize");
        QTest::addColumn<int>("baseWidth");
        QTest::addColumn<int>("baseHeight");
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<int>("halfX");
        QTest::addColumn<int>("halfY");
        // "Sans" is DejaVu Sans (fonts-dejavu-core) at the offscreen screen's 96 dpi. The
        // rectangle is (3, 5, 123, 13) in dialog units; halves are 2 and 4 units, which
        // round up as the platform's MulDiv does (3.5 -> 4, 6.5 -> 7, 9.5 -> 10).
        QTest::newRow("8 point") << 8 << 7 << 13 << QRect(5, 8, 215, 21) << 4 << 7;
        QTest::newRow("12 point") << 12 << 10 << 19 << QRect(8, 12, 308, 31) << 5 << 10;
    }

    void dialogUnitsFollowTheFont() {
        QFETCH(int, pointSize);
        QFETCH(int, baseWidth);
        QFETCH(int, baseHeight);
        const CDialogUnits units(QFont(QStringLiteral("Sans"), pointSize));
        QFETCH(QRect, pixels);
        QFETCH(int, halfX);
        QFETCH(int, halfY);
        QCOMPARE(units.BaseWidth(), baseWidth);
        QCOMPARE(units.BaseHeight(), baseHeight);
        QCOMPARE(units.ToPixels(3, 5, 123, 13), pixels);
        QCOMPARE(units.ToPixelsX(2), halfX);
        QCOMPARE(units.ToPixelsY(4), halfY);
    }

    void longTipsWrapWithinTheMaximumWidth() {
        CToolTipControl tips;
        tips.SetMaxTipWidth(300);
        const QString text = QStringLiteral(
            "URL of your script file.  (The \"http://\" part is compulsory.)  (Specify the "
            "working folder by appending, for example, \"c:\\temp\\\".)");
        const QString shown = tips.WrappedText(text);
        const QStringList lines = shown.split(QLatin1Char('\n'));
        QVERIFY(lines.size() > 1);
        const QFontMetrics metrics(QToolTip::font());
        for (const QString& line : lines)
            QVERIFY2(metrics.horizontalAdvance(line.trimmed()) <= 300, qPrintable(line));
        QCOMPARE(QString(shown).remove(QLatin1Char('\n')), text);
    }

    void shortTipsStayOnOneLine() {
        CToolTipControl tips;
        tips.SetMaxTipWidth(300);
        QCOMPARE(tips.WrappedText(QStringLiteral("Use PASV")), QStringLiteral("Use PASV"));
    }

    void tipShowsOnlyWhileActive() {
        QWidget window;
        window.resize(200, 100);
        auto* tool = new QWidget(&window);
        tool->setGeometry(10, 10, 50, 20);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CToolTipControl tips;
        tips.SetMaxTipWidth(300);
        tips.SetAutoPopDelay(5000);
        tips.AddTool(tool, QStringLiteral("Server timeout"));
        QHelpEvent early(QEvent::ToolTip, QPoint(5, 5), tool->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(tool, &early);
        QVERIFY(!QToolTip::isVisible());
        tips.Activate(true);
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), tool->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(tool, &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("Server timeout"));
        QToolTip::hideText();
    }
};

QTEST_MAIN(DialogControlsTest)
#include "DialogControlsTest.moc"
