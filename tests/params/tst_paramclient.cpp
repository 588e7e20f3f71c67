// The parameter client at the simulated gimbal, or at a simulated vehicle's autopilot, over a
// real pseudo-terminal (and UDP on loopback), with the real controller and v2 link: downloads come
// complete and exact in the encoding the component announces however many replies are lost, with
// the reads bounded and the steering command first in every tick; writes end confirmed, refused
// or unconfirmed as the component answers, and the component holds what it took.
#include "gimbalsimulator.h"
#include "gimbalv2link.h"
#include "linkstatus.h"
#include "paramclient.h"
#include "paramsources.h"
#include "ravik.h"

#include <gimbal_v2.h>
#include <messages.h>

#include <QSignalSpy>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(ParamComponent *)
Q_DECLARE_METATYPE(ParamWriter::Outcome)
Q_DECLARE_METATYPE(SimulatedAutopilot)
Q_DECLARE_METATYPE(ParamEncoding)

namespace {
// The tool and the simulated gimbal, or the vehicle, on one link.
struct Rig
{
    explicit Rig(const SimulatorOptions &options, int baud)
        : sim(options), v2(ravik, {}), client(ravik.session(), 255, 190),
          vehicle(options.vehicle.autopilot != SimulatedAutopilot::None)
    {
        feedParamComponents(client, v2, ravik.session());
        const QString port = options.link == SimulatedLink::Udp
                                 ? QStringLiteral("udp:127.0.0.1:%1").arg(options.port)
                                 : sim.portPath();
        ravik.switchSerial(port, QString::number(baud));
        // Asked once a v2 gimbal is steered (after the two seconds in which an autopilot may yet
        // speak for it), so that the command stream runs beside the whole download.
        const V2Devices::Path path = vehicle ? V2Devices::Managed : V2Devices::Direct;
        QDeadlineTimer settled(3000);
        while (!(v2.devices()->hasChosen() && v2.devices()->chosenPath() == path) &&
               !settled.hasExpired())
            QTest::qWait(50);
        client.setActive(true);
    }

    // The first component that answered, once its download has ended.
    ParamComponent *downloaded()
    {
        QSignalSpy ended(&client, &ParamClient::downloadEnded);
        while (client.answered().empty() || !client.answered().front()->hasValues()) {
            if (!ended.wait(30000))
                return nullptr;
        }
        return client.answered().front();
    }

    const SimParamServer &server()
    {
        return *sim.params(vehicle ? MAV_COMP_ID_AUTOPILOT1 : MAV_COMP_ID_GIMBAL);
    }
    const SimParamSet &held() { return server().params(); }

    GimbalSimulator sim;
    Ravik ravik;
    GimbalV2Link v2;
    ParamClient client;
    bool vehicle;
};

quint16 freeUdpPort()
{
    QUdpSocket socket;
    socket.bind(QHostAddress(QHostAddress::LocalHost), 0);
    return socket.localPort();
}

SimulatorOptions simulated(SimulatedAutopilot autopilot, bool udp, int baud)
{
    SimulatorOptions options;
    options.protocol = SimulatedProtocol::V2;
    options.vehicle.autopilot = autopilot;
    options.baud = baud;
    if (udp) {
        options.link = SimulatedLink::Udp;
        options.port = freeUdpPort();
    }
    return options;
}
} // namespace

class TestParamClient : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<ParamComponent *>(); }
    void download_data();
    void download();
    void silentGimbalIsNotListed();
    void write_data();
    void write();
};

