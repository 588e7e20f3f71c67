// The hot-plug watcher's decision on device-change broadcasts, and the Linux udev source.
#include "serialevent.h"

#ifdef Q_OS_LINUX
#include "udevportwatcher.h"
#endif

#include <QSignalSpy>
#include <QtTest>

class TestSerialEvent : public QObject
{
    Q_OBJECT

private slots:
    void deviceChange_data();
    void deviceChange();
    void nativeEventFilterIgnoresOtherEvents();
#ifdef Q_OS_LINUX
    void udevEvent_data();
    void udevEvent();
#endif
};

void TestSerialEvent::deviceChange_data()
{
    QTest::addColumn<QByteArray>("eventType");
    QTest::addColumn<uint>("message");
    QTest::addColumn<quintptr>("code");
    QTest::addColumn<uint>("deviceType");
    QTest::addColumn<int>("arrivals");
    QTest::addColumn<int>("removals");
    QTest::addColumn<bool>("headerRead");

    QTest::newRow("a port arrival is reported")
        << QByteArray("windows_generic_MSG") << 0x0219u << quintptr(0x8000) << 3u << 1 << 0 << true;
    QTest::newRow("a port removal is reported")
        << QByteArray("windows_generic_MSG") << 0x0219u << quintptr(0x8004) << 3u << 0 << 1 << true;
    QTest::newRow("the dispatcher's copy of a removal is reported too")
        << QByteArray("windows_dispatcher_MSG") << 0x0219u << quintptr(0x8004) << 3u << 0 << 1
        << true;
    QTest::newRow("a volume arrival is not a port")
        << QByteArray("windows_generic_MSG") << 0x0219u << quintptr(0x8000) << 2u << 0 << 0 << true;
    QTest::newRow("a device interface removal is not a port")
        << QByteArray("windows_generic_MSG") << 0x0219u << quintptr(0x8004) << 5u << 0 << 0 << true;
    QTest::newRow("nodes-changed carries no record, none is read")
        << QByteArray("windows_generic_MSG") << 0x0219u << quintptr(0x0007) << 3u << 0 << 0
        << false;
    QTest::newRow("another message is not looked into")
        << QByteArray("windows_generic_MSG") << 0x0112u << quintptr(0x8000) << 3u << 0 << 0
        << false;
    QTest::newRow("another event type is not looked into")
        << QByteArray("xcb_generic_event_t") << 0x0219u << quintptr(0x8000) << 3u << 0 << 0
        << false;
}

void TestSerialEvent::deviceChange()
{
    QFETCH(QByteArray, eventType);
    QFETCH(uint, message);
    QFETCH(quintptr, code);
    QFETCH(uint, deviceType);
    QFETCH(int, arrivals);
    QFETCH(int, removals);
    QFETCH(bool, headerRead);

    SerialEvent watcher;
    QSignalSpy arrived(&watcher, &SerialEvent::comDevArriaval);
    QSignalSpy removed(&watcher, &SerialEvent::comDevRemoveComplete);
    QVERIFY(arrived.isValid());
    QVERIFY(removed.isValid());
    if (arrivals)
        QTest::ignoreMessage(QtDebugMsg, "device arrival: \"COM5\"");
    if (removals)
        QTest::ignoreMessage(QtDebugMsg, "device remove complete: \"COM5\"");

    int typeReads = 0;
    int nameReads = 0;
    const bool result = watcher.deviceChange(
        eventType, message, code,
        [&] {
            ++typeReads;
            return deviceType;
        },
        [&] {
            ++nameReads;
            return QStringLiteral("COM5");
        });

    QCOMPARE(result, false);
    QCOMPARE(arrived.count(), arrivals);
    QCOMPARE(removed.count(), removals);
    if (arrivals)
        QCOMPARE(arrived.at(0).at(0).toString(), QStringLiteral("COM5"));
    if (removals)
        QCOMPARE(removed.at(0).at(0).toString(), QStringLiteral("COM5"));
    QCOMPARE(typeReads > 0, headerRead);
    QCOMPARE(nameReads, arrivals + removals);
}

void TestSerialEvent::nativeEventFilterIgnoresOtherEvents()
{
    SerialEvent watcher;
    QSignalSpy arrived(&watcher, &SerialEvent::comDevArriaval);
    QVERIFY(arrived.isValid());
    long result = 7;
    QCOMPARE(watcher.nativeEventFilter("xcb_generic_event_t", nullptr, &result), false);
    QCOMPARE(result, 7L);
    QCOMPARE(arrived.count(), 0);
}

#ifdef Q_OS_LINUX
void TestSerialEvent::udevEvent_data()
{
    QTest::addColumn<QByteArray>("action");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("removed");

    QTest::newRow("add reports an arrival") << QByteArray("add") << 1 << 0;
    QTest::newRow("remove reports a removal") << QByteArray("remove") << 0 << 1;
    QTest::newRow("change is neither") << QByteArray("change") << 0 << 0;
    QTest::newRow("bind is neither") << QByteArray("bind") << 0 << 0;
}

void TestSerialEvent::udevEvent()
{
    QFETCH(QByteArray, action);
    QFETCH(int, added);
    QFETCH(int, removed);

    SerialEvent watcher;
    auto *udev = watcher.findChild<UdevPortWatcher *>();
    QVERIFY(udev);
    QSignalSpy arrivals(&watcher, &SerialEvent::comDevArriaval);
    QSignalSpy removals(&watcher, &SerialEvent::comDevRemoveComplete);
    QVERIFY(arrivals.isValid());
    QVERIFY(removals.isValid());
    if (added)
        QTest::ignoreMessage(QtDebugMsg, "device arrival: \"ttyUSB0\"");
    if (removed)
        QTest::ignoreMessage(QtDebugMsg, "device remove complete: \"ttyUSB0\"");

    udev->handleEvent(action, QStringLiteral("ttyUSB0"));

    QCOMPARE(arrivals.count(), added);
    QCOMPARE(removals.count(), removed);
    const QSignalSpy &reported = added ? arrivals : removals;
    if (added || removed)
        QCOMPARE(reported.at(0).at(0).toString(), QStringLiteral("ttyUSB0"));
}
#endif

QTEST_GUILESS_MAIN(TestSerialEvent)
#include "tst_serialevent.moc"
