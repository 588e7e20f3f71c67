// The main window as the tool loads it: the real resource bundle, catalogues and controller,
// wired as start-up wires them on a Chinese system, worked through mouse and keyboard events.
// The port is a pseudo-terminal whose far end stands in for the gimbal.
#include "commandwatch.h"
#include "framewriter.h"
#include "mainwindowdriver.h"
#include "messagemodel.h"
#include "plotitem.h"
#include "pseudoterminal.h"
#include "wiring.h"

#include <messages.h>

#include <QGuiApplication>
#include <QPainter>
#include <QQmlContext>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstring>
#include <memory>

namespace {
constexpr float QuarterTurn = 1.5707964f;

// The message area's lines without their time stamps.
QStringList withoutStamps(const QStringList &lines)
{
    static const QRegularExpression stamp(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d  "));
    QStringList texts;
    for (QString line : lines)
        texts.append(line.remove(stamp));
    return texts;
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void regions_data();
    void regions();
    void fixedSize();
    void anglesStartAtZero();
    void buttonText_data();
    void buttonText();
    void boxesWhileOpen_data();
    void boxesWhileOpen();
    void translatedTexts_data();
    void translatedTexts();
    void portListFromController();
    void portChoiceSurvivesListRefresh_data();
    void portChoiceSurvivesListRefresh();
    void portChoiceSurvivesLanguageSwitch_data();
    void portChoiceSurvivesLanguageSwitch();
    void titleBarButtons_data();
    void titleBarButtons();

    void notOpenNoticeForEachMove();
    void repeatCounting_data();
    void repeatCounting();
    void lineCap();
    void followsNewestUnlessScrolledUp();
    void failedOpenSaysWhy();
    void statusLine_data();
    void statusLine();

    void reportShownInLabels_data();
    void reportShownInLabels();
    void stickDragSendsCommand_data();
    void stickDragSendsCommand();
    void unplugFlipsButton();

    void keysDriveTheRates_data();
    void keysDriveTheRates();
    void keysInATextFieldAreText();
    void keysStayWithTheControlInFocus_data();
    void keysStayWithTheControlInFocus();
    void heldKeyLetGoWhenFocusMoves_data();
    void heldKeyLetGoWhenFocusMoves();
    void languagePickedWithKeys_data();
    void languagePickedWithKeys();
    void padDrivesTheRates_data();
    void padDrivesTheRates();
    void settingsViewOpens();
    void plotShowsTheSeries_data();
    void plotShowsTheSeries();

private:
    QVariant evaluate(const QString &expression) const;
    QQuickItem *logArea() const { return m_driver->itemById(QStringLiteral("logArea")); }
    // The message list's lines, and the lines that its view shows.
    QStringList logLines() const;
    QStringList shownLines() const;
    void clearLog();
    void pickRow(const QString &boxId, const QString &text);
    void chooseLanguage(int index);
    void setOpen(bool open);
    // Whether the last command turns the gimbal on any axis.
    bool turning() const;
    // Checks that the next `count` commands are all at rest.
    void expectRest(int count);
    // Presses and lets go of Right in the main window: the gimbal turns right and stops again.
    void expectSteering();
    // Puts the keyboard into `control` ("language list", "settings slider", "plot", "folder
    // field") and returns the item whose `property` the keys would move.
    QObject *focusControl(const QString &control, QByteArray &property);
    // Clicks the window where no control is, among the angle labels: the keys steer again.
    void clickBackground();
    // Closes what focusControl() opened, and gives the main window the keyboard again.
    void leaveControl(const QString &control);

    std::unique_ptr<Wiring> m_wiring;
    std::unique_ptr<MainWindowDriver> m_driver;
    std::unique_ptr<PseudoTerminal> m_pty;
    std::unique_ptr<CommandWatch> m_commands;
};

void TestMainWindow::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_wiring = std::make_unique<Wiring>(*qGuiApp);
    QQmlApplicationEngine &engine = m_wiring->engine();
    // A quit request ending the application would make every later event loop return at once;
    // the close button's test watches the engine's request instead.
    QVERIFY(QObject::disconnect(&engine, &QQmlEngine::quit, qApp, nullptr));
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    QCOMPARE(engine.rootObjects().size(), 1);
    m_driver = std::make_unique<MainWindowDriver>(m_wiring->engine().rootObjects().first());
    QVERIFY(m_driver->window());
    QVERIFY(QTest::qWaitForWindowExposed(m_driver->window()));
    m_pty = std::make_unique<PseudoTerminal>();
    QVERIFY(m_pty->isOpen());
    m_commands = std::make_unique<CommandWatch>(*m_pty);
    // The test's own handle on SDL, for the virtual pads it plugs in.
    QCOMPARE(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
}

void TestMainWindow::cleanupTestCase()
{
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    m_driver.reset();
    m_wiring.reset();
}

void TestMainWindow::init()
{
    setOpen(false);
    chooseLanguage(1);
    InputControl &input = m_wiring->input();
    input.setDeadZone(0.1);
    input.setExpo(0.0);
    input.setSpeedLimit(1.0);
    input.setInvertX(false);
    input.setInvertY(false);
    input.setInvertZ(false);
}

void TestMainWindow::cleanup()
{
    // A failed check can leave a knob held, which would swallow the next test's clicks.
    m_driver->releaseStick();
}

QVariant TestMainWindow::evaluate(const QString &expression) const
{
    return m_driver->evaluate(expression);
}

QStringList TestMainWindow::logLines() const
{
    const MessageModel &model = m_wiring->messages();
    QStringList lines;
    for (int row = 0; row < model.rowCount(); ++row)
        lines.append(model.index(row).data(MessageModel::LineRole).toString());
    return lines;
}

QStringList TestMainWindow::shownLines() const
{
    QList<QQuickItem *> rows =
        logArea()->property("contentItem").value<QQuickItem *>()->childItems();
    std::sort(rows.begin(), rows.end(),
              [](const QQuickItem *a, const QQuickItem *b) { return a->y() < b->y(); });
    QStringList lines;
    for (const QQuickItem *row : rows) {
        if (row->isVisible() && row->property("text").isValid())
            lines.append(row->property("text").toString());
    }
    return lines;
}

void TestMainWindow::clearLog()
{
    m_wiring->messages().clear();
}

void TestMainWindow::pickRow(const QString &boxId, const QString &text)
{
    QQuickItem *box = m_driver->itemById(boxId);
    auto *popup = box->property("popup").value<QObject *>();
    // The editable port box opens its list from the indicator at its right end.
    auto *opener = box->property("indicator").value<QQuickItem *>();
    m_driver->click(box->property("editable").toBool() && opener ? opener : box);
    QTRY_VERIFY(popup->property("opened").toBool());
    auto *list = popup->property("contentItem").value<QQuickItem *>();
    auto *rows = list->property("contentItem").value<QQuickItem *>();
    for (QQuickItem *row : rows->childItems()) {
        if (row->property("text").toString() == text) {
            m_driver->click(row);
            break;
        }
    }
    QTRY_VERIFY(!popup->property("visible").toBool());
}

void TestMainWindow::chooseLanguage(int index)
{
    pickRow(QStringLiteral("switch_language_combox"),
            index == 0 ? QStringLiteral("English") : QStringLiteral("简体中文"));
    QCOMPARE(m_wiring->controller().languageIndex(), index);
    QCOMPARE(m_driver->itemById(QStringLiteral("switch_language_combox"))
                 ->property("currentIndex")
                 .toInt(),
             index);
}

void TestMainWindow::setOpen(bool open)
{
    Ravik &ravik = m_wiring->controller();
    if (ravik.serialIsOpen() == open)
        return;
    QSignalSpy changed(&ravik, &Ravik::serialIsOpenChanged);
    QVERIFY(changed.isValid());
    if (open)
        m_driver->openPort(m_pty->devicePath());
    else
        m_driver->click(m_driver->itemById(QStringLiteral("serialButton")));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(ravik.serialIsOpen(), open);
}

void TestMainWindow::regions_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QRectF>("region");

    QTest::newRow("title bar spans the top") << "titleBar" << QRectF(0, 0, 620, 40);
    QTest::newRow("connection panel fills the left below the title bar")
        << "serial_ip_page" << QRectF(0, 40, 200, 780);
    QTest::newRow("angle group 10 px right of the panel and below the title bar")
        << "gimbalImuInfoGb" << QRectF(210, 50, 400, 150);
    QTest::newRow("joystick group 10 px below the angles")
        << "angleControlGb" << QRectF(210, 210, 400, 260);
    QTest::newRow("message group stretches to 10 px above the bottom")
        << "msgGb" << QRectF(210, 480, 400, 330);
}

void TestMainWindow::regions()
{
    QFETCH(QString, id);
    QFETCH(QRectF, region);

    QQuickItem *item = m_driver->itemById(id);
    QVERIFY(item);
    QCOMPARE(item->mapRectToScene(QRectF(0, 0, item->width(), item->height())), region);
}

void TestMainWindow::fixedSize()
{
    QQuickWindow *window = m_driver->window();
    QCOMPARE(window->size(), QSize(620, 820));
    QCOMPARE(window->minimumSize(), QSize(620, 820));
    QCOMPARE(window->maximumSize(), QSize(620, 820));
    QVERIFY(window->flags().testFlag(Qt::FramelessWindowHint));
}

void TestMainWindow::anglesStartAtZero()
{
    QCOMPARE(m_driver->angleTexts(), QStringList({"0.00", "0.00", "0.00"}));
}

void TestMainWindow::buttonText_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("text");

