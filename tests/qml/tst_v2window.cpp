// A v2 gimbal through the real window: the simulated v2 device on a pseudo-terminal, opened from
// the port box; recognised, shown (protocol, health and failure words, angles in either unit),
// steered with the on-screen sticks (rates with the right signs on the wire and in the device's
// motion), centred, sent to a typed angle within its limits, and described in the device view.
#include "framewriter.h"
#include "gimbalsimulator.h"
#include "mainwindowdriver.h"
#include "pseudoterminal.h"
#include "wiring.h"

#include <command.h>
#include <gimbal_v2.h>

#include <QGuiApplication>
#include <QQmlContext>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <memory>

Q_DECLARE_METATYPE(mavlink_message_t)

namespace {
constexpr double DegreesPerRadian = 57.29577951308232;
} // namespace

class TestV2Window : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void recognisedAndShown();
    void sticksSteer_data();
    void sticksSteer();
    void anglesInEitherUnit_data();
    void anglesInEitherUnit();
    void failureWords_data();
    void failureWords();
    void silentGimbalSaysSo();
    void centreFromTheView();
    void goToTypedAngle_data();
    void goToTypedAngle();
    void deviceView();
    void controlsSayWhyTheyAreOff_data();
    void controlsSayWhyTheyAreOff();
    void unansweredInformationSaysSo();
    void secondGimbalChosenInTheView();

private:
    QVariant evaluate(const QString &expression) const;
    QQuickItem *named(const QString &name) const;
    QString gimbalLine() const
    {
        return named(QStringLiteral("gimbalLine"))->property("text").toString();
    }
    // Opens a fresh simulator's port through the window and waits for its first status.
    void openSimulator(SimulatorOptions options = {});
    void openGimbalView();
    // The next attitude command the tool sends after the current one.
    mavlink_gimbal_device_set_attitude_t nextCommand();
    // Runs the loop until `done` holds, for at most `timeoutMs`.
    bool waitUntil(const std::function<bool()> &done, int timeoutMs = 5000);
    double shownAngle(int label) const;

    std::unique_ptr<Wiring> m_wiring;
    std::unique_ptr<MainWindowDriver> m_driver;
    std::unique_ptr<GimbalSimulator> m_simulator;
};

void TestV2Window::initTestCase()
{
    qRegisterMetaType<mavlink_message_t>();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_wiring = std::make_unique<Wiring>(*qGuiApp);
    QQmlApplicationEngine &engine = m_wiring->engine();
    QVERIFY(QObject::disconnect(&engine, &QQmlEngine::quit, qApp, nullptr));
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    QCOMPARE(engine.rootObjects().size(), 1);
    m_driver = std::make_unique<MainWindowDriver>(engine.rootObjects().first());
    QVERIFY(QTest::qWaitForWindowExposed(m_driver->window()));
    // Numbers typed under a locale with decimal commas: the angle fields take the C notation.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestV2Window::cleanupTestCase()
{
    m_driver.reset();
    m_wiring.reset();
}

void TestV2Window::init()
{
    m_wiring->angleDisplay().setDegrees(false);
    evaluate(QStringLiteral("qmlLanguage.language = 0"));
}

void TestV2Window::cleanup()
{
    m_driver->releaseStick();
    QObject *view =
        m_driver->byId(QStringLiteral("gimbalView"))->property("item").value<QObject *>();
    if (view)
        QMetaObject::invokeMethod(view, "close");
    if (m_wiring->controller().serialIsOpen())
        m_driver->click(m_driver->itemById(QStringLiteral("serialButton")));
    m_simulator.reset();
}

QVariant TestV2Window::evaluate(const QString &expression) const
{
    return m_driver->evaluate(expression);
}

// Items that a Repeater made have no object parent, so the search goes down the item tree (the
// open view's items hang under the window's overlay, which is in that tree too).
QQuickItem *TestV2Window::named(const QString &name) const
{
    std::function<QQuickItem *(QQuickItem *)> find = [&](QQuickItem *item) -> QQuickItem * {
        if (item->objectName() == name)
            return item;
        for (QQuickItem *child : item->childItems()) {
            if (QQuickItem *found = find(child))
                return found;
        }
        return nullptr;
    };
    return find(m_driver->window()->contentItem());
}

bool TestV2Window::waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QSignalSpy frames(&m_wiring->controller(), &Ravik::frameReceived);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        frames.wait(50);
    }
    return true;
}

