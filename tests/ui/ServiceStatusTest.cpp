#include "WindowRig.h"
#include "ui/ProjectManagerDlg.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimerEvent>

namespace {

const std::string kService = "Tarvon4";
const QString kTemplateCaption = QStringLiteral("Service status");
const QString kStarted = QStringLiteral("Service status: Started");
const QString kStopped = QStringLiteral("Service status: Stopped");
const QString kNotAnInteger = QStringLiteral("Please enter a whole number from 0 to 4294967295.");
constexpr int kServiceStatus = 1016;
constexpr int kFtpServer = 1003;
constexpr int kTimeout = 1025;

QCheckBox* Box(const QWidget& window) {
    return ControlById<QCheckBox>(window, kServiceStatus);
}

// The window's status timer: the one that fires every second.
int StatusTimerId(QObject& window) {
    for (const auto& timer : QAbstractEventDispatcher::instance()->registeredTimers(&window)) {
        if (timer.interval == 1000)
            return timer.timerId;
    }
    return 0;
}

// One tick of the status timer, delivered now.
void Tick(QWidget& window) {
    const int id = StatusTimerId(window);
    QVERIFY(id != 0);
    QTimerEvent tick(id);
    QCoreApplication::sendEvent(&window, &tick);
}

void ClickBox(const QWidget& window) {
    QTest::mouseClick(Box(window), Qt::LeftButton);
}

// What the box looked like at one pause of a start or stop.
struct SDuringWait {
    Qt::CheckState state;
    QString caption;
    bool captionPainted;
    bool waitCursor;
};

// Records each text the box was painted with.
class CPaintRecorder final : public QObject {
public:
    explicit CPaintRecorder(QCheckBox& box) : m_box(box) { box.installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_box && event->type() == QEvent::Paint)
            painted.append(m_box.text());
        return false;
    }
    QStringList painted;

private:
    QCheckBox& m_box;
};

} // namespace

class ServiceStatusTest : public QObject {
    Q_OBJECT

    CSimulatedServiceManager& Manager() { return m_rig->serviceManager; }

    // Clicks the box and records it at every pause of the controller's wait.
    QList<SDuringWait> ClickAndWatch(CProjectManagerDlg& window) {
        QList<SDuringWait> seen;
        if (!QTest::qWaitForWindowExposed(&window))
            return seen;
        CPaintRecorder recorder(*Box(window));
        Manager().OnSleep([&](uint32_t) {
            const QCursor* cursor = QApplication::overrideCursor();
            seen.append({Box(window)->checkState(), Box(window)->text(),
                         recorder.painted.contains(Box(window)->text()),
                         cursor != nullptr && cursor->shape() == Qt::WaitCursor});
        });
        ClickBox(window);
        Manager().OnSleep(nullptr);
        return seen;
    }

private slots:
    void init() {
        m_rig = std::make_unique<SWindowRig>();
        m_rig->MarkFirstRunDone();
    }
    void cleanup() { m_rig.reset(); }

