// The simulator on the network as the tool will meet it: a UDP socket listening as a ground
// station does and answering whoever it heard, or a TCP client, exchanging frames with it.
#include "gimbalsimulator.h"

#include <framereader.h>
#include <framewriter.h>
#include <gimbal_v2.h>
#include <messages.h>
#include <quaternion.h>

#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QtTest>

#include <cmath>

namespace {
quint16 portOf(const GimbalSimulator &sim)
{
    return sim.portPath().section(QLatin1Char(':'), -1).toUShort();
}

// The tool's side: on UDP it answers the sender of the last datagram, as a ground station does.
struct Peer
{
    QUdpSocket station;
    QTcpSocket client;
    FrameReader reader;
    FrameWriter writer{2, 255, 190};
    // On UDP, the last datagram from the gimbal: the answers go to its sender.
    QNetworkDatagram last;

    template <typename Record> void send(std::uint32_t msgid, const Record &record)
    {
        const QByteArray frame = writer.frame(msgid, record);
        last.isValid() ? station.writeDatagram(last.makeReply(frame)) : client.write(frame);
    }

    // Reads what arrived; true once a report or a status has shown the yaw turned on.
    bool sawTurn()
    {
        QByteArray bytes = client.isOpen() ? client.readAll() : QByteArray();
        while (station.hasPendingDatagrams()) {
            last = station.receiveDatagram();
            bytes += last.data();
        }
        for (const mavlink_message_t &msg : reader.feed(bytes)) {
            const auto status = mavlink_msg_gimbal_device_attitude_status_decode(&msg);
            if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_REPORT)
                turned = turned || mavlink_msg_gimbal_report_decode(&msg).joint_az > 0.05f;
            else if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS)
                turned = turned || mavlink_euler_from_quaternion(status.q).yaw > 0.05f;
        }
        return turned;
    }

    bool turned = false;
};
} // namespace

class TestNetworkSimulator : public QObject
{
    Q_OBJECT

private slots:
    void commandsTurnTheGimbal_data();
    void commandsTurnTheGimbal();
    void tcpClientConnectsAgainAfterUnplug();
};

void TestNetworkSimulator::commandsTurnTheGimbal_data()
{
    QTest::addColumn<bool>("udp");
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("v2");
    // What the tool is given, %1 the port.
    QTest::addColumn<QString>("address");

    QTest::newRow("UDP to 127.0.0.1: reports come, commands turn the yaw")
        << true << "127.0.0.1" << false << "udp:127.0.0.1:%1";
    QTest::newRow("UDP to ::1: a v2 device speaks first, so that the listener can answer")
        << true << "::1" << true << "udp:[::1]:%1";
    QTest::newRow("TCP on 127.0.0.1: reports to the client, commands turn the yaw")
        << false << "127.0.0.1" << false << "tcp:127.0.0.1:%1";
    QTest::newRow("TCP on ::1: a v2 device wakes on the client's heartbeat")
        << false << "::1" << true << "tcp:[::1]:%1";
}

void TestNetworkSimulator::commandsTurnTheGimbal()
{
    QFETCH(bool, udp);
    QFETCH(QString, host);
    QFETCH(bool, v2);
    QFETCH(QString, address);

    SimulatorOptions options;
    options.protocol = v2 ? SimulatedProtocol::V2 : SimulatedProtocol::Report;
    options.link = udp ? SimulatedLink::Udp : SimulatedLink::TcpServer;
    options.host = QHostAddress(host);
    Peer tool;
    QVERIFY(!udp || tool.station.bind(options.host));
    options.port = tool.station.localPort();
    GimbalSimulator sim(options);
    QVERIFY2(sim.isOpen(), qPrintable(sim.lineError()));
    QCOMPARE(sim.portPath(), address.arg(portOf(sim)));
    if (udp) {
        QTRY_VERIFY_WITH_TIMEOUT(!tool.sawTurn() && tool.last.isValid(), 4000);
    } else {
        tool.client.connectToHost(options.host, portOf(sim));
        QVERIFY(tool.client.waitForConnected(2000));
    }

    tool.send(MAVLINK_MSG_ID_HEARTBEAT, mavlink_heartbeat_t{});
    // Yaw at 1 rad/s, the other axes still.
    const std::uint8_t target[] = {V2Device::SystemId, MAV_COMP_ID_GIMBAL};
    const mavlink_gimbal_device_set_attitude_t demand{
        {NAN, NAN, NAN, NAN}, 0.0f, 0.0f, 1.0f, 0, target[0], target[1]};
    if (v2)
        tool.send(MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE, demand);
    else
        tool.send(MAVLINK_MSG_ID_GIMBAL_CONTROL,
                  mavlink_gimbal_control_t{0.0f, 0.0f, 1.0f, target[0], target[1]});
    QTRY_VERIFY_WITH_TIMEOUT(tool.sawTurn(), 4000);
    QCOMPARE(sim.commands().commands(), 1);
    QCOMPARE(sim.badFrames(), 0);
}

void TestNetworkSimulator::tcpClientConnectsAgainAfterUnplug()
{
    SimulatorOptions options;
    options.link = SimulatedLink::TcpServer;
    GimbalSimulator sim(options);
    QTcpSocket client;
    client.connectToHost(options.host, portOf(sim));
    QTRY_VERIFY_WITH_TIMEOUT(client.bytesAvailable() > 0, 2000);
    client.readAll();

    sim.unplug();
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), QAbstractSocket::UnconnectedState, 2000);
    client.connectToHost(options.host, portOf(sim));
    QVERIFY(!client.waitForConnected(2000));
    QCOMPARE(client.error(), QAbstractSocket::ConnectionRefusedError);
    sim.replug();
    client.connectToHost(options.host, portOf(sim));
    QTRY_VERIFY_WITH_TIMEOUT(client.bytesAvailable() > 0, 2000);
}

QTEST_GUILESS_MAIN(TestNetworkSimulator)
#include "tst_networksimulator.moc"