    QTest::newRow("Chinese, closed") << 1 << false << QStringLiteral("打开");
    QTest::newRow("Chinese, open") << 1 << true << QStringLiteral("关闭");
    QTest::newRow("English, closed") << 0 << false << QStringLiteral("Open");
    QTest::newRow("English, open") << 0 << true << QStringLiteral("Close");
}

void TestMainWindow::buttonText()
{
    QFETCH(int, language);
    QFETCH(bool, open);
    QFETCH(QString, text);

    chooseLanguage(language);
    setOpen(open);
    QCOMPARE(m_driver->itemById(QStringLiteral("serialButton"))->property("text").toString(), text);
}

void TestMainWindow::boxesWhileOpen_data()
{
    QTest::addColumn<bool>("open");

    QTest::newRow("closed: all three boxes can be used") << false;
    QTest::newRow("open: port and baud are locked, the language is not") << true;
}

void TestMainWindow::boxesWhileOpen()
{
    QFETCH(bool, open);

    setOpen(open);
    QCOMPARE(m_driver->itemById(QStringLiteral("serial_nameCombo"))->isEnabled(), !open);
    QCOMPARE(m_driver->itemById(QStringLiteral("serial_boudCombo"))->isEnabled(), !open);
    QVERIFY(m_driver->itemById(QStringLiteral("switch_language_combox"))->isEnabled());
    chooseLanguage(0);
    QCOMPARE(m_wiring->controller().serialIsOpen(), open);
}

void TestMainWindow::translatedTexts_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("chinese");
    QTest::addColumn<QString>("english");

    QTest::newRow("port label is translated")
        << "portCl.children[0].text" << QStringLiteral("端口号") << QStringLiteral("Port");
    QTest::newRow("baud label is translated")
        << "serial_boudLab.text" << QStringLiteral("波特率") << QStringLiteral("Baud");
    QTest::newRow("language label is translated")
        << "languageCl.children[0].text" << QStringLiteral("语言(Language)")
        << QStringLiteral("Language(语言)");
    QTest::newRow("message title is translated")
        << "msgGb.title" << QStringLiteral("消息") << QStringLiteral("Message");
    QTest::newRow("angle title has no translation")
        << "gimbalImuInfoGb.title" << QStringLiteral("角度信息") << QStringLiteral("角度信息");
    QTest::newRow("joystick title has no translation")
        << "angleControlGb.title" << QStringLiteral("控制") << QStringLiteral("控制");
    QTest::newRow("title bar shows the untranslated window title")
        << "titleBar.windowTitle" << QStringLiteral("Ravik Mavlink")
        << QStringLiteral("Ravik Mavlink");
}

