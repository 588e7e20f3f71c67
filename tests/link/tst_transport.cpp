// What every link does the same, run over a serial port (a pseudo-terminal), UDP and TCP on
// loopback, through the controller as the window opens them: frames cut apart or sent together
// arrive whole, the tap gives every frame's bytes as they crossed, commands reach the far end,
// and Close closes. Then what only a network link does: a connection refused or a port held by
// another program is said and tried again until it comes, and on a UDP port that several send
// to, the tool keeps to the gimbal it controls.
#include "framereader.h"
#include "framewriter.h"
#include "gimbalv2link.h"
#include "linkstatus.h"
#include "pseudoterminal.h"
#include "ravik.h"

#include <messages.h>

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(mavlink_message_t)

namespace {
const QHostAddress Loopback(QHostAddress::LocalHost);

// The gimbal's side of a link.
class FarEnd
{
public:
    virtual ~FarEnd() = default;
    // What the tool opens.
    virtual QString address() const = 0;
    virtual void write(const QByteArray &bytes) = 0;
    // Takes what has arrived from the tool.
    virtual QByteArray take() = 0;
};

class SerialEnd : public FarEnd
{
public:
    QString address() const override { return m_pty.devicePath(); }
    void write(const QByteArray &bytes) override { m_pty.write(bytes); }
    QByteArray take() override { return m_pty.takeReceived(); }

private:
    PseudoTerminal m_pty;
};

quint16 freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(Loopback, 0);
    return probe.localPort();
}

// A gimbal that sends to the tool's UDP port from a port of its own.
class UdpEnd : public FarEnd
{
public:
    explicit UdpEnd(quint16 toolPort = freeUdpPort()) : m_toolPort(toolPort)
    {
        m_socket.bind(Loopback, 0);
    }
    QString address() const override { return QStringLiteral("udp:127.0.0.1:%1").arg(m_toolPort); }
    void write(const QByteArray &bytes) override
    {
        m_socket.writeDatagram(bytes, Loopback, m_toolPort);
    }
    QByteArray take() override
    {
        QByteArray bytes;
        while (m_socket.hasPendingDatagrams()) {
            QByteArray datagram(static_cast<int>(m_socket.pendingDatagramSize()), '\0');
            m_socket.readDatagram(datagram.data(), datagram.size());
            bytes += datagram;
        }
        return bytes;
    }

private:
    quint16 m_toolPort;
    QUdpSocket m_socket;
};

// A simulator that the tool connects to.
class TcpEnd : public FarEnd
{
public:
    TcpEnd() { m_server.listen(Loopback, 0); }
    QString address() const override
    {
        return QStringLiteral("tcp:127.0.0.1:%1").arg(m_server.serverPort());
    }
    void write(const QByteArray &bytes) override { peer()->write(bytes); }
    QByteArray take() override { return peer()->readAll(); }

private:
    QTcpSocket *peer()
    {
        if (!m_peer && (m_server.hasPendingConnections() || m_server.waitForNewConnection(2000)))
            m_peer = m_server.nextPendingConnection();
        return m_peer;
    }

    QTcpServer m_server;
    QTcpSocket *m_peer = nullptr;
};

mavlink_gimbal_report_t report(float roll)
{
    mavlink_gimbal_report_t r{};
    r.joint_roll = roll;
    r.joint_el = -roll;
    return r;
}

// The rate commands among `bytes`, as they crossed.
QByteArrayList commandFrames(FrameReader &reader, const QByteArray &bytes)
{
    QByteArrayList frames;
    for (const mavlink_message_t &msg : reader.feed(bytes)) {
        if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_CONTROL)
            frames << QByteArray(reinterpret_cast<const char *>(&msg.magic), 10) +
                          QByteArray(reinterpret_cast<const char *>(msg.payload), msg.len);
    }
    return frames;
}
} // namespace

class TestTransport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<mavlink_message_t>(); }
    void contract_data();
    void contract();
    void comesWhenTheFarEndDoes_data();
    void comesWhenTheFarEndDoes();
    void keepsToTheControlledGimbal();
};

void TestTransport::contract_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("serial") << "serial";
    QTest::newRow("UDP") << "udp";
    QTest::newRow("TCP") << "tcp";
}

