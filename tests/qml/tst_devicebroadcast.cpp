// The device-change broadcasts on Windows, as the system delivers them: WM_DEVICECHANGE with a
// DEV_BROADCAST_PORT_W record, sent to the main window of the real tool (resource bundle,
// catalogues, controller and native event filter wired as at start-up). The reactions are the
// user's: the port box's list is read again, and the removal of the open port closes it with a
// message, until the port arrives again.
//
// GIMBAL_TEST_COM_PORT names a COM port whose far end is a running gimbal-sim (under Wine, its
// pseudo-terminal mapped through HKLM\Software\Wine\Ports; tools/windows/test-wine.sh does it).
#include "mainwindowdriver.h"
#include "messagemodel.h"
#include "ravik.h"
#include "wiring.h"

#include <QGuiApplication>
#include <QQmlContext>
#include <QQmlExpression>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QtTest>

#include <qt_windows.h>

#include <dbt.h>

#include <memory>
#include <vector>

namespace {
const QString OtherPort = QStringLiteral("COM9");
const QString RemovalMessage =
    QStringLiteral("The gimbal is experiencing abnormal connection with the computer, "
                   "please check the USB connection.");

// A broadcast record of the given device type. A port's record ends in its zero-terminated
// UTF-16 name, so the record is as long as the name needs; other types carry other records, of
// which only the header is read.
std::vector<char> record(DWORD deviceType, const QString &portName)
{
    std::vector<char> bytes(sizeof(DEV_BROADCAST_PORT_W) + portName.size() * sizeof(wchar_t), 0);
    auto *port = reinterpret_cast<DEV_BROADCAST_PORT_W *>(bytes.data());
    port->dbcp_size = static_cast<DWORD>(bytes.size());
    port->dbcp_devicetype = deviceType;
    portName.toWCharArray(port->dbcp_name);
    return bytes;
}
} // namespace

class TestDeviceBroadcast : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void listFollowsBroadcasts_data();
    void listFollowsBroadcasts();
    void removalOfTheOpenPort();

private:
    // Sends the broadcast to the main window and returns once the window has handled it, as
    // the system's broadcast does.
    void broadcast(WPARAM event, DWORD deviceType, const QString &portName);
    QVariant evaluate(const QString &expression) const;
    QStringList messageLines() const;
    void openTestPort();

    QString m_port;
    std::unique_ptr<Wiring> m_wiring;
    std::unique_ptr<MainWindowDriver> m_driver;
};

void TestDeviceBroadcast::initTestCase()
{
    m_port = qEnvironmentVariable("GIMBAL_TEST_COM_PORT");
    if (m_port.isEmpty())
        QSKIP("GIMBAL_TEST_COM_PORT names no COM port with a simulated gimbal behind it");
    QLocale::setDefault(QLocale(QLocale::English));
    m_wiring = std::make_unique<Wiring>(*qGuiApp);
    QVERIFY(QObject::disconnect(&m_wiring->engine(), &QQmlEngine::quit, qApp, nullptr));
    m_wiring->engine().load(QUrl(QStringLiteral("qrc:/main.qml")));
    QCOMPARE(m_wiring->engine().rootObjects().size(), 1);
    m_driver = std::make_unique<MainWindowDriver>(m_wiring->engine().rootObjects().first());
    QVERIFY(m_driver->window());
    QVERIFY(QTest::qWaitForWindowExposed(m_driver->window()));
}

void TestDeviceBroadcast::cleanupTestCase()
{
    m_driver.reset();
    m_wiring.reset();
}

void TestDeviceBroadcast::broadcast(WPARAM event, DWORD deviceType, const QString &portName)
{
    std::vector<char> bytes = record(deviceType, portName);
    const HWND window = reinterpret_cast<HWND>(m_driver->window()->winId());
    SendMessageW(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(bytes.data()));
}

QVariant TestDeviceBroadcast::evaluate(const QString &expression) const
{
    return m_driver->evaluate(expression);
}