void TestMainWindow::translatedTexts()
{
    QFETCH(QString, expression);
    QFETCH(QString, chinese);
    QFETCH(QString, english);

    QCOMPARE(evaluate(expression).toString(), chinese);
    chooseLanguage(0);
    QCOMPARE(evaluate(expression).toString(), english);
    chooseLanguage(1);
    QCOMPARE(evaluate(expression).toString(), chinese);
}

void TestMainWindow::portListFromController()
{
    // The serial ports, then the usual ground-station link.
    QCOMPARE(evaluate(QStringLiteral("serial_nameCombo.model")).toStringList(),
             m_wiring->controller().serialPort() + QStringList{QStringLiteral("udp:14550")});
    // The pseudo-terminal is not in the system's list, yet typing its path opens it: the commands
    // arrive at its far end, not at whichever listed port the box still has selected.
    QVERIFY(!m_wiring->controller().serialPort().contains(m_pty->devicePath()));
    setOpen(true);
    QVERIFY(m_commands->waitFor(0, 0, 0));
}

void TestMainWindow::portChoiceSurvivesListRefresh_data()
{
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QString>("chosen");

    QTest::newRow("a typed path stays") << true << QString();
    QTest::newRow("a picked port stays") << false << QStringLiteral("ttyUSB7");
}

void TestMainWindow::portChoiceSurvivesListRefresh()
{
    QFETCH(bool, typed);
    QFETCH(QString, chosen);

    // Stand-in lists, as a plug and an unplug would give; the controller's list comes back last.
    QCOMPARE(evaluate(QStringLiteral("serial_nameCombo.model = ['ttyS0', 'ttyUSB7']; 0")), 0);
    if (typed) {
        chosen = m_pty->devicePath();
        m_driver->typePort(chosen);
    } else {
        pickRow(QStringLiteral("serial_nameCombo"), chosen);
    }
    QCOMPARE(evaluate(QStringLiteral("serial_nameCombo.editText")).toString(), chosen);

    QCOMPARE(evaluate(QStringLiteral("serial_nameCombo.model = ['ttyACM0', 'ttyUSB7']; 0")), 0);
    QTRY_COMPARE(evaluate(QStringLiteral("serial_nameCombo.editText")).toString(), chosen);
    QCOMPARE(evaluate(QStringLiteral(
                 "serial_nameCombo.model = Qt.binding(function() { return Ravik.serialPort }); 0")),
             0);
}

void TestMainWindow::portChoiceSurvivesLanguageSwitch_data()
{
    QTest::addColumn<bool>("typed");
    QTest::addColumn<int>("language");

    QTest::newRow("a typed path stays through a switch to English") << true << 0;
    QTest::newRow("a typed path stays through a switch to Chinese") << true << 1;
    QTest::newRow("a picked port stays through a switch to English") << false << 0;
    QTest::newRow("a picked port stays through a switch to Chinese") << false << 1;
}

// Close, switch the language, Open: the port opened is still the one in the box before.
void TestMainWindow::portChoiceSurvivesLanguageSwitch()
{
    QFETCH(bool, typed);
    QFETCH(int, language);

    chooseLanguage(1 - language);
    QString chosen = m_pty->devicePath();
    if (typed) {
        m_driver->typePort(chosen);
    } else {
        // A list that holds the port after its first row, as a plugged-in device gives, bound
        // like the controller's list so that the switch evaluates it anew.
        QCOMPARE(evaluate(QStringLiteral("serial_nameCombo.model = Qt.binding(function() { "
                                         "return ['ttyS0', '%1'] }); 0")
                              .arg(chosen)),
                 0);
        pickRow(QStringLiteral("serial_nameCombo"), chosen);
    }
    QCOMPARE(evaluate(QStringLiteral("serial_nameCombo.editText")).toString(), chosen);

    chooseLanguage(language);
    QTRY_COMPARE(evaluate(QStringLiteral("serial_nameCombo.editText")).toString(), chosen);
    m_commands->skip();
    m_driver->click(m_driver->itemById(QStringLiteral("serialButton")));
    QVERIFY(m_wiring->controller().serialIsOpen());
    QCOMPARE(m_wiring->controller().portName(), chosen);
    QVERIFY(m_commands->waitFor(0, 0, 0));
    setOpen(false);
    QCOMPARE(evaluate(QStringLiteral(
                 "serial_nameCombo.model = Qt.binding(function() { return Ravik.serialPort }); 0")),
             0);
}

void TestMainWindow::titleBarButtons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<int>("quits");

    QTest::newRow("minimise minimises the window and the tool keeps running")
        << 2 << "mini" << true << 0;
    QTest::newRow("close asks the tool to quit") << 3 << "close" << false << 1;
}

