// Everything the interface needs is compiled in: every picture at its resource path with its
// pixel size and format, the two catalogues, the seven QML files, and the main window loaded
// through each way of writing its URL.
#include "qmltypes.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTest>
#include <QTranslator>

class tst_Resources : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void pictures_data();
    void pictures();
    void gimbalPictures_data();
    void gimbalPictures();
    void icon();
    void catalogues_data();
    void catalogues();
    void qmlFiles_data();
    void qmlFiles();
    void mainWindow_data();
    void mainWindow();
};

void tst_Resources::initTestCase()
{
    registerQmlTypes();
}

void tst_Resources::pictures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");

    QTest::newRow("title-bar logo") << ":/image/logo.png" << QByteArray("png") << QSize(52, 20);
    QTest::newRow("minimise glyph") << ":/image/mini.png" << QByteArray("png") << QSize(256, 256);
    QTest::newRow("close glyph") << ":/image/close.png" << QByteArray("png") << QSize(256, 256);
    QTest::newRow("first QR code")
        << ":/image/wechart_qr_code.png" << QByteArray("png") << QSize(440, 440);
    QTest::newRow("second QR code")
        << ":/image/b_qr_code.png" << QByteArray("png") << QSize(440, 440);
    QTest::newRow("QR code as JPEG")
        << ":/image/wechart_qr_code.jpg" << QByteArray("jpeg") << QSize(430, 430);
    QTest::newRow("joystick bezel")
        << ":/image/JoystickBezel.png" << QByteArray("png") << QSize(512, 512);
    QTest::newRow("light joystick bezel")
        << ":/image/JoystickBezelLight.png" << QByteArray("png") << QSize(512, 512);
}

void tst_Resources::pictures()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);

    QImageReader reader(path);
    QCOMPARE(reader.format(), format);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), size);
}

void tst_Resources::gimbalPictures_data()
{
    QTest::addColumn<QString>("path");

    for (const char *direction :
         {"forward", "backward", "upward", "downward", "leftward", "rightward"}) {
        for (const char *colour : {"green", "yellow", "grey"}) {
            QTest::addRow("%s on %s", direction, colour)
                << QStringLiteral(":/image/%1%2.png").arg(direction, colour);
        }
    }
}

// 128 x 128 with an alpha channel that is really used: the corners are clear, the middle is not.
void tst_Resources::gimbalPictures()
{
    QFETCH(QString, path);

    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("png"));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), QSize(128, 128));
    QVERIFY(image.hasAlphaChannel());
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(64, 64)), 255);
}

void tst_Resources::icon()
{
    QImageReader reader(QStringLiteral(":/image/logo.ico"));
    QCOMPARE(reader.format(), QByteArray("ico"));
    QCOMPARE(reader.imageCount(), 2);
    QList<QSize> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.depth(), 32);
        QVERIFY(image.hasAlphaChannel());
        sizes.append(image.size());
    }
    std::sort(sizes.begin(), sizes.end(),
              [](const QSize &a, const QSize &b) { return a.width() < b.width(); });
    QCOMPARE(sizes, (QList<QSize>{QSize(32, 32), QSize(256, 256)}));
}

void tst_Resources::catalogues_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("empty");

    QTest::newRow("English catalogue") << ":/en_us.qm" << false;
    QTest::newRow("Chinese catalogue holds no messages") << ":/zh_CN.qm" << true;
}

void tst_Resources::catalogues()
{
    QFETCH(QString, path);
    QFETCH(bool, empty);

    QTranslator translator;
    QVERIFY(translator.load(path));
    QCOMPARE(translator.isEmpty(), empty);
}

void tst_Resources::qmlFiles_data()
{
    QTest::addColumn<QString>("path");

    for (const char *file :
         {"main", "RavikCombox", "Joystick", "RavikButton", "RavikCheckBox", "RavikGroupBox",
          "RavikTitleBar", "PanelComboBox", "StatusView", "MessageView", "InputSettingsView",
          "PlotView", "RecordView", "SteeringScope"}) {
        QTest::newRow(file) << QStringLiteral(":/%1.qml").arg(file);
    }
}

void tst_Resources::qmlFiles()
{
    QFETCH(QString, path);
    QVERIFY(QFile::exists(path));
}

void tst_Resources::mainWindow_data()
{
    QTest::addColumn<QUrl>("url");

    QTest::newRow("plain") << QUrl(QStringLiteral("qrc:/main.qml"));
    QTest::newRow("empty authority") << QUrl(QStringLiteral("qrc:///main.qml"));
    QTest::newRow("dot segment") << QUrl(QStringLiteral("qrc:/./main.qml"));
}

void tst_Resources::mainWindow()
{
    QFETCH(QUrl, url);

    QQmlApplicationEngine engine;
    engine.load(url);
    QCOMPARE(engine.rootObjects().size(), 1);
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    QVERIFY(window);
    QCOMPARE(window->title(), QStringLiteral("Ravik Mavlink"));
    QCOMPARE(window->size(), QSize(620, 820));
    QVERIFY(window->flags().testFlag(Qt::FramelessWindowHint));
}

QTEST_MAIN(tst_Resources)
#include "tst_resources.moc"
