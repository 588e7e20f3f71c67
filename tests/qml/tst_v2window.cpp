// A v2 gimbal through the real window: the simulated v2 device on a pseudo-terminal, opened from
// the port box; recognised, shown (protocol, health and failure words, angles in either unit),
// steered with an on-screen stick (the sign on the wire and in the device's motion), sent to a
// typed angle and centred, described in the device view, and its second gimbal chosen there. The
// commands' ids, flags, signs and limits are held on the wire by the link's own tests.
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

    void shownInEitherUnit_data();
    void shownInEitherUnit();
    void failureWords_data();
    void failureWords();
    void silentGimbalSaysSo();
    void goToTypedAngleThenCentre();
    void deviceView();
    void controlsSayWhyTheyAreOff_data();
    void controlsSayWhyTheyAreOff();
    void unansweredInformationSaysSo();

private:
    QVariant evaluate(const QString &expression) const;
    QQuickItem *named(const QString &name) const { return m_driver->named(name); }
    QString gimbalLine() const
    {
        return named(QStringLiteral("gimbalLine"))->property("text").toString();
    }
    // Opens a fresh simulator's port through the window and waits for its first status.
    void openSimulator(SimulatorOptions options = {});
    QObject *gimbalView() const
    {
        return m_driver->byId(QStringLiteral("gimbalView"))->property("item").value<QObject *>();
    }
    void openGimbalView();
    void waitForInformation();
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
    if (QObject *view = gimbalView())
        QMetaObject::invokeMethod(view, "close");
    if (m_wiring->controller().serialIsOpen())
        m_driver->click(m_driver->itemById(QStringLiteral("serialButton")));
    m_simulator.reset();
}

QVariant TestV2Window::evaluate(const QString &expression) const
{
    return m_driver->evaluate(expression);
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
    QObject *view = gimbalView();
    QVERIFY(view);
    QVERIFY(waitUntil([view] { return view->property("opened").toBool(); }));
}

void TestV2Window::waitForInformation()
{
    V2Information *info = m_wiring->v2Link().information();
    QVERIFY(waitUntil([info] { return info->known(); }));
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

void TestV2Window::shownInEitherUnit_data()
{
    QTest::addColumn<bool>("degrees");

    QTest::newRow("radians, as the reports carry them") << false;
    QTest::newRow("degrees, chosen in the view") << true;
}

// Steered up with the right stick: a positive pitch rate on the wire, the device tilting up and
// the window showing it under the caption in the chosen unit; let go, every rate 0.
void TestV2Window::shownInEitherUnit()
{
    QFETCH(bool, degrees);

    openSimulator();
    QCOMPARE(m_wiring->v2Link().selector()->protocol(), ProtocolSelector::V2);
    QCOMPARE(gimbalLine(), QStringLiteral("Protocol: v2 direct · gimbal 1/154 · status ok"));
    // The vehicle-frame angles of a gimbal at rest: zeros, not the NaN of no status.
    QCOMPARE(m_driver->angleTexts(), (QStringList{"0.00", "0.00", "0.00"}));
    openGimbalView();
    QQuickItem *unit = named(QStringLiteral("unitBox"));
    QVERIFY(unit);
    QVERIFY(QMetaObject::invokeMethod(unit, "activated", Q_ARG(int, degrees ? 1 : 0)));
    unit->setProperty("currentIndex", degrees ? 1 : 0);
    QCOMPARE(m_wiring->angleDisplay().degrees(), degrees);
    QMetaObject::invokeMethod(gimbalView(), "close");
    m_driver->holdStick(QStringLiteral("rightJoystick"), QPointF(0, -80));
    const mavlink_gimbal_device_set_attitude_t held = nextCommand();
    QVERIFY2(held.angular_velocity_y > 0.5f, qPrintable(QString::number(held.angular_velocity_y)));
    QVERIFY(waitUntil([this] { return shownAngle(0) > 0.3; }));
    m_driver->releaseStick();
    const mavlink_gimbal_device_set_attitude_t released = nextCommand();
    QCOMPARE(released.angular_velocity_y, 0.0f);
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
    pty.write(device.frame(MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS, status));
    QVERIFY(waitUntil([this] { return gimbalLine().contains(QStringLiteral("status ok")); }));
}

// Typed under a locale with decimal commas, the angle takes the C notation; then centred.
void TestV2Window::goToTypedAngleThenCentre()
{
    openSimulator();
    m_wiring->angleDisplay().setDegrees(true);
    openGimbalView();
    waitForInformation();
    const QString texts[2] = {QStringLiteral("-20.5"), QStringLiteral("30")};
    for (int field = 0; field < 2; ++field) {
        m_driver->click(named(QStringLiteral("angleField%1").arg(field)));
        QTest::keyClick(m_driver->window(), Qt::Key_A, Qt::ControlModifier);
        for (const char key : texts[field].toLatin1())
            QTest::keyClick(m_driver->window(), key);
    }
    m_driver->click(named(QStringLiteral("goButton")));
    QCOMPARE(m_wiring->v2Link().demand(), GimbalV2Link::Attitude);
    QVERIFY(!std::isnan(nextCommand().q[0]));
    QVERIFY(waitUntil([this] {
        return std::abs(shownAngle(0) + 20.5) < 0.5 && std::abs(shownAngle(2) - 30.0) < 0.5;
    }));
    m_driver->click(named(QStringLiteral("centreButton")));
    QCOMPARE(m_wiring->v2Link().demand(), GimbalV2Link::Neutral);
    QVERIFY(nextCommand().flags & GIMBAL_DEVICE_FLAGS_NEUTRAL);
    QVERIFY(waitUntil(
        [this] { return std::abs(shownAngle(0)) < 0.2 && std::abs(shownAngle(2)) < 0.2; }));
}

void TestV2Window::deviceView()
{
    openSimulator();
    openGimbalView();
    waitForInformation();
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
    QTest::newRow("the two-axis gimbal, chosen in the view, cannot retract")
        << true << "retractTip"
        << "The device cannot retract";
    QTest::newRow("the two-axis gimbal, chosen in the view, has no roll axis")
        << true << "angleTip2"
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
    openGimbalView();
    if (secondGimbal) {
        V2Devices *devices = m_wiring->v2Link().devices();
        QVERIFY(waitUntil([devices] { return devices->names().size() == 2; }));
        QQuickItem *box = named(QStringLiteral("deviceBox"));
        QVERIFY(box && box->isEnabled());
        const int second = devices->names().indexOf(QStringLiteral("1/171"));
        QVERIFY(QMetaObject::invokeMethod(box, "activated", Q_ARG(int, second)));
        QCOMPARE(devices->chosen(), second);
        QCOMPARE(int(nextCommand().target_component), 171);
        QVERIFY(
            waitUntil([this] { return gimbalLine().contains(QStringLiteral("gimbal 1/171")); }));
    }
    waitForInformation();
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
    // The ticks by hand, beside the timer's: a request goes with every 50th. The port drains
    // between them as it does between the timer's, or the line takes no request.
    V2Information *info = m_wiring->v2Link().information();
    while (info->requests() < 5) {
        m_wiring->controller().onTimerTimeout();
        QCoreApplication::processEvents();
    }
    QVERIFY(waitUntil([this] { return gimbalLine().contains(QStringLiteral("no answer")); }));
    QCOMPARE(named(QStringLiteral("deviceWaiting"))->property("text").toString(),
             QStringLiteral("Asked 5 times for the device information; the device has not "
                            "answered."));
}

QTEST_MAIN(TestV2Window)
#include "tst_v2window.moc"
