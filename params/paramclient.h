// The parameter protocol over the open link, for every component that may have parameters: the
// v2 gimbal devices, the report gimbal and the autopilot behind a gimbal manager are handed in
// with addComponent(); a component whose heartbeat names an autopilot is added here. While active,
// it asks each component for its list, one download at a time, and lists those that answer; it
// asks each once for AUTOPILOT_VERSION, which decides how the values are read; it writes values
// and confirms each by its echo. Every request goes out in the link's helper budget, after the
// tick's steering command, so that neither a download nor a write delays or displaces the
// command stream or fills the port. A link that closes takes everything learnt with it.
#pragma once

#include "paramcomponent.h"

#include <QElapsedTimer>
#include <QObject>

#include <deque>
#include <memory>
#include <vector>

class MavlinkSession;
class MavSender;
class TickBudget;
struct mavlink_message_t;

class ParamClient : public QObject
{
    Q_OBJECT

public:
    using Role = ParamComponent::Role;

    // Asks as the tool's identity `system`/`component`.
    ParamClient(MavlinkSession &session, std::uint8_t system, std::uint8_t component,
                QObject *parent = nullptr);
    ~ParamClient() override;

    // A component that may have parameters, asked while the client is active. A gimbal role
    // replaces the autopilot role that a heartbeat gave the same component.
    void addComponent(std::uint8_t system, std::uint8_t component, Role role);
    // Active: the known components are asked in turn, and each that becomes known.
    void setActive(bool active);
    bool isActive() const { return m_active; }

    // The components that answered, in the order they did.
    const std::vector<ParamComponent *> &answered() const { return m_answered; }
    ParamComponent *find(std::uint8_t system, std::uint8_t component) const;
    // A download is running or waiting.
    bool downloading() const { return m_downloading || !m_queue.empty(); }

    // Downloads `component`'s set again, next.
    void refresh(ParamComponent *component);
    // Writes `values` to `component`; returns the names that could not go (see
    // ParamComponent::startWrite()).
    QStringList write(ParamComponent *component, const QVector<ParamValue> &values);

    // The clock the downloads and writes run on, in ms.
    qint64 now() const { return m_clock.elapsed(); }

signals:
    void answeredChanged();
    // Progress, the encoding, the values, a write's outcomes.
    void changed(ParamComponent *component);
    // The download ended and the values are there: all of them, some, or none from a component
    // that never answered.
    void downloadEnded(ParamComponent *component);
    void writeEnded(ParamComponent *component);

private:
    void serve(TickBudget &budget);
    void serveWrites(TickBudget &budget, qint64 now);
    void serveDownload(TickBudget &budget, qint64 now);
    void settle(ParamComponent *component, qint64 now);
    void takeValue(const mavlink_message_t &msg);
    void takeHeartbeat(const mavlink_message_t &msg);
    void takeVersion(const mavlink_message_t &msg);
    void takeAck(const mavlink_message_t &msg);
    void enqueue(ParamComponent *component);
    void linkChanged();

    MavlinkSession &m_session;
    MavSender &m_sender;
    QElapsedTimer m_clock;
    std::vector<std::unique_ptr<ParamComponent>> m_components;
    std::vector<ParamComponent *> m_answered;
    std::deque<ParamComponent *> m_queue;
    ParamComponent *m_downloading = nullptr;
    std::vector<ParamComponent *> m_writing;
    bool m_active = false;
    // The bytes of each request frame on the line, for the budget.
    int m_readBytes = 0;
    int m_setBytes = 0;
    int m_commandBytes = 0;
};