void TestMainWindow::titleBarButtons()
{
    QFETCH(int, button);
    QFETCH(QString, line);
    QFETCH(bool, minimised);
    QFETCH(int, quits);

    QQuickWindow *window = m_driver->window();
    QSignalSpy quit(&m_wiring->engine(), &QQmlEngine::quit);
    QVERIFY(quit.isValid());
    // The strip's row holds the logo, the title and then the two buttons.
    QQuickItem *row = m_driver->itemById(QStringLiteral("titleBar"))->childItems().at(1);
    QTest::ignoreMessage(QtDebugMsg, qPrintable(line));
    m_driver->click(row->childItems().at(button));
    QTRY_COMPARE(window->visibility() == QWindow::Minimized, minimised);
    QCOMPARE(quit.count(), quits);
    window->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

// Nothing while the sticks rest with no port open; a move brings the reminder, held it adds
// nothing, a new move after letting go counts once more; opening the port takes the line away.
void TestMainWindow::notOpenNoticeForEachMove()
{
    QSignalSpy ticks(&m_wiring->controller(), &Ravik::commandDue);
    QVERIFY(ticks.isValid());
    // The lines after five more ticks, each of which would bring the reminder, counts shown.
    const auto lines = [&] {
        for (int tick = 0; tick < 5; ++tick)
            ticks.wait(1000);
        m_wiring->messages().showRepeats();
        return withoutStamps(logLines());
    };
    clearLog();
    QCOMPARE(lines(), QStringList());
    m_driver->holdStick(QStringLiteral("rightJoystick"), QPointF(100, 0));
    QCOMPARE(lines(), QStringList(QStringLiteral("请您先打开串口")));
    m_driver->releaseStick();
    QCOMPARE(lines(), QStringList(QStringLiteral("请您先打开串口")));
    m_driver->holdStick(QStringLiteral("rightJoystick"), QPointF(100, 0));
    QCOMPARE(lines(), QStringList(QStringLiteral("请您先打开串口 (×2)")));
    setOpen(true);
    QCOMPARE(logLines(), QStringList());
    QTRY_COMPARE(shownLines(), QStringList());
}

void TestMainWindow::repeatCounting_data()
{
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("one message is one line") << QStringList{"a"} << QStringList{"a"};
    QTest::newRow("a message repeated is one line with its count")
        << QStringList{"a", "a", "a"} << QStringList{"a (×3)"};
    QTest::newRow("a different message starts a new line")
        << QStringList{"a", "b"} << QStringList{"a", "b"};
    QTest::newRow("a message seen before but not last is a new line")
        << QStringList{"a", "b", "a"} << QStringList{"a", "b", "a"};
    QTest::newRow("a new message fixes the count of the line before")
        << QStringList{"a", "a", "b", "b"} << QStringList{"a (×2)", "b (×2)"};
    QTest::newRow("markup shows as text")
        << QStringList{"<b>bold</b>"} << QStringList{"<b>bold</b>"};
}

void TestMainWindow::repeatCounting()
{
    QFETCH(QStringList, messages);
    QFETCH(QStringList, lines);

    // With the port open the controller says nothing of its own.
    setOpen(true);
    clearLog();
    for (const QString &message : messages)
        emit m_wiring->controller().addMessage(message);
    QTRY_COMPARE(withoutStamps(logLines()), lines);
    QTRY_COMPARE(withoutStamps(shownLines()), lines);
    static const QRegularExpression stamp(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d  "));
    for (const QString &line : logLines())
        QVERIFY2(stamp.match(line).hasMatch(), qPrintable(line));
}

void TestMainWindow::lineCap()
{
    setOpen(true);
    clearLog();
    for (int i = 1; i <= 520; ++i)
        emit m_wiring->controller().addMessage(QStringLiteral("message %1").arg(i));
    const QStringList lines = withoutStamps(logLines());
    QCOMPARE(lines.size(), 500);
    QCOMPARE(lines.first(), QStringLiteral("message 21"));
    QCOMPARE(lines.last(), QStringLiteral("message 520"));
}

void TestMainWindow::followsNewestUnlessScrolledUp()
{
    setOpen(true);
    clearLog();
    QQuickItem *flick = logArea();
    const auto bottom = [flick] {
        return flick->property("contentHeight").toReal() - flick->property("height").toReal() +
               flick->property("originY").toReal();
    };
    for (int i = 1; i <= 60; ++i)
        emit m_wiring->controller().addMessage(QStringLiteral("line %1").arg(i));
    QTRY_VERIFY(bottom() > 0);
    QTRY_VERIFY(flick->property("atYEnd").toBool());
    QTRY_COMPARE(shownLines().last(), logLines().last());

    flick->setProperty("contentY", flick->property("originY"));
    emit m_wiring->controller().addMessage(QStringLiteral("while reading the top"));
    QTest::qWait(50);
    QCOMPARE(flick->property("contentY").toReal(), flick->property("originY").toReal());

    flick->setProperty("contentY", bottom());
    emit m_wiring->controller().addMessage(QStringLiteral("back at the bottom"));
    QTRY_VERIFY(shownLines().last().endsWith(QLatin1String("back at the bottom")));
    QVERIFY(flick->property("atYEnd").toBool());
}

void TestMainWindow::failedOpenSaysWhy()
{
    chooseLanguage(0);
    clearLog();
    m_driver->openPort(QStringLiteral("/dev/ttyGIMBAL-missing"));
    QVERIFY(!m_wiring->controller().serialIsOpen());
    QTRY_VERIFY(withoutStamps(shownLines())
                    .contains(QStringLiteral("Cannot open /dev/ttyGIMBAL-missing: there is no such "
                                             "port (No such file or directory). Check the port "
                                             "name and that the gimbal is plugged in.")));
    m_driver->typePort(m_pty->devicePath());
}

void TestMainWindow::statusLine_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("talking");
    QTest::addColumn<QString>("line");

    QTest::newRow("closed, in Chinese") << 1 << false << QStringLiteral("端口未打开");
    QTest::newRow("closed, in English") << 0 << false << QStringLiteral("Port closed");
    QTest::newRow("the rate can be read off the line")
        << 0 << true << QStringLiteral("^Receiving \\d+ reports/s · 0 bad · 0 lost$");
    QTest::newRow("the same in Chinese")
        << 1 << true << QStringLiteral("^接收 \\d+ 帧报告/秒 · 校验错误 0 · 丢失 0$");
}

void TestMainWindow::statusLine()
{
    QFETCH(int, language);
    QFETCH(bool, talking);
    QFETCH(QString, line);

    chooseLanguage(language);
    QObject *state = m_driver->byId(QStringLiteral("statusView"))
                         ->findChild<QObject *>(QStringLiteral("stateLine"));
    QVERIFY(state);
    if (!talking) {
        QCOMPARE(state->property("text").toString(), line);
        return;
    }
    setOpen(true);
    FrameWriter gimbal;
    QTimer reports;
    connect(&reports, &QTimer::timeout, this, [&] {
        m_pty->write(gimbal.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, mavlink_gimbal_report_t{}));
    });
    reports.start(20);
    const QRegularExpression expected(line);
    QTRY_VERIFY_WITH_TIMEOUT(expected.match(state->property("text").toString()).hasMatch(), 5000);
}

