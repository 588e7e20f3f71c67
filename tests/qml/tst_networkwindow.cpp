// The simulated gimbal over UDP through the real window, in either protocol: the address typed
// into the port box, the link named on the status line, the angles shown, and a held stick
// turning the gimbal at the far end.
#include "gimbalsimulator.h"
#include "mainwindowdriver.h"
#include "wiring.h"

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

private:
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

void TestNetworkWindow::overUdp()
{
    QFETCH(bool, v2);
    QUdpSocket probe;
    QVERIFY(probe.bind(QHostAddress(QHostAddress::LocalHost), 0));
    const quint16 port = probe.localPort();
    probe.close();

    const QString endpoint = QStringLiteral("127.0.0.1:%1").arg(port);
    m_driver->openPort(QStringLiteral("udp:") + endpoint);
    QVERIFY(m_wiring->controller().serialIsOpen());
    QCOMPARE(stateLine(), QStringLiteral("listening on UDP %1").arg(endpoint));

    SimulatorOptions options;
    options.link = SimulatedLink::Udp;
    options.port = port;
    options.protocol = v2 ? SimulatedProtocol::V2 : SimulatedProtocol::Report;
    GimbalSimulator sim(options);
    QVERIFY2(sim.isOpen(), qPrintable(sim.lineError()));

    QTRY_VERIFY_WITH_TIMEOUT(
        stateLine().startsWith(QStringLiteral("UDP %1 from 127.0.0.1:").arg(endpoint)) &&
            stateLine().contains(QStringLiteral("reports/s")),
        4000);
    QCOMPARE(m_driver->evaluate(QStringLiteral("protocolSelector.protocolName")).toString(),
             v2 ? QStringLiteral("v2") : QStringLiteral("report"));

    // The right stick held up: the gimbal at the far end turns, and the window shows it.
    const QStringList before = m_driver->angleTexts();
    m_driver->holdStick(QStringLiteral("rightJoystick"), QPointF(0, -60));
    QTRY_VERIFY_WITH_TIMEOUT(m_driver->angleTexts() != before, 3000);
    m_driver->releaseStick();
    m_driver->click(m_driver->itemById(QStringLiteral("serialButton")));
    QVERIFY(!m_wiring->controller().serialIsOpen());
}

QTEST_MAIN(TestNetworkWindow)
#include "tst_networkwindow.moc"