void TestParamClient::download_data()
{
    QTest::addColumn<bool>("udp");
    QTest::addColumn<int>("baud");
    QTest::addColumn<double>("loss");
    QTest::addColumn<int>("count");
    QTest::addColumn<SimulatedAutopilot>("autopilot");
    QTest::addColumn<ParamEncoding>("encoding");
    // What the encoding was decided by, as the user is told.
    QTest::addColumn<QString>("decidedBy");

    const auto none = SimulatedAutopilot::None;
    const auto bytewise = ParamEncoding::Bytewise;
    QTest::newRow("the gimbal's 88 at 115,200 baud, none lost")
        << false << 115200 << 0.0 << 0 << none << bytewise << "v2";
    QTest::newRow("500 at 57,600 baud with a tenth of the replies lost")
        << false << 57600 << 0.1 << 500 << none << bytewise << "v2";
    QTest::newRow("over UDP with a fifth of the replies lost")
        << true << 0 << 0.2 << 0 << none << bytewise << "v2";
    QTest::newRow("an ArduPilot vehicle's mount set over UDP, C-cast, a tenth lost")
        << true << 0 << 0.1 << 0 << SimulatedAutopilot::ArduPilot << ParamEncoding::CCast
        << "AUTOPILOT_VERSION";
    QTest::newRow("a PX4 vehicle's mount set at 57,600 baud, byte-wise, a tenth lost")
        << false << 57600 << 0.1 << 0 << SimulatedAutopilot::Px4 << bytewise << "AUTOPILOT_VERSION";
}

void TestParamClient::download()
{
    QFETCH(bool, udp);
    QFETCH(int, baud);
    QFETCH(double, loss);
    QFETCH(int, count);
    QFETCH(SimulatedAutopilot, autopilot);
    QFETCH(ParamEncoding, encoding);
    QFETCH(QString, decidedBy);

    SimulatorOptions options = simulated(autopilot, udp, baud);
    options.paramLoss = loss;
    options.paramCount = count;
    Rig rig(options, baud > 0 ? baud : 115200);

    // What the tool sends: the reads, and whether each tick's first frame is its command.
    int reads = 0;
    bool tickBegun = false;
    int ticksLed = 0;
    int ticksDisplaced = 0;
    connect(&rig.ravik, &Ravik::commandDue, this, [&] { tickBegun = true; });
    connect(&rig.ravik.session(), &MavlinkSession::frameSent, this,
            [&](const mavlink_message_t &msg) {
                reads += msg.msgid == MAVLINK_MSG_ID_PARAM_REQUEST_READ;
                // Before a gimbal is known a tick may send no command at all.
                if (tickBegun && rig.v2.devices()->hasChosen()) {
                    const bool command = msg.msgid == MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE ||
                                         msg.msgid == MAVLINK_MSG_ID_GIMBAL_CONTROL;
                    ++(command ? ticksLed : ticksDisplaced);
                }
                tickBegun = false;
            });

    ParamComponent *gimbal = rig.downloaded();
    QVERIFY(gimbal);
    QCOMPARE(gimbal->download().state(), ParamDownload::State::Complete);
    QCOMPARE(gimbal->role(),
             rig.vehicle ? ParamComponent::Role::Autopilot : ParamComponent::Role::GimbalDevice);
    QCOMPARE(gimbal->encoding()->encoding, encoding);
    QVERIFY2(gimbal->encoding()->text.contains(decidedBy), qPrintable(gimbal->encoding()->text));
    const SimParamSet &held = rig.held();
    QCOMPARE(gimbal->values().size(), held.size());
    for (int i = 0; i < held.size(); ++i) {
        const ParamValue &value = gimbal->values()[i];
        QCOMPARE(value.name(), QString::fromStdString(held.at(i).name));
        QCOMPARE(value.type(), held.at(i).type);
        // Integers exactly, beyond 2^24 too; floats as the float field carries them.
        const double shown = value.text().toDouble();
        if (value.type() == MAV_PARAM_TYPE_REAL32)
            QCOMPARE(float(shown), float(held.at(i).value));
        else
            QCOMPARE(shown, held.at(i).value);
    }
    const int lost = rig.server().tally().repliesLost;
    QVERIFY2(reads <= 2 * lost + ParamDownload::kWindow,
             qPrintable(QStringLiteral("%1 reads for %2 lost replies").arg(reads).arg(lost)));
    // A managed gimbal at rest is sent no set points at all.
    if (!rig.vehicle) {
        QVERIFY(ticksLed > 0);
        QCOMPARE(ticksDisplaced, 0);
    }
    QCOMPARE(rig.sim.commands().sequenceGaps(), 0);
    QCOMPARE(rig.ravik.linkStatus()->stalls(), 0);
}