void TestV2Window::openSimulator(SimulatorOptions options)
{
    options.protocol = SimulatedProtocol::V2;
    m_simulator = std::make_unique<GimbalSimulator>(options);
    QVERIFY(m_simulator->isOpen());
    m_driver->openPort(m_simulator->portPath());
    QVERIFY(m_wiring->controller().serialIsOpen());
    V2Status *status = m_wiring->v2Link().status();
    QVERIFY(waitUntil([status] { return status->talking(); }));
}

void TestV2Window::openGimbalView()
{
    m_driver->click(m_driver->itemById(QStringLiteral("gimbalButton")));
    QObject *view =
        m_driver->byId(QStringLiteral("gimbalView"))->property("item").value<QObject *>();
    QVERIFY(view);
    QVERIFY(waitUntil([view] { return view->property("opened").toBool(); }));
}

mavlink_gimbal_device_set_attitude_t TestV2Window::nextCommand()
{
    QSignalSpy sent(&m_wiring->controller(), &Ravik::commandSent);
    for (int commands = 0; commands < 60 && sent.wait(1000);) {
        const auto msg = sent.takeFirst().at(0).value<mavlink_message_t>();
        // The second one: the first may have been packed before the change.
        if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE && ++commands == 2)
            return mavlink_msg_gimbal_device_set_attitude_decode(&msg);
    }
    return {};
}

double TestV2Window::shownAngle(int label) const
{
    return m_driver->angleTexts().at(label).toDouble();
}

void TestV2Window::recognisedAndShown()
{
    openSimulator();
    QCOMPARE(m_wiring->v2Link().selector()->protocol(), ProtocolSelector::V2);
    QCOMPARE(gimbalLine(), QStringLiteral("Protocol: v2 · gimbal 1/154 · status ok"));
    // The vehicle-frame angles of a gimbal at rest: zeros, not the NaN of no status.
    QCOMPARE(m_driver->angleTexts(), (QStringList{"0.00", "0.00", "0.00"}));
    QCOMPARE(m_simulator->v2Tally().rateDemands > 0, true);
}

void TestV2Window::sticksSteer_data()
{
    QTest::addColumn<QString>("stick");
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("label");
    QTest::addColumn<int>("sign");

    // axis: 0 roll (x), 1 pitch (y), 2 yaw (z) of the command; label: Pitch 0, Roll 1, Yaw 2.
    QTest::newRow("right stick up tilts up") << "rightJoystick" << QPointF(0, -80) << 1 << 0 << 1;
    QTest::newRow("right stick down tilts down")
        << "rightJoystick" << QPointF(0, 80) << 1 << 0 << -1;
    QTest::newRow("right stick right pans right")
        << "rightJoystick" << QPointF(80, 0) << 2 << 2 << 1;
    QTest::newRow("left stick left rolls left")
        << "leftJoystick" << QPointF(-80, 0) << 0 << 1 << -1;
}

