// Values from outside on the real window (the suite runs it again in a German locale): a spoilt
// settings file, a baud rate typed into the box that the command line would refuse, and reports
// from the gimbal carrying NaN, infinities and 1e38 while the main window and the plot are shown.
// Each case gets a fresh window, so that the plot's history holds only its own reports.
#include "commandwatch.h"
#include "framewriter.h"
#include "handwrittensettings.h"
#include "mainwindowdriver.h"
#include "messagemodel.h"
#include "plotitem.h"
#include "pseudoterminal.h"
#include "wiring.h"

#include <messages.h>

#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

namespace {
const QColor FrameColor(0xb1, 0xb1, 0xb1);

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 40;
}

// Where the texts of the angle captions and then of the values are centred across.
QList<double> textCentres(const MainWindowDriver &driver)
{
    QList<double> centres;
    // A text item's bounding rectangle is that of its laid-out text.
    for (const QQuickItem *label : driver.angleLabels().mid(driver.angleLabels().size() - 6))
        centres.append(label->mapToScene(label->boundingRect().center()).x());
    return centres;
}

bool isRoundStep(double step)
{
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
    return qFuzzyCompare(mantissa, 1.0) || qFuzzyCompare(mantissa, 2.0) ||
           qFuzzyCompare(mantissa, 5.0);
}
} // namespace

class TestWindowValues : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void spoiltSettingsFile();

    void baudBoxRefuses_data();
    void baudBoxRefuses();
    void extremeReports_data();
    void extremeReports();

private:
    void show(QSettings *store);
    void close();

    std::unique_ptr<Wiring> m_wiring;
    std::unique_ptr<MainWindowDriver> m_driver;
    std::unique_ptr<PseudoTerminal> m_pty;
};

void TestWindowValues::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
}

void TestWindowValues::init()
{
    m_pty = std::make_unique<PseudoTerminal>();
    QVERIFY(m_pty->isOpen());
    show(nullptr);
}

void TestWindowValues::cleanup()
{
    close();
    m_pty.reset();
}

void TestWindowValues::show(QSettings *store)
{
    m_wiring = std::make_unique<Wiring>(*qGuiApp, store);
    QQmlApplicationEngine &engine = m_wiring->engine();
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    QCOMPARE(engine.rootObjects().size(), 1);
    m_driver = std::make_unique<MainWindowDriver>(engine.rootObjects().first());
    QVERIFY(QTest::qWaitForWindowExposed(m_driver->window()));
}

void TestWindowValues::close()
{
    m_driver.reset();
    m_wiring.reset();
}

// Every key of a hand-edited settings file spoilt: the window starts with the defaults, refuses
// to remember a bad rate and sends finite full rates for a full stick.
void TestWindowValues::spoiltSettingsFile()
{
    const HandWrittenSettings file("[link]\nport=/dev/nan\nbaud=nan\n"
                                   "[interface]\nlanguage=inf\n"
                                   "[input]\ndeadZone=nan\nexpo=inf\nspeedLimit=nan\n"
                                   "invertX=maybe\ninvertY=-inf\ninvertZ=2\n"
                                   "[record]\nfolder=a,b");
    QVERIFY(file.isValid());
    close();
    show(file.store());

    auto *baudBox = m_driver->itemById(QStringLiteral("serial_boudCombo"));
    QCOMPARE(baudBox->property("editText").toString(), QStringLiteral("115200"));
    QCOMPARE(m_wiring->controller().languageIndex(), 0);
    QCOMPARE(m_wiring->recorder().folder(),
             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const InputControl &input = m_wiring->input();
    QCOMPARE(input.deadZone(), 0.1);
    QCOMPARE(input.expo(), 0.0);
    QCOMPARE(input.invertX() || input.invertY() || input.invertZ(), false);

    m_driver->typePort(m_pty->devicePath());
    m_driver->typeBaud(QStringLiteral("0"));
    m_driver->click(m_driver->itemById(QStringLiteral("serialButton")));
    QVERIFY(!m_wiring->controller().serialIsOpen());
    QCOMPARE(file.store()->value(QStringLiteral("link/baud")).toString(), QStringLiteral("nan"));

    m_driver->typeBaud(QStringLiteral("115200"));
    m_driver->click(m_driver->itemById(QStringLiteral("serialButton")));
    QVERIFY(m_wiring->controller().serialIsOpen());
    CommandWatch commands(*m_pty);
    QVERIFY(commands.waitFor(0, 0, 0));
    QTest::ignoreMessage(QtDebugMsg, "x:1");
    QTest::ignoreMessage(QtDebugMsg, "y:0");
    m_driver->holdStick(QStringLiteral("rightJoystick"), QPointF(100, 0));
    QVERIFY(commands.waitFor(1.5707964f, 0, 0));
    m_driver->releaseStick();
    QVERIFY(commands.waitFor(0, 0, 0));
    QCOMPARE(file.store()->value(QStringLiteral("link/baud")).toString(), QStringLiteral("115200"));
}

void TestWindowValues::baudBoxRefuses_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<bool>("opens");

    QTest::newRow("a word is refused") << "fast" << false;
    QTest::newRow("zero is refused") << "0" << false;
    QTest::newRow("a negative rate is refused") << "-9600" << false;
    QTest::newRow("a fraction is refused") << "9600.5" << false;
    QTest::newRow("nothing is refused") << "" << false;
    QTest::newRow("a rate not in the list opens") << "250000" << true;
}