// The report gimbal ignores the list request: asked twice, it is never offered.
void TestParamClient::silentGimbalIsNotListed()
{
    Rig rig(SimulatorOptions{}, 115200);
    QSignalSpy ended(&rig.client, &ParamClient::downloadEnded);
    QVERIFY(ended.wait(10000));
    const auto *silent = ended.first().first().value<ParamComponent *>();
    QCOMPARE(silent->role(), ParamComponent::Role::ReportGimbal);
    QCOMPARE(silent->download().count(), 0);
    QVERIFY(rig.client.answered().empty());
}

void TestParamClient::write_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("lossAfter");
    QTest::addColumn<ParamWriter::Outcome>("outcome");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("held");

    const auto confirmed = ParamWriter::Outcome::Confirmed;
    const auto refused = ParamWriter::Outcome::Refused;
    QTest::newRow("a power within range is confirmed and held")
        << "MOT_PWR_PITCH"
        << "65" << 0.0 << confirmed << "65" << 65.0;
    QTest::newRow("a negative INT8 is confirmed") << "MOT_DIR_ROLL"
                                                  << "-1" << 0.0 << confirmed << "-1" << -1.0;
    QTest::newRow("a 16-character name is confirmed") << "RC_PITCH_DEADBND"
                                                      << "25" << 0.0 << confirmed << "25" << 25.0;
    QTest::newRow("a float is confirmed with the digits it needs")
        << "PID_ROLL_P"
        << "0.55" << 0.0 << confirmed << "0.55" << double(0.55f);
    QTest::newRow("a read-only parameter is refused and keeps its value")
        << "FW_VERSION"
        << "5" << 0.0 << refused << "132097" << 132097.0;
    QTest::newRow("a value beyond the device's range is refused")
        << "MOT_BOOST"
        << "99" << 0.0 << refused << "0" << 0.0;
    QTest::newRow("no echo after three tries is unconfirmed, though the device took it")
        << "MOT_PWR_YAW"
        << "80" << 1.0 << ParamWriter::Outcome::Unconfirmed << "70" << 80.0;
    QTest::newRow("a vehicle's negative INT16, C-cast over UDP, is confirmed and held")
        << "MNT1_PITCH_MIN"
        << "-80" << 0.0 << confirmed << "-80" << -80.0;
    QTest::newRow("a vehicle's read-only parameter is refused and keeps its value")
        << "MNT1_DEVID"
        << "5" << 0.0 << refused << "1180161" << 1180161.0;
}

void TestParamClient::write()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(double, lossAfter);
    QFETCH(ParamWriter::Outcome, outcome);
    QFETCH(QString, shown);
    QFETCH(double, held);

    // A name of a vehicle's mount set goes to an ArduPilot vehicle on UDP, as a vehicle reaches a
    // ground station.
    const bool vehicle = SimParamSet::arduPilotMount().indexOf(name.toStdString()) >= 0;
    Rig rig(simulated(vehicle ? SimulatedAutopilot::ArduPilot : SimulatedAutopilot::None, vehicle,
                      vehicle ? 0 : 115200),
            115200);
    ParamComponent *gimbal = rig.downloaded();
    QVERIFY(gimbal);
    rig.sim.setParamLoss(lossAfter);

    const auto valueOf = [gimbal](const QString &name) {
        for (const ParamValue &value : gimbal->values()) {
            if (value.name() == name)
                return value;
        }
        return ParamValue();
    };
    const std::optional<ParamValue> wanted = ParamValue::parse(name, text, valueOf(name).type());
    QVERIFY(wanted);
    QSignalSpy ended(&rig.client, &ParamClient::writeEnded);
    QVERIFY(rig.client.write(gimbal, {*wanted}).isEmpty());
    QVERIFY(ended.wait(10000));

    QCOMPARE(gimbal->writer()->items().first().outcome, outcome);
    QCOMPARE(valueOf(name).text(), shown);
    const SimParamSet &set = rig.held();
    QCOMPARE(set.at(set.indexOf(name.toStdString())).value, held);
}

QTEST_GUILESS_MAIN(TestParamClient)
#include "tst_paramclient.moc"