void TestV2Window::sticksSteer()
{
    QFETCH(QString, stick);
    QFETCH(QPointF, offset);
    QFETCH(int, axis);
    QFETCH(int, label);
    QFETCH(int, sign);

    openSimulator();
    m_driver->holdStick(stick, offset);
    const mavlink_gimbal_device_set_attitude_t held = nextCommand();
    const float rates[3] = {held.angular_velocity_x, held.angular_velocity_y,
                            held.angular_velocity_z};
    QVERIFY2(rates[axis] * sign > 0.5f, qPrintable(QString::number(rates[axis])));
    QVERIFY(std::isnan(held.q[0]));
    // The device turns that way, and the window shows it under the caption.
    QVERIFY(waitUntil([this, label, sign] { return shownAngle(label) * sign > 0.2; }));
    m_driver->releaseStick();
    const mavlink_gimbal_device_set_attitude_t released = nextCommand();
    QCOMPARE(released.angular_velocity_x, 0.0f);
    QCOMPARE(released.angular_velocity_y, 0.0f);
    QCOMPARE(released.angular_velocity_z, 0.0f);
}

void TestV2Window::anglesInEitherUnit_data()
{
    QTest::addColumn<bool>("degrees");

    QTest::newRow("radians, as the reports carry them") << false;
    QTest::newRow("degrees, chosen in the view") << true;
}

void TestV2Window::anglesInEitherUnit()
{
    QFETCH(bool, degrees);

    openSimulator();
    openGimbalView();
    QQuickItem *unit = named(QStringLiteral("unitBox"));
    QVERIFY(unit);
    QVERIFY(QMetaObject::invokeMethod(unit, "activated", Q_ARG(int, degrees ? 1 : 0)));
    unit->setProperty("currentIndex", degrees ? 1 : 0);
    QCOMPARE(m_wiring->angleDisplay().degrees(), degrees);
    QMetaObject::invokeMethod(
        m_driver->byId(QStringLiteral("gimbalView"))->property("item").value<QObject *>(), "close");
    m_driver->holdStick(QStringLiteral("rightJoystick"), QPointF(0, -80));
    QVERIFY(waitUntil([this] { return shownAngle(0) > 0.3; }));
    m_driver->releaseStick();
    const double pitch = m_wiring->v2Link().status()->pitch();
    const double expected = degrees ? pitch * DegreesPerRadian : pitch;
    QVERIFY2(std::abs(shownAngle(0) - expected) < (degrees ? 3.0 : 0.05),
             qPrintable(m_driver->angleTexts().join(' ')));
}

void TestV2Window::failureWords_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("words");

    QTest::newRow("English") << 0 << "motor error";
    QTest::newRow("Chinese") << 1 << "电机故障";
}

void TestV2Window::failureWords()
{
    QFETCH(int, language);
    QFETCH(QString, words);

    SimulatorOptions options;
    options.failureFlags = GIMBAL_DEVICE_ERROR_FLAGS_MOTOR_ERROR;
    openSimulator(options);
    evaluate(QStringLiteral("qmlLanguage.language = %1").arg(language));
    QVERIFY(waitUntil([this, &words] { return gimbalLine().contains(words); }));
    QCOMPARE(named(QStringLiteral("gimbalLine"))->property("color").value<QColor>(),
             QColor("#d9534f"));
    // Driven into its pitch limit, it says that too.
    evaluate(QStringLiteral("qmlLanguage.language = 0"));
    m_driver->holdStick(QStringLiteral("rightJoystick"), QPointF(0, -80));
    QVERIFY(waitUntil([this] { return gimbalLine().contains(QStringLiteral("at pitch limit")); },
                      8000));
    QVERIFY(gimbalLine().contains(QStringLiteral("at pitch limit, motor error")));
}

// A device that stops after one status (the simulator wakes again at the tool's next heartbeat).
void TestV2Window::silentGimbalSaysSo()
{
    PseudoTerminal pty;
    m_driver->openPort(pty.devicePath());
    QVERIFY(m_wiring->controller().serialIsOpen());
    mavlink_gimbal_device_attitude_status_t status{};
    status.q[0] = 1.0f;
    FrameWriter device(2, 1, MAV_COMP_ID_GIMBAL);
    pty.write(device.frame(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, status));
    QVERIFY(waitUntil([this] { return gimbalLine().contains(QStringLiteral("status ok")); }));
    QVERIFY2(waitUntil([this] { return gimbalLine().contains(QStringLiteral("gimbal silent")); }),
             qPrintable(gimbalLine()));
    QCOMPARE(named(QStringLiteral("gimbalLine"))->property("color").value<QColor>(),
             QColor("#d9534f"));
}

