// What the port box, --port and the settings may name: a serial port, or a MAVLink link over the
// network in the usual ground-station forms:
//   udp:PORT, udp:ADDR:PORT      listen on PORT (all addresses, or the one named)
//   udp-out:HOST:PORT            send to HOST:PORT, receive what comes back
//   tcp:HOST:PORT                a TCP client of HOST:PORT
// An IPv6 address is written in brackets (udp:[::1]:14550). Any other text is a serial port. A
// telemetry log played back as the link is an address of its own kind, which no text names: the
// log is opened as a replay, never typed as a port.
#pragma once

#include <QObject>
#include <QString>

#include <optional>

struct LinkAddress
{
    Q_GADGET

public:
    enum Kind { Serial, UdpListen, UdpOut, Tcp, Replay };
    Q_ENUM(Kind)
    enum Error {
        NoError,
        MissingPort,
        // Not a number from 1 to 65535.
        BadPort,
        MissingHost,
        // A listening link binds to an address, never to a host name.
        BadListenAddress,
    };

    Kind kind = Serial;
    // The serial port's name, the host (an address or a name, without brackets), or the log's
    // path; empty for a UDP link that listens on every address.
    QString host;
    quint16 port = 0;

    bool isNetwork() const { return kind == UdpListen || kind == UdpOut || kind == Tcp; }
    // "14550" for a link that listens on every address, else "HOST:PORT" ("[::1]:14550").
    QString endpoint() const;

    // The address `text` names, or nothing with `error` set. Surrounding blanks are ignored.
    static std::optional<LinkAddress> parse(const QString &text, Error *error = nullptr);
    // Why `text` names no address, in the language of the installed catalogue.
    static QString explain(const QString &text, Error error);
};
