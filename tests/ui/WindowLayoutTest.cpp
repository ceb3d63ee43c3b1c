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

// A control of the window as the template describes it: id (0 for the controls without
// one, found by their caption), position and size in dialog units, tooltip.
struct SExpectedControl {
    const char* name;
    int id;
    const char* caption;
    int x, y, width, height;
    const char* tooltip;
};

// clang-format off
const SExpectedControl kControls[] = {
    {"frame Local Paths", 0, "Local Paths:", 64, 2, 306, 59, nullptr},
    {"label ini", 0, "TarvonSvc4.ini:", 71, 28, 67, 8, nullptr},
    {"label log", 0, "TarvonSvc4.log:", 68, 44, 70, 8, nullptr},
    {"label script file", 0, "Script file:", 106, 12, 32, 8, nullptr},
    {"frame Remote settings", 0, "Remote settings:", 64, 141, 306, 188, nullptr},
    {"label server", 0, "Server:", 70, 156, 24, 8, nullptr},
    {"label target folder", 0, "Target folder:", 226, 156, 43, 8, nullptr},
    {"label user name", 0, "User name:", 72, 175, 37, 8, nullptr},
    {"label password", 0, "Password:", 182, 174, 34, 8, nullptr},
    {"frame upload", 0, "Local files for upload:", 67, 234, 298, 90, nullptr},
    {"frame URL", 0, "URL of update script", 64, 64, 306, 74, nullptr},
    {"New", 1030, nullptr, 7, 9, 50, 14, "New project"},
    {"Load", 1031, nullptr, 7, 26, 50, 14, "Load previous project.."},
    {"Save", 1032, nullptr, 7, 43, 50, 14, "Save current project.."},
    {"Quit", 1034, nullptr, 7, 294, 55, 35, nullptr},
    {"open script", 1013, nullptr, 343, 10, 25, 14, "Open the script file for viewing or editing"},
    {"browse ini", 1007, nullptr, 139, 28, 8, 8, "Select the TarvonSvc4.ini path (normally in the Windows folder)."},
    {"open ini", 1009, nullptr, 343, 25, 25, 14, "Open the TarvonSvc4.ini file for viewing or editing."},
    {"browse log", 1008, nullptr, 139, 44, 8, 8, "Select the TarvonSvc4.log log file path in the Windows System32 folder)"},
    {"open log", 1010, nullptr, 343, 40, 25, 14, "Open the TarvonSvc4.log log file for viewing or editing."},
    {"script URL", 1038, nullptr, 72, 73, 288, 256, "URL of your script file.  (The \"http://\" part is compulsory.)  (Specify the working folder by appending, for example, \"c:\\temp\\\".)"},
    {"Test Script", 1002, nullptr, 71, 96, 127, 22, "Send the URL to the Brevane service."},
    {"explore", 1035, nullptr, 71, 119, 127, 14, "Explore current working folder from when TarvonScp.exe was launched"},
    {"Tarvon", 1036, nullptr, 213, 97, 73, 10, "Execute the test script url using the Tarvon() function from zel4.dll"},
    {"TarvonWait", 1037, nullptr, 213, 108, 88, 10, "Execute the test script url using the TarvonWait() function from zel4.dll (with a 120 second timeout)"},
    {"service status", 1016, nullptr, 213, 122, 134, 10, "Current status of the Brevane service.  (Tip: you can start/stop the service using this control.)"},
    {"browse script", 1011, nullptr, 139, 12, 8, 8, "Select the script path (to a drive letter and path)"},
    {"FTP server", 1003, nullptr, 94, 154, 123, 12, "FTP server - e.g. 'ftp.yourcompany.com'"},
    {"target folder", 1018, nullptr, 273, 154, 78, 12, "Target folder on server - e.g. '/myapp/updates/'"},
    {"user name", 1019, nullptr, 113, 173, 62, 12, "User name for the ftp server"},
    {"password", 1020, nullptr, 218, 173, 62, 12, "Password for the ftp server"},
    {"PASV", 1021, nullptr, 78, 194, 35, 10, "Use PASV"},
    {"preconfigured", 1022, nullptr, 127, 194, 100, 10, "Use preconfigured settings from registry"},
    {"label timeout", 0, "Connection timeout:", 236, 195, 64, 8, nullptr},
    {"timeout", 1025, nullptr, 300, 192, 40, 12, "Server timeout"},
    {"use proxy", 1023, nullptr, 66, 214, 47, 10, "Use proxy"},
    {"proxy server", 1024, nullptr, 116, 213, 238, 12, "Proxy server"},
    {"Add", 1028, nullptr, 75, 306, 26, 14, "Add files to be uploaded"},
    {"Delete", 1029, nullptr, 104, 306, 26, 14, "Remove files from upload list"},
    {"upload list", 1026, nullptr, 71, 245, 289, 57, "Files to be uploaded"},
    {"Upload", 1027, nullptr, 311, 306, 49, 14, "Upload files to ftp server now"},
    {"auto-load", 1033, nullptr, 7, 78, 52, 26, "Load last project at startup"},
    {"picture", 0, nullptr, 7, 114, 52, 177, nullptr},
    {"script file", 1040, nullptr, 149, 10, 194, 205, "Path to script file"},
    {"ini path", 1041, nullptr, 149, 24, 194, 30, "The path of the TarvonSvc4.ini file"},
    {"log path", 1042, nullptr, 149, 41, 194, 30, "The path of the TarvonSvc4.log log file."},
};
// clang-format on