void TestV2Window::centreFromTheView()
{
    openSimulator();
    m_driver->holdStick(QStringLiteral("rightJoystick"), QPointF(80, -80));
    QVERIFY(waitUntil([this] { return shownAngle(0) > 0.3 && shownAngle(2) > 0.3; }));
    m_driver->releaseStick();
    openGimbalView();
    m_driver->click(named(QStringLiteral("centreButton")));
    QCOMPARE(m_wiring->v2Link().demand(), GimbalV2Link::Neutral);
    const mavlink_gimbal_device_set_attitude_t c = nextCommand();
    QVERIFY(c.flags & GIMBAL_DEVICE_FLAGS_NEUTRAL);
    QVERIFY(waitUntil(
        [this] { return std::abs(shownAngle(0)) < 0.02 && std::abs(shownAngle(2)) < 0.02; }));
}

void TestV2Window::goToTypedAngle_data()
{
    QTest::addColumn<QString>("pitch");
    QTest::addColumn<QString>("yaw");
    QTest::addColumn<double>("shownPitch");
    QTest::addColumn<double>("shownYaw");

    QTest::newRow("within the limits, typed with a decimal point") << "-20.5"
                                                                   << "30" << -20.5 << 30.0;
    QTest::newRow("beyond the pitch limit of 30°: stops there") << "75"
                                                                << "-10" << 30.0 << -10.0;
}

void TestV2Window::goToTypedAngle()
{
    QFETCH(QString, pitch);
    QFETCH(QString, yaw);
    QFETCH(double, shownPitch);
    QFETCH(double, shownYaw);

    openSimulator();
    m_wiring->angleDisplay().setDegrees(true);
    openGimbalView();
    V2Information *info = m_wiring->v2Link().information();
    QVERIFY(waitUntil([info] { return info->known(); }));
    const QString texts[2] = {pitch, yaw};
    for (int field = 0; field < 2; ++field) {
        m_driver->click(named(QStringLiteral("angleField%1").arg(field)));
        QTest::keyClick(m_driver->window(), Qt::Key_A, Qt::ControlModifier);
        for (const char key : texts[field].toLatin1())
            QTest::keyClick(m_driver->window(), key);
    }
    m_driver->click(named(QStringLiteral("goButton")));
    QCOMPARE(m_wiring->v2Link().demand(), GimbalV2Link::Attitude);
    const mavlink_gimbal_device_set_attitude_t c = nextCommand();
    QVERIFY(!std::isnan(c.q[0]));
    QVERIFY(std::isnan(c.angular_velocity_y));
    QVERIFY(waitUntil([&] {
        return std::abs(shownAngle(0) - shownPitch) < 0.5 &&
               std::abs(shownAngle(2) - shownYaw) < 0.5;
    }));
    // A stick that moves takes over again.
    QMetaObject::invokeMethod(
        m_driver->byId(QStringLiteral("gimbalView"))->property("item").value<QObject *>(), "close");
    m_driver->holdStick(QStringLiteral("rightJoystick"), QPointF(0, 80));
    QVERIFY(waitUntil([this] { return m_wiring->v2Link().demand() == GimbalV2Link::Rates; }));
}