    void notInstalledShowsStoppedAndAClickFailsSilently() {
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            QCOMPARE(Box(window)->text(), kTemplateCaption);
            QCOMPARE(Box(window)->checkState(), Qt::Unchecked);
            Tick(window);
            QCOMPARE(Box(window)->text(), kStopped);
            QCOMPARE(Box(window)->checkState(), Qt::Unchecked);
            ClickBox(window);
            QCOMPARE(Box(window)->checkState(), Qt::Unchecked);
            QCOMPARE(Box(window)->text(), kStopped);
        });
        QVERIFY(m_rig->prompts.Messages().empty());
        QCOMPARE(Manager().OpenHandles(), size_t(0));
    }

    void runningAtOpenIsCheckedAtTheFirstTick() {
        Manager().Install(kService, kServiceRunning);
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            QCOMPARE(Box(window)->text(), kTemplateCaption);
            // The real timer, once a second.
            QTRY_COMPARE_WITH_TIMEOUT(Box(window)->text(), kStarted, 3000);
            QCOMPARE(Box(window)->checkState(), Qt::Checked);
        });
    }

    // A click on an unchecked box starts, on a checked one stops; while the controller waits
    // the box shows the request and the pending caption, painted, under a wait cursor.
    void aClickStartsOrStopsWithThePendingCaptionPaintedDuringTheWait_data() {
        QTest::addColumn<bool>("start");
        QTest::addColumn<Qt::CheckState>("requested");
        QTest::addColumn<QString>("pending");
        QTest::addColumn<QString>("atRest");
        QTest::newRow("start") << true << Qt::Checked << QStringLiteral("Service start pending.")
                               << kStarted;
        QTest::newRow("stop") << false << Qt::PartiallyChecked
                              << QStringLiteral("Service stop pending.") << kStopped;
    }
    void aClickStartsOrStopsWithThePendingCaptionPaintedDuringTheWait() {
        QFETCH(bool, start);
        QFETCH(Qt::CheckState, requested);
        QFETCH(QString, pending);
        QFETCH(QString, atRest);
        const uint32_t from = start ? kServiceStopped : kServiceRunning;
        const uint32_t to = start ? kServiceRunning : kServiceStopped;
        const uint32_t waiting = start ? kServiceStartPending : kServiceStopPending;
        Manager().Install(kService, from);
        // The progress callback's own query takes the first status.
        const std::vector<SServiceStatus> script = {StatusOf(waiting), StatusOf(waiting),
                                                    StatusOf(to)};
        if (start)
            Manager().ScriptStart(kService, script);
        else
            Manager().ScriptStop(kService, script);
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            Tick(window);
            const QList<SDuringWait> seen = ClickAndWatch(window);
            QCOMPARE(seen.size(), 1);
            QCOMPARE(seen[0].state, requested);
            QCOMPARE(seen[0].caption, pending);
            QVERIFY(seen[0].captionPainted);
            QVERIFY(seen[0].waitCursor);
            QCOMPARE(Box(window)->checkState(), start ? Qt::Checked : Qt::Unchecked);
            QCOMPARE(Box(window)->text(), atRest);
            QVERIFY(QApplication::overrideCursor() == nullptr);
        });
        QCOMPARE(Manager().State(kService), to);
        QVERIFY(m_rig->prompts.Messages().empty());
    }

    void aStartThatDoesNotFinishKeepsTheLastProgressCaptionUntilTheTick() {
        Manager().Install(kService, kServiceStopped);
        Manager().ScriptStart(kService, {StatusOf(kServiceStartPending)});
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            Tick(window);
            ClickBox(window);
            QCOMPARE(Manager().Pauses(), std::vector<uint32_t>{1000});
            QCOMPARE(Box(window)->text(), QStringLiteral("Service start pending."));
            QCOMPARE(Box(window)->checkState(), Qt::Unchecked);
            Tick(window);
            QCOMPARE(Box(window)->text(), kStopped);
        });
        QVERIFY(m_rig->prompts.Messages().empty());
    }

    void aClickOnTheIndeterminateBoxRequestsNothing() {
        Manager().Install(kService, kServiceRunning);
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            Tick(window);
            Box(window)->setCheckState(Qt::PartiallyChecked);
            ClickBox(window);
            QCOMPARE(Box(window)->checkState(), Qt::Checked);
            QCOMPARE(Box(window)->text(), kStarted);
        });
        QCOMPARE(Manager().State(kService), uint32_t(kServiceRunning));
        QVERIFY(Manager().Pauses().empty());
    }

    void aRefusedStartShowsNoMessageAndLeavesTheBoxUnchecked() {
        Manager().Install(kService, kServiceStopped);
        Manager().RefuseRequests(kService, 5);
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            ClickBox(window);
            QCOMPARE(Box(window)->checkState(), Qt::Unchecked);
            QCOMPARE(Box(window)->text(), kTemplateCaption);
        });
        QVERIFY(m_rig->prompts.Messages().empty());
    }

    void aChangeFromOutsideIsFollowedWithinASecond() {
        Manager().Install(kService, kServiceStopped);
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            QTRY_COMPARE_WITH_TIMEOUT(Box(window)->text(), kStopped, 3000);
            Manager().SetState(kService, kServiceRunning);
            QTRY_COMPARE_WITH_TIMEOUT(Box(window)->text(), kStarted, 3000);
            QCOMPARE(Box(window)->checkState(), Qt::Checked);
            Manager().SetState(kService, kServiceStopped);
            QTRY_COMPARE_WITH_TIMEOUT(Box(window)->text(), kStopped, 3000);
            QCOMPARE(Box(window)->checkState(), Qt::Unchecked);
        });
    }

    void onlyRunningCountsAsRunningAtATick_data() {
        QTest::addColumn<uint>("state");
        QTest::addColumn<bool>("running");
        QTest::newRow("start pending") << uint(kServiceStartPending) << false;
        QTest::newRow("stop pending") << uint(kServiceStopPending) << false;
        QTest::newRow("running") << uint(kServiceRunning) << true;
        QTest::newRow("continue pending") << uint(kServiceContinuePending) << false;
        QTest::newRow("pause pending") << uint(kServicePausePending) << false;
        QTest::newRow("paused") << uint(kServicePaused) << false;
    }
    void onlyRunningCountsAsRunningAtATick() {
        QFETCH(uint, state);
        QFETCH(bool, running);
        Manager().Install(kService, state);
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            Tick(window);
            QCOMPARE(Box(window)->checkState(), running ? Qt::Checked : Qt::Unchecked);
            QCOMPARE(Box(window)->text(), running ? kStarted : kStopped);
        });
    }

    // Ticks pass over a timeout field that holds no number: no message, no stolen focus. A click
    // on the box still reports it, once, and still starts the service.
    void ticksDoNotRaiseTheTimeoutFieldsRefusal() {
        Manager().Install(kService, kServiceStopped);
        RunWindow(*m_rig, [&](CProjectManagerDlg& window) {
            QApplication::setActiveWindow(&window);
            ControlById<QLineEdit>(window, kTimeout)->clear();
            auto* server = ControlById<QLineEdit>(window, kFtpServer);
            server->setFocus();
            for (int tick = 0; tick < 3; ++tick)
                Tick(window);
            QVERIFY(m_rig->prompts.Messages().empty());
            QCOMPARE(QApplication::focusWidget(), server);
            Manager().SetState(kService, kServiceRunning);
            Tick(window);
            QCOMPARE(Box(window)->text(), kStarted);
            Manager().SetState(kService, kServiceStopped);
            Tick(window);
            ClickBox(window);
            QCOMPARE(Box(window)->checkState(), Qt::Checked);
        });
        QCOMPARE(m_rig->prompts.Messages().size(), size_t(1));
        QCOMPARE(m_rig->prompts.Messages().front().text, kNotAnInteger);
        QCOMPARE(Manager().State(kService), uint32_t(kServiceRunning));
    }

private:
    std::unique_ptr<SWindowRig> m_rig;
};

QTEST_MAIN(ServiceStatusTest)
#include "ServiceStatusTest.moc"
