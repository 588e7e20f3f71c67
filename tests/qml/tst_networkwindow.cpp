// The simulated gimbal over UDP through the real window, in either protocol: the address typed
// into the port box, the link named on the status line, the angles shown, and a held stick
// turning the gimbal at the far end. Then a simulated vehicle's gimbal through its manager: the
// path named, control taken in the gimbal view, the gimbal steered and centred, control handed
// over to another ground station and shown, taken back and given up.
#include "gimbalsimulator.h"
#include "linkstatus.h"
#include "mainwindowdriver.h"
#include "wiring.h"

#include <command.h>
#include <encoder.h>

#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

class TestNetworkWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void overUdp_data();
    void overUdp();
    void vehicleThroughItsManager();

private:
    // Opens a UDP port in the window that a simulator with `options` then sends to.
    std::unique_ptr<GimbalSimulator> openSimulator(SimulatorOptions options);
    QQuickItem *named(const QString &name) const { return m_driver->named(name); }
    QString textOf(const QString &name) const { return named(name)->property("text").toString(); }

    QString stateLine() const
    {
        return m_driver->window()
            ->findChild<QObject *>(QStringLiteral("stateLine"))
            ->property("text")
            .toString();
    }

    std::unique_ptr<Wiring> m_wiring;
    std::unique_ptr<MainWindowDriver> m_driver;
};

void TestNetworkWindow::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_wiring = std::make_unique<Wiring>(*qGuiApp);
    QQmlApplicationEngine &engine = m_wiring->engine();
    QVERIFY(QObject::disconnect(&engine, &QQmlEngine::quit, qApp, nullptr));
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    QCOMPARE(engine.rootObjects().size(), 1);
    m_driver = std::make_unique<MainWindowDriver>(engine.rootObjects().first());
    QVERIFY(QTest::qWaitForWindowExposed(m_driver->window()));
}

void TestNetworkWindow::cleanupTestCase()
{
    m_driver.reset();
    m_wiring.reset();
}

void TestNetworkWindow::overUdp_data()
{
    QTest::addColumn<bool>("v2");
    QTest::newRow("the report gimbal") << false;
    QTest::newRow("a v2 gimbal") << true;
}

std::unique_ptr<GimbalSimulator> TestNetworkWindow::openSimulator(SimulatorOptions options)
{
    QUdpSocket probe;
    probe.bind(QHostAddress(QHostAddress::LocalHost), 0);
    options.port = probe.localPort();
    probe.close();
    const QString endpoint = QStringLiteral("127.0.0.1:%1").arg(options.port);
    m_driver->openPort(QStringLiteral("udp:") + endpoint);
    if (stateLine() != QStringLiteral("listening on UDP %1").arg(endpoint))
        return nullptr;
    options.link = SimulatedLink::Udp;
    auto sim = std::make_unique<GimbalSimulator>(options);
    return sim->isOpen() ? std::move(sim) : nullptr;
}

void TestNetworkWindow::overUdp()
{
    QFETCH(bool, v2);
    SimulatorOptions options;
    options.protocol = v2 ? SimulatedProtocol::V2 : SimulatedProtocol::Report;
    const std::unique_ptr<GimbalSimulator> sim = openSimulator(options);
    QVERIFY(sim);
    QTRY_VERIFY_WITH_TIMEOUT(stateLine().startsWith(QStringLiteral("UDP 127.0.0.1:")) &&
                                 stateLine().contains(QStringLiteral(" from 127.0.0.1:")) &&
                                 stateLine().contains(QStringLiteral("reports/s")),
                             4000);
    QCOMPARE(m_driver->evaluate(QStringLiteral("protocolSelector.protocolName")).toString(),
             v2 ? QStringLiteral("v2") : QStringLiteral("report"));

    // The right stick held up: the gimbal at the far end turns, and the window shows it.
    const QStringList before = m_driver->angleTexts();
    m_driver->holdStick(QStringLiteral("rightJoystick"), QPointF(0, -60));
    QTRY_VERIFY_WITH_TIMEOUT(m_driver->angleTexts() != before, 4000);
    m_driver->releaseStick();
    m_driver->click(m_driver->itemById(QStringLiteral("serialButton")));
    QVERIFY(!m_wiring->controller().serialIsOpen());
}

