// The v2 gimbals on the link, in the order they first spoke, and the one the tool controls: the
// first until the user picks another. A gimbal is a sender of attitude statuses, a gimbal
// device's heartbeat from a gimbal component, or one that a gimbal manager answered for. Each
// has its path: a device driven directly, or a gimbal reached through the manager of an
// autopilot (V2Managers), which the tool never sends a device message. A status that an
// autopilot forwards from its own component names the gimbal by its gimbal_device_id; while an
// autopilot of a device's system has not answered yet, the device's path is still open.
#pragma once

#include "v2managers.h"

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <vector>

struct mavlink_message_t;

class V2Devices : public QObject
{
    Q_OBJECT
    // "system/component" of each gimbal (with the device id where an autopilot speaks for it).
    Q_PROPERTY(QStringList names READ names NOTIFY devicesChanged)
    // Each gimbal with its path, for the list to choose from.
    Q_PROPERTY(QStringList labels READ labels NOTIFY devicesChanged)
    Q_PROPERTY(int chosen READ chosen WRITE choose NOTIFY chosenChanged)
    // The controlled gimbal's path as the status line says it, empty while there is none.
    Q_PROPERTY(Path chosenPath READ chosenPath NOTIFY devicesChanged)
    Q_PROPERTY(QString chosenPathText READ chosenPathText NOTIFY devicesChanged)

public:
    enum Path {
        Direct,
        // Through an autopilot's gimbal manager.
        Managed,
        // A device on a system whose autopilot has not answered whether it manages it.
        Pending,
        // The link has just opened: an autopilot may yet speak for the device.
        Settling,
    };
    Q_ENUM(Path)

    struct Id
    {
        std::uint8_t system;
        // The sender of its statuses: the device, or the autopilot that speaks for it.
        std::uint8_t component;
        // The gimbal_device_id by which an autopilot names it; 0 for a device that speaks itself.
        std::uint8_t deviceId = 0;
    };
    // Where the manager's commands for a managed gimbal go.
    struct Route
    {
        std::uint8_t system;
        std::uint8_t manager;
        std::uint8_t deviceId;
    };

    explicit V2Devices(const V2Managers &managers, QObject *parent = nullptr);

    QStringList names() const;
    QStringList labels() const;
    const std::vector<Id> &ids() const { return m_devices; }
    // The index of the controlled gimbal, or -1 while there is none.
    int chosen() const { return m_chosen; }
    void choose(int index);
    bool hasChosen() const { return m_chosen >= 0; }
    // The controlled gimbal's ids; only while hasChosen().
    Id chosenId() const { return m_devices[static_cast<std::size_t>(m_chosen)]; }
    Path chosenPath() const { return hasChosen() ? pathOf(chosenId()) : Direct; }
    QString chosenPathText() const;
    // Where the controlled gimbal's manager is; only while its path is Managed.
    Route chosenRoute() const;
    // The controlled gimbal's entry in the managers' list, or nullptr where it is not managed or
    // its manager has not answered for it.
    const V2Managers::Gimbal *chosenManaged() const;
    // Whether `msg` (an attitude status or device information) speaks for the controlled gimbal.
    bool isChosen(const mavlink_message_t &msg) const;

    void clear();
    void frameReceived(const mavlink_message_t &msg);
    // The managers have answered or changed: paths and the list may change.
    void managersChanged();

signals:
    void devicesChanged();
    void chosenChanged();

private:
    Path pathOf(const Id &id) const;
    Route routeOf(const Id &id) const;
    QString pathText(const Id &id) const;
    // The gimbal `msg` speaks for, by its sender and, for an autopilot, its device id.
    Id idOf(const mavlink_message_t &msg) const;
    void add(const Id &id);

    const V2Managers &m_managers;
    std::vector<Id> m_devices;
    int m_chosen = -1;
};
