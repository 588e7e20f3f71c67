// The addresses the port box, --port and the settings may name: what each good one opens, and
// each bad one refused by the parser and by the command line before anything opens.
#include "commandline.h"

#include <linkaddress.h>

#include <QtTest>

class TestLinkAddress : public QObject
{
    Q_OBJECT

private slots:
    void addresses_data();
    void addresses();
};

void TestLinkAddress::addresses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("endpoint");
    QTest::addColumn<int>("error");

    const int bad = -1;
    QTest::newRow("a listed serial port") << "ttyUSB0" << int(LinkAddress::Serial) << "" << 0;
    QTest::newRow("a device path with colons stays serial")
        << "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0" << int(LinkAddress::Serial) << ""
        << 0;
    QTest::newRow("the usual ground-station port")
        << "udp:14550" << int(LinkAddress::UdpListen) << "14550" << 0;
    QTest::newRow("listening on one address, scheme in capitals")
        << "UDP:127.0.0.1:14550" << int(LinkAddress::UdpListen) << "127.0.0.1:14550" << 0;
    QTest::newRow("IPv6 loopback in brackets")
        << "udp:[::1]:14551" << int(LinkAddress::UdpListen) << "[::1]:14551" << 0;
    QTest::newRow("sending to a named host")
        << "udp-out:localhost:14550" << int(LinkAddress::UdpOut) << "localhost:14550" << 0;
    QTest::newRow("a TCP client, blanks around")
        << " tcp:127.0.0.1:5760 " << int(LinkAddress::Tcp) << "127.0.0.1:5760" << 0;
    QTest::newRow("no port") << "udp:" << bad << "" << int(LinkAddress::MissingPort);
    QTest::newRow("port beyond 65535") << "udp:99999" << bad << "" << int(LinkAddress::BadPort);
    QTest::newRow("port 0") << "tcp:127.0.0.1:0" << bad << "" << int(LinkAddress::BadPort);
    QTest::newRow("negative port") << "udp:-5" << bad << "" << int(LinkAddress::BadPort);
    QTest::newRow("signed port") << "tcp:127.0.0.1:+5" << bad << "" << int(LinkAddress::BadPort);
    QTest::newRow("letters after the port")
        << "udp:14550x" << bad << "" << int(LinkAddress::BadPort);
    QTest::newRow("TCP without a host") << "tcp:5760" << bad << "" << int(LinkAddress::MissingHost);
    QTest::newRow("an empty host")
        << "udp-out::14550" << bad << "" << int(LinkAddress::MissingHost);
    QTest::newRow("listening on a name, not an address")
        << "udp:localhost:14550" << bad << "" << int(LinkAddress::BadListenAddress);
}

void TestLinkAddress::addresses()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, endpoint);
    QFETCH(int, error);

    LinkAddress::Error why = LinkAddress::NoError;
    const std::optional<LinkAddress> address = LinkAddress::parse(text, &why);
    QCOMPARE(int(why), error);
    QCOMPARE(address.has_value(), kind >= 0);
    StartOptions options;
    const std::optional<int> exit =
        parseCommandLine({QStringLiteral("gimbal"), QStringLiteral("--port"), text}, options);
    if (!address) {
        QCOMPARE(exit, std::optional<int>(2));
        QVERIFY(!LinkAddress::explain(text, why).isEmpty());
        return;
    }
    QCOMPARE(exit, std::nullopt);
    QCOMPARE(options.port, text);
    QCOMPARE(int(address->kind), kind);
    if (address->isNetwork())
        QCOMPARE(address->endpoint(), endpoint);
    else
        QCOMPARE(address->host, text.trimmed());
}

QTEST_GUILESS_MAIN(TestLinkAddress)
#include "tst_linkaddress.moc"