void TestMainWindow::reportShownInLabels_data()
{
    QTest::addColumn<float>("roll");
    QTest::addColumn<float>("elevation");
    QTest::addColumn<float>("azimuth");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("negative, zero and whole values get two decimals")
        << -0.5f << 0.0f << 90.0f << QStringList{"-0.50", "0.00", "90.00"};
    QTest::newRow("values round to two decimals")
        << 1.23456f << -179.999f << 359.994f << QStringList{"1.23", "-180.00", "359.99"};
}

void TestMainWindow::reportShownInLabels()
{
    QFETCH(float, roll);
    QFETCH(float, elevation);
    QFETCH(float, azimuth);
    QFETCH(QStringList, texts);

    setOpen(true);
    QSignalSpy angles(&m_wiring->controller(), &Ravik::gimbalImuAngleChanged);
    QVERIFY(angles.isValid());
    mavlink_gimbal_report_t report{};
    report.joint_roll = roll;
    report.joint_el = elevation;
    report.joint_az = azimuth;
    FrameWriter gimbal;
    m_pty->write(gimbal.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, report));
    QVERIFY(angles.wait(2000));
    QCOMPARE(angles.count(), 1);
    QCOMPARE(m_driver->angleTexts(), texts);
}

void TestMainWindow::stickDragSendsCommand_data()
{
    QTest::addColumn<QString>("stick");
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("z");
    QTest::addColumn<QStringList>("console");
    QTest::addColumn<double>("speedLimit");

    QTest::newRow("right stick fully right and up turns on x and y")
        << "rightJoystick" << QPointF(100, -100) << QuarterTurn << QuarterTurn << 0.0f
        << QStringList{"x:1", "y:1"} << 1.0;
    QTest::newRow("right stick straight down: its vertical value goes to y, not x")
        << "rightJoystick" << QPointF(0, 100) << 0.0f << -QuarterTurn << 0.0f
        << QStringList{"x:0", "y:-1"} << 1.0;
    QTest::newRow("left stick up and left: only its horizontal value, on z")
        << "leftJoystick" << QPointF(-100, -100) << 0.0f << 0.0f << -QuarterTurn
        << QStringList{"x:-1", "y:1"} << 1.0;
    QTest::newRow("the speed limit scales the mouse too")
        << "rightJoystick" << QPointF(100, 0) << QuarterTurn / 2 << 0.0f << 0.0f
        << QStringList{"x:1", "y:0"} << 0.5;
}

void TestMainWindow::stickDragSendsCommand()
{
    QFETCH(QString, stick);
    QFETCH(QPointF, offset);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, z);
    QFETCH(QStringList, console);
    QFETCH(double, speedLimit);

    m_wiring->input().setSpeedLimit(speedLimit);
    setOpen(true);
    QVERIFY(m_commands->waitFor(0, 0, 0));
    for (const QString &line : console)
        QTest::ignoreMessage(QtDebugMsg, qPrintable(line));
    m_driver->holdStick(stick, offset);
    QVERIFY(m_commands->waitFor(x, y, z));
    m_driver->releaseStick();
    QVERIFY(m_commands->waitFor(0, 0, 0));
}

void TestMainWindow::unplugFlipsButton()
{
    chooseLanguage(0);
    setOpen(true);
    QQuickItem *button = m_driver->itemById(QStringLiteral("serialButton"));
    QCOMPARE(button->property("text").toString(), QStringLiteral("Close"));
    QSignalSpy changed(&m_wiring->controller(), &Ravik::serialIsOpenChanged);
    QVERIFY(changed.isValid());
    m_pty->closeFarEnd();
    QVERIFY(changed.wait(2000));
    QCOMPARE(button->property("text").toString(), QStringLiteral("Open"));
    QVERIFY(m_driver->itemById(QStringLiteral("serial_nameCombo"))->isEnabled());
    QVERIFY(withoutStamps(logLines())
                .contains(QStringLiteral(
                    "The gimbal is experiencing abnormal connection with the computer, "
                    "please check the USB connection.")));
    m_wiring->controller().cancelReopen();
    m_pty = std::make_unique<PseudoTerminal>();
    m_commands = std::make_unique<CommandWatch>(*m_pty);
}

bool TestMainWindow::turning() const
{
    const InputControl &input = m_wiring->input();
    return input.sentX() != 0 || input.sentY() != 0 || input.sentZ() != 0;
}

void TestMainWindow::keysDriveTheRates_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<double>("speedLimit");
    QTest::addColumn<bool>("invertX");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("z");
    QTest::addColumn<QString>("letGo");

    using K = QList<int>;
    QTest::newRow("Right: full x, let go by release")
        << K{Qt::Key_Right} << 1.0 << false << QuarterTurn << 0.0f << 0.0f << "release";
    QTest::newRow("Up and Left: y up and x left")
        << K{Qt::Key_Up, Qt::Key_Left} << 1.0 << false << -QuarterTurn << QuarterTurn << 0.0f
        << "release";
    QTest::newRow("A: z left, let go by losing the keyboard")
        << K{Qt::Key_A} << 1.0 << false << 0.0f << 0.0f << -QuarterTurn << "deactivate";
    QTest::newRow("D at a speed limit of 50 %, let go by minimising")
        << K{Qt::Key_D} << 0.5 << false << 0.0f << 0.0f << QuarterTurn / 2 << "minimise";
    QTest::newRow("opposite keys cancel")
        << K{Qt::Key_Left, Qt::Key_Right} << 1.0 << false << 0.0f << 0.0f << 0.0f << "release";
    QTest::newRow("x inverted: Right turns left")
        << K{Qt::Key_Right} << 1.0 << true << -QuarterTurn << 0.0f << 0.0f << "release";
}

