// The gimbal managers on the link: every autopilot that sends a heartbeat is asked for its
// GIMBAL_MANAGER_INFORMATION (once a second until it answers, at most ten times, then once every
// ten seconds), each answer names a gimbal reached through that manager, and each manager's
// GIMBAL_MANAGER_STATUS says who controls that gimbal. Autopilots before PX4 v1.16 and ArduPilot
// 4.5 do not announce the manager in their capabilities, so every autopilot is asked.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <vector>

struct mavlink_message_t;
class MavSender;
class TickBudget;

class V2Managers : public QObject
{
    Q_OBJECT

public:
    // A gimbal that a manager answered for, with the manager's limits (radians) and abilities.
    struct Gimbal
    {
        std::uint8_t system;
        std::uint8_t manager;
        std::uint8_t deviceId;
        std::uint32_t capabilities;
        float limits[6];
        // From the manager's status; 0/0 is nobody.
        std::uint8_t primarySystem = 0;
        std::uint8_t primaryComponent = 0;
        bool statusKnown = false;
    };

    explicit V2Managers(QObject *parent = nullptr);

    // Whether a heartbeat is an autopilot's: ArduPilot or PX4, or another autopilot on a vehicle
    // (not a gimbal, a ground station, or of the generic type that the report gimbal sends).
    static bool isAutopilotHeartbeat(std::uint8_t autopilot, std::uint8_t type);

    // Forgets everything: a new link, on which an autopilot may yet speak.
    void clear();
    // The link has been open long enough for an autopilot's heartbeat to have come: a gimbal
    // device on a system without one is driven directly from now on.
    void settle();
    void frameReceived(const mavlink_message_t &msg);
    // Asks the autopilots that are due, within `budget`; called on every 20 ms tick.
    void serve(TickBudget &budget, MavSender &sender);

    bool anyAutopilot() const { return !m_autopilots.empty(); }
    // Whether the component sends an autopilot's heartbeat, or is an autopilot's own component.
    bool isAutopilot(std::uint8_t system, std::uint8_t component) const;
    bool settled() const { return m_settled; }
    // Whether an autopilot of the system is still being asked and has not answered yet.
    bool asking(std::uint8_t system) const;
    // The gimbal that manager (system, manager) answered for with this device id, or nullptr.
    const Gimbal *gimbal(std::uint8_t system, std::uint8_t manager, std::uint8_t deviceId) const;
    // The managed gimbal whose device id is the component of a gimbal device, or nullptr.
    const Gimbal *gimbalOfDevice(std::uint8_t system, std::uint8_t component) const;
    const std::vector<Gimbal> &gimbals() const { return m_gimbals; }
    // "ArduPilot", "PX4", or empty for another autopilot.
    QString firmwareOf(std::uint8_t system, std::uint8_t component) const;

signals:
    // A manager answered or its status changed who controls a gimbal.
    void changed();
    // A gimbal was added to the managers' list.
    void gimbalAdded();

private:
    struct Autopilot
    {
        std::uint8_t system;
        std::uint8_t component;
        std::uint8_t firmware;
        int requests = 0;
        int ticksToNext = 0;
        bool answered = false;
    };

    Autopilot *findAutopilot(std::uint8_t system, std::uint8_t component);
    const Autopilot *findAutopilot(std::uint8_t system, std::uint8_t component) const;
    void takeHeartbeat(const mavlink_message_t &msg);
    void takeInformation(const mavlink_message_t &msg);
    void takeStatus(const mavlink_message_t &msg);

    std::vector<Autopilot> m_autopilots;
    std::vector<Gimbal> m_gimbals;
    bool m_settled = false;
};