void TestTransport::contract()
{
    QFETCH(QString, kind);
    std::unique_ptr<FarEnd> far;
    if (kind == QLatin1String("serial"))
        far = std::make_unique<SerialEnd>();
    else if (kind == QLatin1String("udp"))
        far = std::make_unique<UdpEnd>();
    else
        far = std::make_unique<TcpEnd>();

    Ravik ravik;
    QSignalSpy angles(&ravik, &Ravik::gimbalImuAngleChanged);
    QByteArrayList in, out;
    connect(&ravik.session(), &MavlinkSession::tapped, this,
            [&](const QByteArray &bytes, qint64 unixTimeUs, bool sent) {
                QVERIFY(qAbs(unixTimeUs / 1000 - QDateTime::currentMSecsSinceEpoch()) < 1000);
                (sent ? out : in) << bytes;
            });
    ravik.switchSerial(far->address(), QStringLiteral("115200"));
    QTRY_VERIFY(ravik.serialIsOpen());

    FrameWriter gimbal;
    const QByteArray a = gimbal.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, report(1.0f));
    const QByteArray b = gimbal.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, report(2.0f));
    const QByteArray c = gimbal.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, report(3.0f));
    // A frame cut in two (two datagrams on UDP), then two frames in one.
    far->write(a.left(7));
    far->write(a.mid(7));
    far->write(b + c);
    QTRY_COMPARE(angles.count(), 3);
    QCOMPARE(ravik.gimbalImuAngle().at(0).toFloat(), 3.0f);
    QCOMPARE(in, (QByteArrayList{a, b, c}));
    QCOMPARE(ravik.linkStatus()->badFrames(), 0);

    // The commands cross as the tap says.
    FrameReader reader;
    QByteArrayList commands;
    QTRY_VERIFY((commands += commandFrames(reader, far->take())).size() >= 3);
    for (int i = 0; i < commands.size(); ++i)
        QVERIFY(out.at(i).startsWith(commands.at(i)));

    ravik.switchSerial(far->address(), QStringLiteral("115200"));
    QVERIFY(!ravik.serialIsOpen());
    QVERIFY(!ravik.session().isOpen());
}

void TestTransport::comesWhenTheFarEndDoes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("failure");
    QTest::newRow("a refused TCP connection")
        << "tcp"
        << "TCP 127.0.0.1:%1 refused the connection: nothing listens on that port.";
    QTest::newRow("a UDP port another program holds")
        << "udp"
        << "UDP port 127.0.0.1:%1 is in use by another program (perhaps another ground station): "
           "close it or use another port.";
}

void TestTransport::comesWhenTheFarEndDoes()
{
    QFETCH(QString, kind);
    QFETCH(QString, failure);
    const bool tcp = kind == QLatin1String("tcp");

    // A free port of the link's own kind: nothing listens on it, or another program holds it.
    QTcpServer server;
    QUdpSocket holder;
    if (tcp)
        QVERIFY(server.listen(Loopback, 0));
    else
        QVERIFY(holder.bind(Loopback, 0, QAbstractSocket::DontShareAddress));
    const quint16 port = tcp ? server.serverPort() : holder.localPort();
    server.close();

    Ravik ravik;
    QSignalSpy messages(&ravik, &Ravik::addMessage);
    const QString address = QStringLiteral("%1:127.0.0.1:%2").arg(kind).arg(port);
    ravik.switchSerial(address, QStringLiteral("115200"));
    // Said once, among the reminders that each tick gives while no link is open.
    const auto said = [&] {
        return std::count_if(messages.begin(), messages.end(), [&](const QList<QVariant> &m) {
            return m.at(0).toString() == failure.arg(port);
        });
    };
    QTRY_COMPARE(said(), 1);
    QVERIFY(!ravik.serialIsOpen());
    QVERIFY(ravik.awaitingPort());

    if (tcp)
        QVERIFY(server.listen(Loopback, port));
    else
        holder.close();
    QTRY_VERIFY_WITH_TIMEOUT(ravik.serialIsOpen(), 3000);
    QVERIFY(!ravik.awaitingPort());
    if (!tcp)
        return;

    // The simulator goes away and comes back: closed, said, and connected again.
    QTRY_VERIFY(server.hasPendingConnections());
    server.nextPendingConnection()->close();
    QTRY_VERIFY(!ravik.serialIsOpen());
    QVERIFY(ravik.awaitingPort());
    QTRY_VERIFY_WITH_TIMEOUT(ravik.serialIsOpen(), 3000);
    QCOMPARE(messages.last().at(0).toString(),
             QStringLiteral("The gimbal is back: %1 is open again.").arg(address));
}

void TestTransport::keepsToTheControlledGimbal()
{
    UdpEnd first;
    Ravik ravik;
    GimbalV2Link protocols(ravik, {});
    QSignalSpy sent(&ravik, &Ravik::commandSent);
    QSignalSpy ticks(&ravik, &Ravik::commandDue);
    ravik.switchSerial(first.address(), QStringLiteral("115200"));
    QVERIFY(ravik.serialIsOpen());
    // Nobody has sent yet: nothing goes out.
    QTRY_VERIFY(ticks.count() >= 3);
    QCOMPARE(sent.count(), 0);

    FrameWriter gimbal;
    first.write(gimbal.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, report(1.0f)));
    QTRY_COMPARE(ravik.gimbalImuAngle().at(0).toFloat(), 1.0f);

    const quint16 toolPort = ravik.portName().section(QLatin1Char(':'), -1).toUShort();
    UdpEnd other(toolPort);
    FrameWriter stranger(2, 2, 1);
    other.write(stranger.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, report(9.0f)));
    QTRY_COMPARE(ravik.linkStatus()->ignoredFrames(), qint64(1));
    QCOMPARE(ravik.linkStatus()->ignoredSystem(), 2);
    QCOMPARE(ravik.gimbalImuAngle().at(0).toFloat(), 1.0f);

    // Commands go on to the controlled gimbal alone.
    FrameReader reader;
    int commands = 0;
    QTRY_VERIFY((commands += commandFrames(reader, first.take()).size()) >= 5);
    QVERIFY(other.take().isEmpty());
}

QTEST_GUILESS_MAIN(TestTransport)
#include "tst_transport.moc"