void TestMainWindow::keysDriveTheRates()
{
    QFETCH(QList<int>, keys);
    QFETCH(double, speedLimit);
    QFETCH(bool, invertX);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, z);
    QFETCH(QString, letGo);

    m_wiring->input().setSpeedLimit(speedLimit);
    m_wiring->input().setInvertX(invertX);
    setOpen(true);
    QQuickWindow *window = m_driver->window();
    QVERIFY(!window->activeFocusItem() || !window->activeFocusItem()->inherits("QQuickTextInput"));
    // The first key alone always turns the gimbal, so that what follows shows a change.
    QTest::keyPress(window, Qt::Key(keys.first()));
    QTRY_VERIFY(turning());
    for (int key : keys.mid(1))
        QTest::keyPress(window, Qt::Key(key));
    m_commands->skip();
    QVERIFY(m_commands->waitFor(x, y, z));

    std::unique_ptr<QWindow> other;
    if (letGo == QLatin1String("release")) {
        for (int key : keys)
            QTest::keyRelease(window, Qt::Key(key));
    } else if (letGo == QLatin1String("deactivate")) {
        // Another window takes the keyboard, as a click into another program does.
        other = std::make_unique<QWindow>();
        other->resize(10, 10);
        other->show();
        other->requestActivate();
        QTRY_VERIFY(!window->isActive());
    } else {
        window->showMinimized();
    }
    // The next command is at rest, whatever was held; one may have been on its way already.
    m_commands->skip();
    int before = 0;
    QVERIFY(m_commands->waitFor(0, 0, 0, 0.0f, 2000, &before));
    QVERIFY(before <= 1);
    other.reset();
    window->showNormal();
    window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void TestMainWindow::keysInATextFieldAreText()
{
    setOpen(false);
    setOpen(true);
    setOpen(false);
    QQuickItem *field = m_driver->itemById(QStringLiteral("serial_nameCombo"))
                            ->property("contentItem")
                            .value<QQuickItem *>();
    m_driver->click(field);
    QVERIFY(field->hasActiveFocus());
    QTest::keyClick(m_driver->window(), Qt::Key_End);
    QTest::keyPress(m_driver->window(), Qt::Key_A);
    QVERIFY(field->property("text").toString().endsWith(QLatin1Char('a')));
    QCOMPARE(m_wiring->input().sentZ(), 0.0);
    QTest::keyRelease(m_driver->window(), Qt::Key_A);
    m_driver->typePort(m_pty->devicePath());
}

void TestMainWindow::expectRest(int count)
{
    m_commands->skip();
    for (int command = 0; command < count; ++command) {
        int before = 0;
        QVERIFY(m_commands->waitFor(0, 0, 0, 0.0f, 2000, &before));
        QCOMPARE(before, 0);
    }
}

void TestMainWindow::clickBackground()
{
    m_driver->click(m_driver->itemById(QStringLiteral("gimbalImuInfoGb")));
}

void TestMainWindow::expectSteering()
{
    QQuickWindow *window = m_driver->window();
    QTest::keyPress(window, Qt::Key_Right);
    m_commands->skip();
    QVERIFY(m_commands->waitFor(QuarterTurn, 0, 0));
    QTest::keyRelease(window, Qt::Key_Right);
    QVERIFY(m_commands->waitFor(0, 0, 0));
}

namespace {
// The first item under `root` of the given type.
QQuickItem *firstOfType(const QObject *root, const char *type)
{
    for (QQuickItem *item : root->findChildren<QQuickItem *>()) {
        if (item->inherits(type))
            return item;
    }
    return nullptr;
}

bool opened(QObject *popup)
{
    return popup && QTest::qWaitFor([popup] { return popup->property("opened").toBool(); });
}
} // namespace

QObject *TestMainWindow::focusControl(const QString &control, QByteArray &property)
{
    if (control == QLatin1String("language list")) {
        QQuickItem *box = m_driver->itemById(QStringLiteral("switch_language_combox"));
        m_driver->click(box);
        property = "highlightedIndex";
        return opened(box->property("popup").value<QObject *>()) && box->hasActiveFocus() ? box
                                                                                          : nullptr;
    }
    if (control == QLatin1String("plot")) {
        m_driver->click(m_driver->itemById(QStringLiteral("plotButton")));
        auto *plotWindow =
            m_driver->byId(QStringLiteral("plotLoader"))->property("item").value<QQuickWindow *>();
        if (!plotWindow || !QTest::qWaitForWindowActive(plotWindow))
            return nullptr;
        // Tab goes round the window's controls to the span box, the first one.
        QQuickItem *spanBox = firstOfType(plotWindow, "QQuickComboBox");
        for (int tab = 0; spanBox && tab < 10 && !spanBox->hasActiveFocus(); ++tab)
            QTest::keyClick(plotWindow, Qt::Key_Tab);
        property = "currentIndex";
        return spanBox && spanBox->hasActiveFocus() ? spanBox : nullptr;
    }
    // The settings view's first slider (the dead zone) or the recording view's folder field; a
    // click gives it the keyboard.
    const bool slider = control == QLatin1String("settings slider");
    m_driver->click(m_driver->itemById(slider ? QStringLiteral("inputSettingsButton")
                                              : QStringLiteral("recordingButton")));
    auto *view =
        m_driver->byId(slider ? QStringLiteral("inputSettings") : QStringLiteral("recordView"))
            ->property("item")
            .value<QObject *>();
    if (!opened(view))
        return nullptr;
    QQuickItem *item = firstOfType(view, slider ? "QQuickSlider" : "QQuickTextField");
    if (!item)
        return nullptr;
    m_driver->click(slider ? item->property("handle").value<QQuickItem *>() : item);
    property = slider ? "value" : "cursorPosition";
    return item->hasActiveFocus() ? item : nullptr;
}