// Typed into the box and the button clicked, as a user does.
void TestWindowValues::baudBoxRefuses()
{
    QFETCH(QString, rate);
    QFETCH(bool, opens);

    Ravik &ravik = m_wiring->controller();
    QCOMPARE(ravik.languageIndex(), 0);
    m_driver->typePort(m_pty->devicePath());
    m_driver->typeBaud(rate);
    QSignalSpy changed(&ravik, &Ravik::serialIsOpenChanged);
    QVERIFY(changed.isValid());
    m_driver->click(m_driver->itemById(QStringLiteral("serialButton")));
    QCOMPARE(ravik.serialIsOpen(), opens);
    QCOMPARE(changed.count(), opens ? 1 : 0);
    const MessageModel &messages = m_wiring->messages();
    const QString refusal = QStringLiteral("Baud rate \"%1\" is not a positive number").arg(rate);
    bool refused = false;
    for (int row = 0; row < messages.rowCount(); ++row)
        refused = refused || messages.index(row).data(MessageModel::TextRole) == refusal;
    QCOMPARE(refused, !opens);
    if (opens)
        QCOMPARE(ravik.baudRate(), rate.toInt());
    QCOMPARE(m_driver->itemById(QStringLiteral("serialButton"))->property("text").toString(),
             opens ? QStringLiteral("Close") : QStringLiteral("Open"));
}

void TestWindowValues::extremeReports_data()
{
    QTest::addColumn<float>("roll");
    QTest::addColumn<float>("elevation");
    QTest::addColumn<float>("azimuth");
    QTest::addColumn<QStringList>("texts");
    // Bounds for the top of the value axis: non-finite values must not move it.
    QTest::addColumn<double>("topAtLeast");
    QTest::addColumn<double>("topAtMost");

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float max = std::numeric_limits<float>::max();
    QTest::newRow("NaN in every angle")
        << nan << nan << nan << QStringList{"NaN", "NaN", "NaN"} << 10.0 << 20.0;
    QTest::newRow("infinities") << inf << -inf << inf << QStringList{"∞", "-∞", "∞"} << 10.0
                                << 20.0;
    QTest::newRow("1e38 and the float range's ends")
        << 1e38f << -max << max << QStringList{"1.00e+38", "-3.40e+38", "3.40e+38"} << double(max)
        << 1e39;
    QTest::newRow("a small negative value and NaN")
        << -0.001f << nan << 12.5f << QStringList{"0.00", "NaN", "12.50"} << 12.5 << 20.0;
}