// A text label, not the picture.
bool IsLabel(const QWidget* widget) {
    const auto* label = qobject_cast<const QLabel*>(widget);
    return label != nullptr && label->pixmap().isNull();
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

    // The widget of a control: by id, else the frame, label or picture with its caption.
    const QWidget* Find(const SExpectedControl& control) const {
        if (control.id != 0)
            return ControlById<QWidget>(*m_window, control.id);
        for (const QWidget* widget : m_window->findChildren<QWidget*>()) {
            const auto* frame = qobject_cast<const QGroupBox*>(widget);
            const auto* label = qobject_cast<const QLabel*>(widget);
            const QString caption = frame ? frame->title() : label ? label->text() : QString();
            const bool picture = label != nullptr && !label->pixmap().isNull();
            if (widget->parentWidget() == m_window.get() &&
                (control.caption == nullptr ? picture
                                            : caption == QString::fromUtf8(control.caption)))
                return widget;
        }
        return nullptr;
    }

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

    void everyControlStandsWhereTheTemplatePutsIt() {
        const CDialogUnits units(m_window->font());
        for (const SExpectedControl& control : kControls) {
            const QWidget* widget = Find(control);
            QVERIFY2(widget != nullptr, control.name);
            const QRect expected =
                units.ToPixels(control.x, control.y, control.width, control.height);
            const QRect actual = widget->geometry();
            if (qobject_cast<const QComboBox*>(widget) != nullptr) {
                // Closed, a history field is one line high; the height is its drop-down's.
                QCOMPARE(actual.topLeft(), expected.topLeft());
                QCOMPARE(actual.width(), expected.width());
            } else if (IsLabel(widget)) {
                // A label the font does not fit grows to the left, towards no control.
                QVERIFY2(actual.top() == expected.top() && actual.right() == expected.right() &&
                             actual.left() <= expected.left(),
                         control.name);
            } else {
                QVERIFY2(actual == expected, control.name);
            }
        }
    }

    void everyLabelFitsItsTextAndOverlapsNoControl() {
        for (const QLabel* label : m_window->findChildren<QLabel*>()) {
            if (!IsLabel(label))
                continue;
            const QString name = label->text();
            QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(name));
            for (const QWidget* other : m_window->findChildren<QWidget*>()) {
                const bool control = other->parentWidget() == m_window.get() && other != label &&
                                     qobject_cast<const QGroupBox*>(other) == nullptr &&
                                     !other->isWindow();
                QVERIFY2(
                    !control || !label->geometry().intersects(other->geometry()),
                    qPrintable(name + QStringLiteral(" overlaps ") + QString::number(IdOf(other))));
            }
        }
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
        QVERIFY(ControlById<CHistoryComboBox>(*m_window, 1038)->isEditable());
        QCOMPARE(ControlById<QPushButton>(*m_window, 1002)->text(), QStringLiteral("Test Script!"));
        QCOMPARE(ControlById<QCheckBox>(*m_window, 1033)->text(),
                 QStringLiteral("Auto-load last project"));
    }

    // The state a click advances the box to, before the status handler puts it at rest.
    void serviceBoxCyclesInThePlatformOrder() {
        auto* box = ControlById<QCheckBox>(*m_window, 1016);
        const std::pair<Qt::CheckState, Qt::CheckState> steps[] = {
            {Qt::Unchecked, Qt::Checked},
            {Qt::Checked, Qt::PartiallyChecked},
            {Qt::PartiallyChecked, Qt::Unchecked},
        };
        for (const auto& [from, to] : steps) {
            box->setCheckState(from);
            QList<Qt::CheckState> changes;
            const auto recording = connect(box, &QCheckBox::stateChanged, this, [&](int state) {
                changes.append(static_cast<Qt::CheckState>(state));
            });
            QTest::mouseClick(box, Qt::LeftButton);
            disconnect(recording);
            QVERIFY(!changes.isEmpty());
            QCOMPARE(changes.front(), to);
        }
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
        for (const SExpectedControl& control : kControls) {
            if (control.id != 0 && control.tooltip != nullptr)
                QTest::newRow(control.name) << control.id << QString::fromUtf8(control.tooltip);
        }
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