void TestMainWindow::leaveControl(const QString &control)
{
    QQuickWindow *window = m_driver->window();
    if (control == QLatin1String("plot")) {
        m_driver->byId(QStringLiteral("plotLoader"))
            ->property("item")
            .value<QQuickWindow *>()
            ->close();
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window));
    } else {
        QTest::keyClick(window, Qt::Key_Escape);
    }
    // A click while a popup is open would only close it.
    QTRY_VERIFY(!evaluate(QStringLiteral("steeringScope.Overlay.overlay.visible")).toBool());
    clickBackground();
}

void TestMainWindow::keysStayWithTheControlInFocus_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("moves");

    QTest::newRow("Down in the open language list moves its highlight")
        << "language list" << int(Qt::Key_Down) << true;
    QTest::newRow("Up in the open language list moves its highlight")
        << "language list" << int(Qt::Key_Up) << true;
    QTest::newRow("Left, which the open list does not use, is not the gimbal's either")
        << "language list" << int(Qt::Key_Left) << false;
    QTest::newRow("D in the open language list") << "language list" << int(Qt::Key_D) << false;
    QTest::newRow("Right moves the focused slider in the settings view")
        << "settings slider" << int(Qt::Key_Right) << true;
    QTest::newRow("Left moves the focused slider back")
        << "settings slider" << int(Qt::Key_Left) << true;
    QTest::newRow("Up, which the horizontal slider does not use, stays in the view")
        << "settings slider" << int(Qt::Key_Up) << false;
    QTest::newRow("Down moves the plot window's span box") << "plot" << int(Qt::Key_Down) << true;
    QTest::newRow("Right in the plot window") << "plot" << int(Qt::Key_Right) << false;
    QTest::newRow("A in the plot window") << "plot" << int(Qt::Key_A) << false;
    QTest::newRow("Left moves the cursor in the recording view's folder field")
        << "folder field" << int(Qt::Key_Left) << true;
    QTest::newRow("Up, which the one-line folder field does not use, stays in the view")
        << "folder field" << int(Qt::Key_Up) << false;
}

// Real keys into a control that has the keyboard: the control gets what it uses, and the wire
// shows the gimbal at rest while the key is held.
void TestMainWindow::keysStayWithTheControlInFocus()
{
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(bool, moves);

    // The language list's highlight starts where it can move to.
    chooseLanguage(key == Qt::Key_Down ? 0 : 1);
    setOpen(true);
    clickBackground();
    expectSteering();
    QByteArray property;
    QObject *item = focusControl(control, property);
    QVERIFY(item);
    // The slider starts in its middle and the folder field's cursor at its end, so that both ways
    // move.
    if (control == QLatin1String("settings slider"))
        QVERIFY(item->setProperty("value", 0.25));
    if (control == QLatin1String("folder field"))
        QTest::keyClick(m_driver->window(), Qt::Key_End);
    auto *keyWindow = qobject_cast<QQuickItem *>(item)->window();
    const QVariant before = item->property(property);

    QTest::keyPress(keyWindow, Qt::Key(key));
    expectRest(3);
    QVERIFY(!turning());
    QCOMPARE(item->property(property) != before, moves);
    QTest::keyRelease(keyWindow, Qt::Key(key));

    leaveControl(control);
    expectSteering();
}

void TestMainWindow::heldKeyLetGoWhenFocusMoves_data()
{
    QTest::addColumn<QString>("control");

    QTest::newRow("the language list opens") << "language list";
    QTest::newRow("the settings view opens and a slider takes the keyboard") << "settings slider";
    QTest::newRow("the plot window opens") << "plot";
    QTest::newRow("the recording view opens and its folder field takes the keyboard")
        << "folder field";
}

// A key held while the keyboard moves on gets no release where it is let go of: the next
// command is at rest, and the key's repeats do not steer again.
void TestMainWindow::heldKeyLetGoWhenFocusMoves()
{
    QFETCH(QString, control);

    setOpen(true);
    clickBackground();
    QQuickWindow *window = m_driver->window();
    QTest::keyPress(window, Qt::Key_Down);
    m_commands->skip();
    QVERIFY(m_commands->waitFor(0, -QuarterTurn, 0));
    QByteArray property;
    QVERIFY(focusControl(control, property));
    m_commands->skip();
    int before = 0;
    QVERIFY(m_commands->waitFor(0, 0, 0, 0.0f, 2000, &before));
    QVERIFY(before <= 1);
    expectRest(3);
    // Back in the main window with the key still down, its repeats arrive there again; they
    // steer nothing until the key is pressed anew.
    leaveControl(control);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(window, &repeat);
    expectRest(3);
    QTest::keyRelease(window, Qt::Key_Down);
    expectSteering();
}

void TestMainWindow::languagePickedWithKeys_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("language");

    using K = QList<int>;
    QTest::newRow("Up and Return pick English") << 1 << K{Qt::Key_Up, Qt::Key_Return} << 0;
    QTest::newRow("Down and Enter pick Chinese") << 0 << K{Qt::Key_Down, Qt::Key_Enter} << 1;
    QTest::newRow("Up and Escape keep Chinese") << 1 << K{Qt::Key_Up, Qt::Key_Escape} << 1;
}

void TestMainWindow::languagePickedWithKeys()
{
    QFETCH(int, from);
    QFETCH(QList<int>, keys);
    QFETCH(int, language);

    chooseLanguage(from);
    setOpen(true);
    QByteArray property;
    QObject *box = focusControl(QStringLiteral("language list"), property);
    QVERIFY(box);
    for (int key : keys)
        QTest::keyClick(m_driver->window(), Qt::Key(key));
    QTRY_VERIFY(!box->property("popup").value<QObject *>()->property("visible").toBool());
    QCOMPARE(m_wiring->controller().languageIndex(), language);
    QCOMPARE(box->property("currentIndex").toInt(), language);
    QCOMPARE(m_wiring->controller().serialIsOpen(), true);
    expectRest(3);
}