void TestNetworkWindow::vehicleThroughItsManager()
{
    SimulatorOptions options;
    options.protocol = SimulatedProtocol::V2;
    options.vehicle.autopilot = SimulatedAutopilot::Px4;
    const std::unique_ptr<GimbalSimulator> sim = openSimulator(options);
    QVERIFY(sim);
    QTRY_VERIFY_WITH_TIMEOUT(
        textOf(QStringLiteral("gimbalLine"))
            .startsWith(QStringLiteral("Protocol: v2 via autopilot 1/1 (PX4)")),
        4000);
    QCOMPARE(textOf(QStringLiteral("steeringNote")),
             QStringLiteral("Sticks off: this panel does not control this gimbal; take control in "
                            "the gimbal view"));

    m_driver->click(m_driver->itemById(QStringLiteral("gimbalButton")));
    QTRY_VERIFY(named(QStringLiteral("takeControlButton")));
    QTRY_COMPARE(textOf(QStringLiteral("controlHolder")), QStringLiteral("Control: nobody"));
    m_driver->click(named(QStringLiteral("takeControlButton")));
    QTRY_COMPARE(textOf(QStringLiteral("controlHolder")), QStringLiteral("Control: this panel"));
    QCOMPARE(textOf(QStringLiteral("panelIds")),
             QStringLiteral("This panel's ids on the vehicle link: 245/190"));
    QMetaObject::invokeMethod(
        m_driver->byId(QStringLiteral("gimbalView"))->property("item").value<QObject *>(), "close");

    // Steered up, then centred: the pitch shown moves away and comes back.
    const QStringList before = m_driver->angleTexts();
    m_driver->holdStick(QStringLiteral("rightJoystick"), QPointF(0, -60));
    QTRY_VERIFY_WITH_TIMEOUT(m_driver->angleTexts().first() != before.first(), 4000);
    m_driver->releaseStick();
    m_wiring->v2Link().centre();
    QTRY_COMPARE_WITH_TIMEOUT(m_driver->angleTexts().first(), before.first(), 4000);

    // Another ground station takes control: the window says who, and the sticks are off.
    mavlink_message_t msg;
    mavlink_msg_gimbal_manager_configure_pack(
        255, 190, &msg, 1, 1, GIMBAL_MANAGER_CONTROL_SENDER, GIMBAL_MANAGER_CONTROL_SENDER,
        GIMBAL_MANAGER_CONTROL_UNCHANGED, GIMBAL_MANAGER_CONTROL_UNCHANGED, 0);
    std::uint8_t frame[MAVLINK_MAX_PACKET_LEN];
    const std::uint16_t length = mavlink_msg_to_send_buffer(frame, &msg);
    QUdpSocket station;
    const QString peer = m_wiring->controller().linkStatus()->peer();
    station.writeDatagram(reinterpret_cast<const char *>(frame), length,
                          QHostAddress(QHostAddress::LocalHost),
                          peer.section(QLatin1Char(':'), -1).toUShort());
    QTRY_COMPARE(m_wiring->v2Link().managerControl()->holder(), ManagerControl::OtherGroundStation);
    QVERIFY(!m_driver->itemById(QStringLiteral("rightJoystick"))->isEnabled());
    m_driver->click(m_driver->itemById(QStringLiteral("gimbalButton")));
    QTRY_COMPARE(textOf(QStringLiteral("controlHolder")),
                 QStringLiteral("Control: another ground station (255/190)"));
    // Taken back after the question, then given up.
    m_driver->click(named(QStringLiteral("takeControlButton")));
    QTRY_VERIFY(named(QStringLiteral("confirmTakeButton")) &&
                named(QStringLiteral("confirmTakeButton"))->isVisible());
    m_driver->click(named(QStringLiteral("confirmTakeButton")));
    QTRY_COMPARE(textOf(QStringLiteral("controlHolder")), QStringLiteral("Control: this panel"));
    m_driver->click(named(QStringLiteral("releaseControlButton")));
    QTRY_COMPARE(textOf(QStringLiteral("controlHolder")), QStringLiteral("Control: nobody"));
    QMetaObject::invokeMethod(
        m_driver->byId(QStringLiteral("gimbalView"))->property("item").value<QObject *>(), "close");
    m_driver->click(m_driver->itemById(QStringLiteral("serialButton")));
    QCOMPARE(sim->manager()->tally().deviceMessagesFromGround, 0);
}

QTEST_MAIN(TestNetworkWindow)
#include "tst_networkwindow.moc"
