// A recorded session played back through the real window: the log opened from the record view,
// the status line saying it is a replay, paused and played on and sped up with the mouse and
// keys, the replayed angles in the labels and the recorded commands on the sticks, and nothing
// sent anywhere meanwhile: the UDP port that the tool talked to a moment before receives nothing,
// however the sticks and keys are worked.
#include "framewriter.h"
#include "mainwindowdriver.h"
#include "replaylink.h"
#include "tlogentry.h"
#include "wiring.h"

#include <messages.h>

#include <QGuiApplication>
#include <QNetworkDatagram>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

namespace {
constexpr float QuarterTurn = 1.5707964f;
// 2026-03-01T12:00:00Z.
constexpr std::uint64_t StartUs = 1772366400ULL * 1000000;

// Three seconds of a report gimbal's link: a report every 10 ms, the angles moving, and the tool's
// command every 20 ms with the sticks at (0.25, -0.5) and 0.75.
QByteArray recordedSession()
{
    FrameWriter gimbal(2, 1, 154);
    FrameWriter tool(2, 0, 0);
    QByteArray log;
    for (int i = 0; i < 300; ++i) {
        const std::uint64_t time = StartUs + 10000ULL * static_cast<unsigned>(i);
        mavlink_gimbal_report_t report{};
        report.joint_roll = 0.01f * static_cast<float>(i);
        report.joint_el = -0.5f;
        report.joint_az = 1.0f + 0.001f * static_cast<float>(i);
        log += tlog::entry(time, gimbal.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, report));
        const mavlink_gimbal_control_t command{0.25f * QuarterTurn, -0.5f * QuarterTurn,
                                               0.75f * QuarterTurn, 1, 1};
        if (i % 2 == 1)
            log += tlog::entry(time + 5000, tool.frame(MAVLINK_MSG_ID_GIMBAL_CONTROL, command));
    }
    return log;
}

QQuickItem *named(QObject *view, const char *name)
{
    return view->findChild<QQuickItem *>(QLatin1String(name));
}
} // namespace

class TestReplayWindow : public QObject
{
    Q_OBJECT

private slots:
    void replaysInTheWindow();
};

void TestReplayWindow::replaysInTheWindow()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Wiring wiring(*qGuiApp);
    QVERIFY(QObject::disconnect(&wiring.engine(), &QQmlEngine::quit, qApp, nullptr));
    wiring.engine().load(QUrl(QStringLiteral("qrc:/main.qml")));
    MainWindowDriver driver(wiring.engine().rootObjects().first());
    QVERIFY(QTest::qWaitForWindowExposed(driver.window()));
    QObject *state = named(driver.byId(QStringLiteral("statusView")), "stateLine");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("session.tlog"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(recordedSession()) > 0);
    file.close();

    // The port that the tool talks to first, and that must hear nothing during the replay.
    QUdpSocket watch;
    QVERIFY(watch.bind(QHostAddress(QHostAddress::LocalHost), 0));
    driver.openPort(QStringLiteral("udp-out:127.0.0.1:%1").arg(watch.localPort()));
    QTRY_VERIFY(watch.hasPendingDatagrams());

    driver.click(driver.itemById(QStringLiteral("recordingButton")));
    QObject *recordView =
        driver.byId(QStringLiteral("recordView"))->property("item").value<QObject *>();
    QTRY_VERIFY(recordView->property("opened").toBool());
    driver.click(named(recordView, "replayField"));
    for (const char key : path.toLatin1())
        QTest::keyClick(driver.window(), key);
    driver.click(named(recordView, "replayButton"));
    Ravik &ravik = wiring.controller();
    QTRY_VERIFY(ravik.replaying() && !recordView->property("visible").toBool());
    while (watch.hasPendingDatagrams())
        watch.receiveDatagram();
    QVERIFY(state->property("text").toString().startsWith(QLatin1String("Replay of session.tlog")));

    // The sticks and keys, worked during the replay, steer nothing.
    driver.holdStick(QStringLiteral("rightJoystick"), QPointF(60, 0));
    QTest::keyPress(driver.window(), Qt::Key_Left);

    QObject *controls =
        driver.byId(QStringLiteral("replayControls"))->property("item").value<QObject *>();
    QQuickItem *playButton = named(controls, "playButton");
    QQuickItem *time = named(controls, "timeLabel");
    driver.click(playButton);
    QTRY_VERIFY(state->property("text").toString().startsWith(
        QLatin1String("Replay of session.tlog (paused)")));
    driver.click(playButton);
    ReplayLink &replay = *ravik.replay();
    // 16x, picked with the keyboard.
    driver.click(named(controls, "speedBox"));
    for (int step = 0; step < 3; ++step)
        QTest::keyClick(driver.window(), Qt::Key_Down);
    QTest::keyClick(driver.window(), Qt::Key_Return);
    QTRY_COMPARE(replay.speed(), 16);

    QTRY_VERIFY_WITH_TIMEOUT(!replay.playing(), 5000);
    QCOMPARE(time->property("text").toString(), QStringLiteral("00:02.9 / 00:02.9"));
    QCOMPARE(driver.angleTexts(), QStringList({"2.99", "-0.50", "1.30"}));
    const InputControl &input = wiring.input();
    QCOMPARE(QVector<float>({float(input.sentX()), float(input.sentY()), float(input.sentZ())}),
             QVector<float>({0.25f, -0.5f, 0.75f}));
    QTest::keyRelease(driver.window(), Qt::Key_Left);
    driver.releaseStick();
    QVERIFY(!watch.hasPendingDatagrams());

    // The gimbal view's commands are off, and say why.
    driver.click(driver.itemById(QStringLiteral("gimbalButton")));
    QObject *gimbalView =
        driver.byId(QStringLiteral("gimbalView"))->property("item").value<QObject *>();
    QTRY_VERIFY(gimbalView->property("opened").toBool());
    QCOMPARE(named(gimbalView, "centreTip")->property("reason").toString(),
             QStringLiteral("Replaying: nothing is sent"));
    QVERIFY(!named(gimbalView, "takeControlButton")->isEnabled());
    QMetaObject::invokeMethod(gimbalView, "close");

    driver.click(driver.itemById(QStringLiteral("serialButton")));
    QVERIFY(!ravik.serialIsOpen() && !replay.isOpen());
}

QTEST_MAIN(TestReplayWindow)
#include "tst_replaywindow.moc"