void TestMainWindow::padDrivesTheRates_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("expo");
    QTest::addColumn<bool>("invertY");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("z");

    const int full = 32767;
    QTest::newRow("right stick fully right: full x")
        << int(SDL_CONTROLLER_AXIS_RIGHTX) << full << 0.0 << false << QuarterTurn << 0.0f << 0.0f;
    QTest::newRow("right stick fully up: full y")
        << int(SDL_CONTROLLER_AXIS_RIGHTY) << -32768 << 0.0 << false << 0.0f << QuarterTurn << 0.0f;
    QTest::newRow("y inverted: up turns down")
        << int(SDL_CONTROLLER_AXIS_RIGHTY) << -32768 << 0.0 << true << 0.0f << -QuarterTurn << 0.0f;
    QTest::newRow("left stick fully left: z")
        << int(SDL_CONTROLLER_AXIS_LEFTX) << -32768 << 0.0 << false << 0.0f << 0.0f << -QuarterTurn;
    QTest::newRow("5 % is inside the 10 % dead zone: nothing")
        << int(SDL_CONTROLLER_AXIS_RIGHTX) << full / 20 << 0.0 << false << 0.0f << 0.0f << 0.0f;
    // (0.55 - 0.1) / 0.9 = 0.5 of the travel beyond the dead zone.
    QTest::newRow("55 %: half the rate, linear")
        << int(SDL_CONTROLLER_AXIS_RIGHTX) << int(0.55 * full) << 0.0 << false << QuarterTurn / 2
        << 0.0f << 0.0f;
    QTest::newRow("55 % with full expo: an eighth of the rate")
        << int(SDL_CONTROLLER_AXIS_RIGHTX) << int(0.55 * full) << 1.0 << false << QuarterTurn / 8
        << 0.0f << 0.0f;
}

// A virtual pad, plugged in while the tool runs, moved, and pulled out mid-move.
void TestMainWindow::padDrivesTheRates()
{
    QFETCH(int, axis);
    QFETCH(int, value);
    QFETCH(double, expo);
    QFETCH(bool, invertY);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, z);

    m_wiring->input().setExpo(expo);
    m_wiring->input().setInvertY(invertY);
    setOpen(true);
    const int index =
        SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, 0, 0);
    QVERIFY2(index >= 0, SDL_GetError());
    SDL_Joystick *pad = SDL_JoystickOpen(index);
    QVERIFY(pad);
    QTRY_COMPARE(m_wiring->input().padName(), QStringLiteral("Virtual Controller"));
    // Full deflection first, so that each row's value shows as a change.
    QVERIFY(SDL_JoystickSetVirtualAxis(pad, axis, -32768) == 0);
    QTRY_VERIFY(turning());
    QVERIFY(SDL_JoystickSetVirtualAxis(pad, axis, static_cast<Sint16>(value)) == 0);
    QVERIFY(m_commands->waitFor(x, y, z, 1e-4f));

    // Pulled out mid-move: the next command is at rest.
    QVERIFY(SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX, 32767) == 0);
    QTRY_VERIFY(turning());
    SDL_JoystickClose(pad);
    QVERIFY(SDL_JoystickDetachVirtual(index) == 0);
    m_commands->skip();
    int before = 0;
    QVERIFY(m_commands->waitFor(0, 0, 0, 0.0f, 2000, &before));
    QVERIFY(before <= 1);
    QCOMPARE(m_wiring->input().padName(), QString());
}

void TestMainWindow::settingsViewOpens()
{
    chooseLanguage(0);
    m_driver->click(m_driver->itemById(QStringLiteral("inputSettingsButton")));
    QObject *view =
        m_driver->byId(QStringLiteral("inputSettings"))->property("item").value<QObject *>();
    QVERIFY(view);
    QTRY_VERIFY(view->property("opened").toBool());
    QTest::keyClick(m_driver->window(), Qt::Key_Escape);
    QTRY_VERIFY(!view->property("visible").toBool());
}

void TestMainWindow::plotShowsTheSeries_data()
{
    QTest::addColumn<int>("shown");

    QTest::newRow("all three angles") << 0b111;
    QTest::newRow("Roll hidden") << 0b101;
    QTest::newRow("Yaw alone") << 0b100;
}

// The plot's window opens from the main window and draws the series it is asked for, from
// reports that came over the link.
void TestMainWindow::plotShowsTheSeries()
{
    QFETCH(int, shown);

    setOpen(true);
    m_driver->click(m_driver->itemById(QStringLiteral("plotButton")));
    auto *window =
        m_driver->byId(QStringLiteral("plotLoader"))->property("item").value<QQuickWindow *>();
    QVERIFY(window);
    QTRY_VERIFY(window->isExposed());
    auto *plot = window->findChild<PlotItem *>();
    QVERIFY(plot);
    plot->setShownSeries(shown);

    // Three angles apart from one another, each moving far: earlier reports are apart from these
    // by a silence, a gap in the lines, and these may come in one burst, all in one column.
    FrameWriter gimbal;
    QSignalSpy reports(&m_wiring->controller(), &Ravik::gimbalImuAngleChanged);
    for (int i = 0; i < 40; ++i) {
        mavlink_gimbal_report_t report{};
        report.joint_roll = i * 5.0f;
        report.joint_el = i * -5.0f;
        report.joint_az = (i % 5) * 40.0f - 80.0f;
        m_pty->write(gimbal.frame(MAVLINK_MSG_ID_GIMBAL_REPORT, report));
        QTest::qWait(5);
    }
    QTRY_COMPARE(reports.count(), 40);

    QImage image(plot->size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    plot->paint(&painter);
    painter.end();
    for (int s = 0; s < 3; ++s) {
        const QColor color = PlotItem::SeriesColors[s];
        int near = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                near += qAbs(pixel.red() - color.red()) + qAbs(pixel.green() - color.green()) +
                            qAbs(pixel.blue() - color.blue()) <
                        40;
            }
        }
        QVERIFY2((near > 20) == bool(shown & (1 << s)), qPrintable(QString::number(s)));
    }
    plot->setShownSeries(0b111);
    window->close();
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
