// The Parameters window end to end, as a user works it: the simulated v2 gimbal opened from the
// port box, the window opened from its button, the download shown complete, a row found by the
// search box, a value that does not fit refused and never sent, one that fits written and held
// by the device, and a file loaded, its difference list shown and only the changes written.
#include "gimbalsimulator.h"
#include "mainwindowdriver.h"
#include "wiring.h"

#include <gimbal_v2.h>

#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

class TestParamsWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void editWriteAndLoad();

private:
    // Runs the loop until `done` holds, for at most `timeoutMs`.
    bool waitUntil(const std::function<bool()> &done, int timeoutMs = 10000);
    QQuickItem *named(const QString &name) const { return m_params->named(name); }
    // Replaces the text of `field` by `text`, typed, and presses Enter.
    void type(QQuickItem *field, const QString &text);
    double held(const char *name) const;

    std::unique_ptr<Wiring> m_wiring;
    std::unique_ptr<MainWindowDriver> m_main;
    std::unique_ptr<MainWindowDriver> m_params;
    std::unique_ptr<GimbalSimulator> m_simulator;
};

void TestParamsWindow::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_wiring = std::make_unique<Wiring>(*qGuiApp);
    QQmlApplicationEngine &engine = m_wiring->engine();
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    QCOMPARE(engine.rootObjects().size(), 1);
    m_main = std::make_unique<MainWindowDriver>(engine.rootObjects().first());
    QVERIFY(QTest::qWaitForWindowExposed(m_main->window()));
}

void TestParamsWindow::cleanupTestCase()
{
    m_params.reset();
    m_main.reset();
    m_wiring.reset();
}

bool TestParamsWindow::waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QSignalSpy progress(&m_wiring->paramPanel(), &ParamPanel::progressChanged);
    while (!done() && !deadline.hasExpired())
        progress.wait(50);
    return done();
}

void TestParamsWindow::type(QQuickItem *field, const QString &text)
{
    m_params->click(field);
    QTest::keyClick(m_params->window(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_params->window(), Qt::Key_Delete);
    for (const char key : text.toLatin1())
        QTest::keyClick(m_params->window(), key);
    QTest::keyClick(m_params->window(), Qt::Key_Return);
}

double TestParamsWindow::held(const char *name) const
{
    const SimParamSet &set = m_simulator->params(MAV_COMP_ID_GIMBAL)->params();
    return set.at(set.indexOf(name)).value;
}

void TestParamsWindow::editWriteAndLoad()
{
    SimulatorOptions options;
    options.protocol = SimulatedProtocol::V2;
    options.baud = 115200;
    m_simulator = std::make_unique<GimbalSimulator>(options);
    m_main->openPort(m_simulator->devicePath());
    QVERIFY(m_wiring->controller().serialIsOpen());

    m_main->click(m_main->itemById(QStringLiteral("paramsButton")));
    auto *window =
        m_main->byId(QStringLiteral("paramsLoader"))->property("item").value<QQuickWindow *>();
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    m_params = std::make_unique<MainWindowDriver>(window);
    ParamPanel &panel = m_wiring->paramPanel();
    QVERIFY(waitUntil([&] { return panel.complete(); }));
    QCOMPARE(m_params->byId(QStringLiteral("progressLabel"))->property("text").toString().left(7),
             QStringLiteral("88 / 88"));
    QVERIFY(m_params->byId(QStringLiteral("statusLabel"))
                ->property("text")
                .toString()
                .contains(QStringLiteral("byte-wise")));

    type(m_params->itemById(QStringLiteral("searchField")), QStringLiteral("pwr_pitch"));
    QCOMPARE(panel.table()->rowCount(), 1);
    QQuickItem *value = named(QStringLiteral("paramValue_MOT_PWR_PITCH"));
    QVERIFY(value);

    // A UINT8 cannot hold 300: refused with the reason, the device's value back, nothing sent.
    type(value, QStringLiteral("300"));
    QVERIFY(panel.message().contains(QStringLiteral("UINT8")));
    QCOMPARE(value->property("text").toString(), QStringLiteral("55"));
    QVERIFY(!m_params->itemById(QStringLiteral("writeButton"))->isEnabled());

    type(value, QStringLiteral("65"));
    QCOMPARE(panel.table()->editCount(), 1);
    m_params->click(m_params->itemById(QStringLiteral("writeButton")));
    QVERIFY(waitUntil([&] { return panel.message() == QStringLiteral("1 written"); }));
    QCOMPARE(held("MOT_PWR_PITCH"), 65.0);
    QCOMPARE(m_simulator->params(MAV_COMP_ID_GIMBAL)->tally().writesTaken, 1);
    QCOMPARE(value->property("text").toString(), QStringLiteral("65"));

    // A file: one change, one name the device lacks; only the change goes.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("gimbal.params"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("MOT_PWR_ROLL,61\nMOT_PWR_PITCH,65\nNO_SUCH_PARAM,1\n");
    file.close();
    type(m_params->itemById(QStringLiteral("fileField")), path);
    m_params->click(m_params->itemById(QStringLiteral("loadButton")));
    QVERIFY(panel.previewing());
    QCOMPARE(panel.changes()->rowCount(), 2);
    QCOMPARE(panel.previewText(), QStringLiteral("differing values: 1; names the device lacks: 1"));
    QCOMPARE(held("MOT_PWR_ROLL"), 60.0);
    QQuickItem *writeChanges = named(QStringLiteral("writeChangesButton"));
    QVERIFY(writeChanges && writeChanges->isEnabled());
    m_params->click(writeChanges);
    QVERIFY(!panel.previewing());
    QVERIFY(waitUntil([&] { return panel.message() == QStringLiteral("1 written"); }));
    QCOMPARE(held("MOT_PWR_ROLL"), 61.0);
    QCOMPARE(m_simulator->params(MAV_COMP_ID_GIMBAL)->tally().writesTaken, 2);
}

QTEST_MAIN(TestParamsWindow)
#include "tst_paramswindow.moc"
