// The settings store where its folder can and cannot be written: saves that cannot be kept are
// said once, however many there are, and saves that can are said nowhere.
#include "settingsstore.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void unwritableSaidOnce_data();
    void unwritableSaidOnce();
};

// The tool's identity names the settings file, Lunok/Gimbal.conf.
void TestSettingsStore::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Lunok"));
    QCoreApplication::setApplicationName(QStringLiteral("Gimbal"));
}

void TestSettingsStore::unwritableSaidOnce_data()
{
    QTest::addColumn<QString>("configPath");
    QTest::addColumn<int>("messages");

    QTest::newRow("a writable folder") << QStringLiteral("config") << 0;
    // A file where a folder should be stops root too, as a folder without rights stops others.
    QTest::newRow("a folder under a file") << QStringLiteral("file/config") << 1;
    QTest::newRow("the settings file's place taken by a folder") << QStringLiteral("taken") << 1;
}

void TestSettingsStore::unwritableSaidOnce()
{
    QFETCH(QString, configPath);
    QFETCH(int, messages);

    QTemporaryDir home;
    QFile file(home.filePath(QStringLiteral("file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("taken/Lunok/Gimbal.conf")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath(configPath));

    SettingsStore store;
    QSignalSpy said(&store, &SettingsStore::message);
    QVERIFY(said.isValid());
    // Each save in a turn of the event loop of its own, as the user's choices come.
    for (int save = 0; save < 5; ++save) {
        store.setValue(QStringLiteral("input/speedLimit"), 0.5 + save / 10.0);
        QCoreApplication::processEvents();
    }
    QCOMPARE(said.count(), messages);
    if (messages > 0) {
        QVERIFY(said.at(0).at(0).toString().contains(home.filePath(configPath)));
    } else {
        const QSettings written(home.filePath(QStringLiteral("config/Lunok/Gimbal.conf")),
                                QSettings::IniFormat);
        QCOMPARE(written.value(QStringLiteral("input/speedLimit")).toDouble(), 0.9);
    }
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