// Normal reports from -10 to 10 around the odd one, which comes twice, the second time last.
void TestWindowValues::extremeReports()
{
    QFETCH(float, roll);
    QFETCH(float, elevation);
    QFETCH(float, azimuth);
    QFETCH(QStringList, texts);
    QFETCH(double, topAtLeast);
    QFETCH(double, topAtMost);

    m_driver->openPort(m_pty->devicePath());
    QVERIFY(m_wiring->controller().serialIsOpen());
    m_driver->click(m_driver->itemById(QStringLiteral("plotButton")));
    auto *plotWindow =
        m_driver->byId(QStringLiteral("plotLoader"))->property("item").value<QQuickWindow *>();
    QVERIFY(plotWindow);
    QVERIFY(QTest::qWaitForWindowExposed(plotWindow));
    auto *plot = plotWindow->findChild<PlotItem *>();
    QVERIFY(plot);
    const QList<double> atZero = textCentres(*m_driver);

    // At the gimbal's usual 50 reports a second, so that the plot has a shape to draw.
    QVector<QVector<float>> reports;
    for (int i = 0; i <= 20; ++i) {
        const float normal = -10.0f + i;
        if (i == 10)
            reports.append({roll, elevation, azimuth});
        reports.append({normal, -normal, normal / 2});
    }
    reports.append({roll, elevation, azimuth});
    FrameWriter gimbal;
    QTimer cadence;
    connect(&cadence, &QTimer::timeout, this, [&] {
        mavlink_gimbal_report_t report{};
        report.joint_roll = reports.first()[0];
        report.joint_el = reports.first()[1];
        report.joint_az = reports.first()[2];
        m_pty->write(gimbal.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, report));
        reports.removeFirst();
        if (reports.isEmpty())
            cadence.stop();
    });
    QSignalSpy angles(&m_wiring->controller(), &Ravik::gimbalImuAngleChanged);
    QVERIFY(angles.isValid());
    const int count = reports.size();
    cadence.start(20);
    QTRY_COMPARE_WITH_TIMEOUT(angles.count(), count, 5000);

    // The labels: short texts, each inside its own place.
    QCOMPARE(m_driver->angleTexts(), texts);
    const QList<QQuickItem *> all = m_driver->angleLabels();
    const QList<QQuickItem *> labels = all.mid(all.size() - 3);
    QQuickItem *group = m_driver->itemById(QStringLiteral("gimbalImuInfoGb"));
    double right = group->mapToScene(QPointF()).x();
    for (const QQuickItem *label : labels) {
        QVERIFY(label->property("contentWidth").toDouble() <= label->width());
        const double left = label->mapToScene(QPointF()).x();
        QVERIFY(left >= right);
        right = left + label->width();
    }
    QVERIFY(right <= group->mapToScene(QPointF(group->width(), 0)).x());
    // Each value centred under its caption, where it stood at 0.00.
    const QList<double> centres = textCentres(*m_driver);
    for (int i = 3; i < 6; ++i)
        QVERIFY(qAbs(centres[i] - centres[i - 3]) <= 1 && qAbs(centres[i] - atZero[i]) <= 1);

    // The plot as the software renderer draws it, held still with everything in it.
    QSignalSpy drawn(plotWindow, &QQuickWindow::frameSwapped);
    QVERIFY(drawn.isValid());
    plot->setPaused(true);
    QVERIFY(drawn.wait(2000));
    // The software renderer cannot read its window back itself; the screen can.
    const QImage image = plotWindow->screen()->grabWindow(plotWindow->winId()).toImage();
    const QRectF item(plot->mapToScene(QPointF()), plot->size());
    const QRectF area = plot->plotArea().translated(item.topLeft());
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            bool series = false;
            for (const QColor &color : PlotItem::SeriesColors)
                series = series || near(pixel, color);
            if (!series)
                continue;
            if (area.adjusted(-1, -1, 1, 1).contains(x, y))
                ++inside;
            else if (item.contains(x, y))
                ++outside;
        }
    }
    QVERIFY(inside > 20);
    QCOMPARE(outside, 0);
    // The frame around the plot area is drawn, all the way down its left side.
    int frame = 0;
    for (int y = int(area.top()) + 1; y < int(area.bottom()); ++y)
        frame += near(image.pixelColor(int(area.left()), y), FrameColor);
    QVERIFY2(frame >= area.height() - 3, qPrintable(QString::number(frame)));
    // Nothing of the labels is cut off at the item's left edge.
    for (int y = int(item.top()); y < int(item.bottom()); ++y)
        QVERIFY2(near(image.pixelColor(int(item.left()), y), Qt::white),
                 qPrintable(QString::number(y)));

    const AxisTicks &axis = plot->axis();
    QVERIFY(isRoundStep(axis.step));
    QVERIFY(axis.bottom <= -10.0);
    QVERIFY(axis.top >= topAtLeast && axis.top <= topAtMost);
    for (const double tick : axis.values) {
        QVERIFY(std::isfinite(tick));
        QVERIFY(std::fabs(tick / axis.step - std::round(tick / axis.step)) < 1e-6);
    }
    plotWindow->close();
}

QTEST_MAIN(TestWindowValues)
#include "tst_windowvalues.moc"
