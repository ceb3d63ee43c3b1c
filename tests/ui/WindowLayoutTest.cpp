#include "WindowRig.h"
#include "ui/DialogUnits.h"
#include "ui/HistoryComboBox.h"
#include "ui/ProjectManagerDlg.h"
#include "ui/SortedListBox.h"
#include "ui/ToolTipControl.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolTip>

namespace {

// Tab stops in the order Tab visits them, as the window's template lists its controls.
const QList<int> kTabOrder = {1030, 1031, 1032, 1034, 1013, 1007, 1009, 1008, 1010, 1038, 1002,
                              1035, 1016, 1011, 1003, 1018, 1019, 1020, 1021, 1022, 1025, 1023,
                              1024, 1028, 1029, 1026, 1027, 1033, 1040, 1041, 1042};

const QList<int> kToolTipOrder = {1038, 1002, 1007, 1041, 1009, 1008, 1042, 1010, 1040, 1011, 1013,
                                  1016, 1003, 1018, 1019, 1020, 1021, 1022, 1025, 1023, 1024, 1028,
                                  1029, 1026, 1027, 1033, 1030, 1031, 1032, 1035, 1036, 1037};

int IdOf(const QWidget* widget) {
    return widget->property("controlId").toInt();
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_rig = std::make_unique<SWindowRig>();
        m_rig->MarkFirstRunDone();
        m_window = m_rig->NewWindow();
    }

    void cleanup() {
        m_window.reset();
        m_rig.reset();
    }

    void windowIsAFixedDialogWithAMinimiseBox() {
        const CDialogUnits units(m_window->font());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Brevane Project Manager"));
        QCOMPARE(m_window->size(), QSize(units.ToPixelsX(377), units.ToPixelsY(336)));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        QVERIFY(m_window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(m_window->font().pointSize(), 8);
    }

    void controlsStandWhereTheTemplatePutsThem_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QRect>("dialogUnits");
        QTest::newRow("New") << 1030 << QRect(7, 9, 50, 14);
        QTest::newRow("Quit") << 1034 << QRect(7, 294, 55, 35);
        QTest::newRow("browse INI") << 1007 << QRect(139, 28, 8, 8);
        QTest::newRow("service status") << 1016 << QRect(213, 122, 134, 10);
        QTest::newRow("timeout") << 1025 << QRect(300, 192, 40, 12);
        QTest::newRow("upload list") << 1026 << QRect(71, 245, 289, 57);
        QTest::newRow("auto-load") << 1033 << QRect(7, 78, 52, 26);
    }

    void controlsStandWhereTheTemplatePutsThem() {
        QFETCH(int, id);
        QFETCH(QRect, dialogUnits);
        const CDialogUnits units(m_window->font());
        const QRect expected = units.ToPixels(dialogUnits.x(), dialogUnits.y(), dialogUnits.width(),
                                              dialogUnits.height());
        QCOMPARE(ControlById<QWidget>(*m_window, id)->geometry(), expected);
    }

    void historyFieldsKeepTheirTemplateWidth() {
        const CDialogUnits units(m_window->font());
        auto* url = ControlById<CHistoryComboBox>(*m_window, 1038);
        QCOMPARE(url->pos(), QPoint(units.ToPixelsX(72), units.ToPixelsY(73)));
        QCOMPARE(url->width(), units.ToPixelsX(288));
        QVERIFY(url->isEditable());
    }

    void framesAndLabelsCarryTheirCaptions() {
        QStringList frames;
        for (const QGroupBox* frame : m_window->findChildren<QGroupBox*>())
            frames.append(frame->title());
        QCOMPARE(frames, (QStringList{"Local Paths:", "Remote settings:", "Local files for upload:",
                                      "URL of update script"}));
        QStringList labels;
        for (const QLabel* label : m_window->findChildren<QLabel*>()) {
            if (label->pixmap().isNull())
                labels.append(label->text());
        }
        QCOMPARE(labels,
                 (QStringList{"TarvonSvc4.ini:", "TarvonSvc4.log:", "Script file:", "Server:",
                              "Target folder:", "User name:", "Password:", "Connection timeout:"}));
    }