QStringList TestDeviceBroadcast::messageLines() const
{
    const MessageModel &model = m_wiring->messages();
    QStringList lines;
    for (int row = 0; row < model.rowCount(); ++row)
        lines.append(model.index(row).data(MessageModel::LineRole).toString());
    return lines;
}

void TestDeviceBroadcast::openTestPort()
{
    Ravik &ravik = m_wiring->controller();
    QSignalSpy changed(&ravik, &Ravik::serialIsOpenChanged);
    QVERIFY(changed.isValid());
    m_driver->openPort(m_port);
    if (!ravik.serialIsOpen())
        QVERIFY(changed.wait(5000));
    QVERIFY(ravik.serialIsOpen());
}

void TestDeviceBroadcast::listFollowsBroadcasts_data()
{
    QTest::addColumn<WPARAM>("event");
    QTest::addColumn<DWORD>("deviceType");
    QTest::addColumn<bool>("refreshed");

    QTest::newRow("a port's arrival")
        << WPARAM(DBT_DEVICEARRIVAL) << DWORD(DBT_DEVTYP_PORT) << true;
    QTest::newRow("a port's removal")
        << WPARAM(DBT_DEVICEREMOVECOMPLETE) << DWORD(DBT_DEVTYP_PORT) << true;
    QTest::newRow("a volume's arrival is no port's")
        << WPARAM(DBT_DEVICEARRIVAL) << DWORD(DBT_DEVTYP_VOLUME) << false;
    QTest::newRow("a request to remove a port removes nothing yet")
        << WPARAM(DBT_DEVICEQUERYREMOVE) << DWORD(DBT_DEVTYP_PORT) << false;
}

void TestDeviceBroadcast::listFollowsBroadcasts()
{
    QFETCH(WPARAM, event);
    QFETCH(DWORD, deviceType);
    QFETCH(bool, refreshed);

    Ravik &ravik = m_wiring->controller();
    QSignalSpy listChanged(&ravik, &Ravik::serialPortChanged);
    QVERIFY(listChanged.isValid());
    broadcast(event, deviceType, OtherPort);
    QCOMPARE(listChanged.count(), refreshed ? 1 : 0);
    // The list read again is the system's, which has the test's port, and the box shows it
    // before the usual ground-station link.
    QVERIFY(ravik.serialPort().contains(m_port));
    QCOMPARE(evaluate(QStringLiteral("serial_nameCombo.model")).toStringList(),
             ravik.serialPort() + QStringList{QStringLiteral("udp:14550")});
}

void TestDeviceBroadcast::removalOfTheOpenPort()
{
    Ravik &ravik = m_wiring->controller();
    openTestPort();
    QSignalSpy openChanged(&ravik, &Ravik::serialIsOpenChanged);
    QVERIFY(openChanged.isValid());

    broadcast(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_PORT, OtherPort);
    QVERIFY(ravik.serialIsOpen());
    QVERIFY(!messageLines().join('\n').contains(RemovalMessage));

    broadcast(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_PORT, m_port);
    QCOMPARE(openChanged.count(), 1);
    QVERIFY(!ravik.serialIsOpen());
    QVERIFY(messageLines().join('\n').contains(RemovalMessage));
    QCOMPARE(evaluate(QStringLiteral("serialButton.text")).toString(), QStringLiteral("Open"));

    // The port comes back: its arrival opens it again.
    broadcast(DBT_DEVICEARRIVAL, DBT_DEVTYP_PORT, m_port);
    if (!ravik.serialIsOpen())
        QVERIFY(openChanged.wait(5000));
    QVERIFY(ravik.serialIsOpen());
    QCOMPARE(evaluate(QStringLiteral("serialButton.text")).toString(), QStringLiteral("Close"));
}

QTEST_MAIN(TestDeviceBroadcast)
#include "tst_devicebroadcast.moc"
