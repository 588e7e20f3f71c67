// Which protocol the open port's device speaks, told by what it sends: a GIMBAL_REPORT means the
// report gimbal, which is steered with GIMBAL_CONTROL; a GIMBAL_DEVICE_ATTITUDE_STATUS, the
// heartbeat of a gimbal device (type 26 from component 154 or 171 to 175), a gimbal manager's
// message or an autopilot's heartbeat mean a gimbal of the standard gimbal protocol (v2). The
// first of them decides for as long as the port stays open; a new opening starts undecided again.
// The user may force one protocol instead.
#pragma once

#include <QObject>
#include <QString>

#include <optional>

struct mavlink_message_t;

class ProtocolSelector : public QObject
{
    Q_OBJECT
    // The protocol in use: Undecided, Report or V2, and its name in lower case for QML.
    Q_PROPERTY(Protocol protocol READ protocol NOTIFY protocolChanged)
    Q_PROPERTY(QString protocolName READ protocolName NOTIFY protocolChanged)
    // Auto, or the protocol forced by the user; QML sees the index (0, 1, 2).
    Q_PROPERTY(Choice choice READ choice WRITE setChoice NOTIFY choiceChanged)
    Q_PROPERTY(bool forced READ forced NOTIFY choiceChanged)

public:
    enum Protocol { Undecided, Report, V2 };
    Q_ENUM(Protocol)
    enum Choice { Auto, ForceReport, ForceV2 };
    Q_ENUM(Choice)

    explicit ProtocolSelector(QObject *parent = nullptr);

    Protocol protocol() const { return m_protocol; }
    QString protocolName() const;
    Choice choice() const { return m_choice; }
    bool forced() const { return m_choice != Auto; }
    void setChoice(Choice choice);

    // A port was opened: what was learnt about the last one no longer holds.
    void restart();
    // Every frame the link received.
    void frameReceived(const mavlink_message_t &msg);

    // The protocol that `msg` shows its sender to speak, or Undecided when it shows none.
    static Protocol protocolOf(const mavlink_message_t &msg);
    // The choice named "auto", "report" or "v2" (the names of the command line and the settings
    // file); nothing for another name.
    static std::optional<Choice> choiceNamed(const QString &name);
    static QString nameOf(Choice choice);

signals:
    void protocolChanged();
    void choiceChanged();

private:
    void enter(Protocol protocol);
    Protocol forcedProtocol() const;

    Choice m_choice = Auto;
    Protocol m_protocol = Undecided;
};