    void pictureAndIconAreDrawn() {
        QLabel* picture = nullptr;
        for (QLabel* label : m_window->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull())
                picture = label;
        }
        QVERIFY(picture != nullptr);
        QVERIFY(picture->pixmap().toImage().pixelColor(10, 10).alpha() > 0);
        QCOMPARE(picture->alignment(), Qt::AlignCenter);
        QCOMPARE(picture->frameShape(), QFrame::Box);
        RunModal(*m_window, [&] {
            QVERIFY(!m_window->windowIcon().pixmap(16, 16).isNull());
            QVERIFY(!m_window->windowIcon().pixmap(32, 32).isNull());
            QTest::keyClick(m_window.get(), Qt::Key_Escape);
        });
    }

    void controlsHaveTheirStyles() {
        QCOMPARE(ControlById<QLineEdit>(*m_window, 1020)->echoMode(), QLineEdit::Password);
        QCOMPARE(ControlById<QLineEdit>(*m_window, 1003)->echoMode(), QLineEdit::Normal);
        QVERIFY(ControlById<QCheckBox>(*m_window, 1016)->isTristate());
        QVERIFY(!ControlById<QCheckBox>(*m_window, 1021)->isTristate());
        QVERIFY(ControlById<CSortedListBox>(*m_window, 1026)->acceptDrops());
        QCOMPARE(ControlById<QPushButton>(*m_window, 1002)->text(), QStringLiteral("Test Script!"));
        QCOMPARE(ControlById<QCheckBox>(*m_window, 1033)->text(),
                 QStringLiteral("Auto-load last project"));
    }

    void serviceBoxCyclesInThePlatformOrder() {
        auto* box = ControlById<QCheckBox>(*m_window, 1016);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->checkState(), Qt::Checked);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->checkState(), Qt::PartiallyChecked);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->checkState(), Qt::Unchecked);
    }

    void radioPairIsExclusiveAndSkippedByTab() {
        auto* tarvon = ControlById<QRadioButton>(*m_window, 1036);
        auto* wait = ControlById<QRadioButton>(*m_window, 1037);
        QTest::mouseClick(tarvon, Qt::LeftButton);
        QTest::mouseClick(wait, Qt::LeftButton);
        QVERIFY(wait->isChecked());
        QVERIFY(!tarvon->isChecked());
        QVERIFY(!(tarvon->focusPolicy() & Qt::TabFocus));
        QVERIFY(!(wait->focusPolicy() & Qt::TabFocus));
    }

    void tabVisitsTheControlsInTemplateOrder() {
        QList<int> visited;
        QWidget* widget = ControlById<QWidget>(*m_window, kTabOrder.first());
        while (visited.size() < kTabOrder.size()) {
            if ((widget->focusPolicy() & Qt::TabFocus) && widget->parentWidget() == m_window.get())
                visited.append(IdOf(widget));
            widget = widget->nextInFocusChain();
        }
        QCOMPARE(visited, kTabOrder);
    }

    void toolTipsAreRegisteredInOrder() {
        RunModal(*m_window, [&] {
            auto* tips = m_window->findChild<CToolTipControl*>();
            QVERIFY(tips != nullptr);
            QCOMPARE(tips->MaxTipWidth(), 300);
            QCOMPARE(tips->AutoPopDelay(), 5000);
            QList<int> ids;
            for (const CToolTipControl::STool& tool : tips->Tools())
                ids.append(IdOf(tool.widget));
            QCOMPARE(ids, kToolTipOrder);
            QTest::keyClick(m_window.get(), Qt::Key_Escape);
        });
    }

    void toolTipTexts_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::newRow("script URL")
            << 1038
            << "URL of your script file.  (The \"http://\" part is compulsory.)  (Specify the "
               "working folder by appending, for example, \"c:\\temp\\\".)";
        QTest::newRow("service status")
            << 1016
            << "Current status of the Brevane service.  (Tip: you can start/stop the service "
               "using this control.)";
        QTest::newRow("browse log")
            << 1008 << "Select the TarvonSvc4.log log file path in the Windows System32 folder)";
        QTest::newRow("explore")
            << 1035 << "Explore current working folder from when TarvonScp.exe was launched";
        QTest::newRow("TarvonWait")
            << 1037
            << "Execute the test script url using the TarvonWait() function from zel4.dll (with "
               "a 120 second timeout)";
        QTest::newRow("FTP server") << 1003 << "FTP server - e.g. 'ftp.yourcompany.com'";
        QTest::newRow("log path") << 1042 << "The path of the TarvonSvc4.log log file.";
        QTest::newRow("timeout") << 1025 << "Server timeout";
    }

    void toolTipTexts() {
        QFETCH(int, id);
        QFETCH(QString, text);
        RunModal(*m_window, [&] {
            QWidget* control = ControlById<QWidget>(*m_window, id);
            // Hovering the field's edit part reaches the field's tool as well.
            QWidget* target = control;
            if (auto* combo = qobject_cast<QComboBox*>(control))
                target = combo->lineEdit();
            const QPoint inside(3, 3);
            QHelpEvent help(QEvent::ToolTip, inside, target->mapToGlobal(inside));
            QApplication::sendEvent(target, &help);
            QTRY_VERIFY(QToolTip::isVisible());
            QCOMPARE(QToolTip::text().remove(QLatin1Char('\n')), text);
            QToolTip::hideText();
            QTest::keyClick(m_window.get(), Qt::Key_Escape);
        });
    }

    void quitHasNoToolTip() {
        RunModal(*m_window, [&] {
            auto* tips = m_window->findChild<CToolTipControl*>();
            QWidget* quit = ControlById<QWidget>(*m_window, 1034);
            for (const CToolTipControl::STool& tool : tips->Tools())
                QVERIFY(tool.widget != quit);
            QTest::keyClick(m_window.get(), Qt::Key_Escape);
        });
    }

private:
    std::unique_ptr<SWindowRig> m_rig;
    std::unique_ptr<CProjectManagerDlg> m_window;
};

QTEST_MAIN(WindowLayoutTest)
#include "WindowLayoutTest.moc"