void TestV2Window::deviceView()
{
    openSimulator();
    openGimbalView();
    V2Information *info = m_wiring->v2Link().information();
    QVERIFY(waitUntil([info] { return info->known(); }));
    QStringList facts;
    for (QQuickItem *label : named(QStringLiteral("deviceFacts"))->parentItem()->childItems()) {
        if (label->isVisible() && label->metaObject()->indexOfProperty("text") >= 0)
            facts.append(label->property("text").toString());
    }
    const QString all = facts.join('\n');
    QVERIFY2(all.contains(QStringLiteral("Model: gimbal-sim 3-axis")), qPrintable(all));
    QVERIFY2(all.contains(QStringLiteral("Pitch range: -90.0° … 30.0°")), qPrintable(all));
    QVERIFY2(all.contains(QStringLiteral("Firmware: ")), qPrintable(all));
    QVERIFY2(all.contains(QStringLiteral("retract, neutral, roll axis")), qPrintable(all));
}

void TestV2Window::controlsSayWhyTheyAreOff_data()
{
    QTest::addColumn<bool>("secondGimbal");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("reason");

    QTest::newRow("the three-axis gimbal can retract") << false << "retractTip"
                                                       << "";
    QTest::newRow("the three-axis gimbal has a roll axis") << false << "angleTip2"
                                                           << "";
    QTest::newRow("the simulated device accepts an earth-frame yaw") << false << "yawLockTip"
                                                                     << "";
    QTest::newRow("the two-axis gimbal cannot retract") << true << "retractTip"
                                                        << "The device cannot retract";
    QTest::newRow("the two-axis gimbal has no roll axis") << true << "angleTip2"
                                                          << "The device has no roll axis";
}

void TestV2Window::controlsSayWhyTheyAreOff()
{
    QFETCH(bool, secondGimbal);
    QFETCH(QString, tip);
    QFETCH(QString, reason);

    SimulatorOptions options;
    options.secondGimbal = secondGimbal;
    openSimulator(options);
    if (secondGimbal) {
        V2Devices *devices = m_wiring->v2Link().devices();
        QVERIFY(waitUntil([devices] { return devices->names().size() == 2; }));
        devices->choose(devices->names().indexOf(QStringLiteral("1/171")));
        V2Status *status = m_wiring->v2Link().status();
        QVERIFY(waitUntil([status] { return status->talking(); }));
    }
    openGimbalView();
    V2Information *info = m_wiring->v2Link().information();
    QVERIFY(waitUntil([info] { return info->known(); }));
    QQuickItem *holder = named(tip);
    QVERIFY(holder);
    QCOMPARE(holder->property("reason").toString(), reason);
    QCOMPARE(holder->childItems().first()->isEnabled(), reason.isEmpty());
}

void TestV2Window::unansweredInformationSaysSo()
{
    SimulatorOptions options;
    options.answerInformation = false;
    openSimulator(options);
    openGimbalView();
    // The ticks by hand, beside the timer's: a request goes with every 50th.
    V2Information *info = m_wiring->v2Link().information();
    while (info->requests() < 5)
        m_wiring->controller().onTimerTimeout();
    QVERIFY(waitUntil([this] { return gimbalLine().contains(QStringLiteral("no answer")); }));
    QCOMPARE(named(QStringLiteral("deviceWaiting"))->property("text").toString(),
             QStringLiteral("Asked 5 times for the device information; the device has not "
                            "answered."));
}

void TestV2Window::secondGimbalChosenInTheView()
{
    SimulatorOptions options;
    options.secondGimbal = true;
    openSimulator(options);
    V2Devices *devices = m_wiring->v2Link().devices();
    QVERIFY(waitUntil([devices] { return devices->names().size() == 2; }));
    openGimbalView();
    QQuickItem *box = named(QStringLiteral("deviceBox"));
    QVERIFY(box && box->isEnabled());
    const int second = devices->names().indexOf(QStringLiteral("1/171"));
    QVERIFY(QMetaObject::invokeMethod(box, "activated", Q_ARG(int, second)));
    QCOMPARE(devices->chosen(), second);
    QCOMPARE(int(nextCommand().target_component), 171);
    QVERIFY(waitUntil([this] { return gimbalLine().contains(QStringLiteral("gimbal 1/171")); }));
}

QTEST_MAIN(TestV2Window)
#include "tst_v2window.moc"
