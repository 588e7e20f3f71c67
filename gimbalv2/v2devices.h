// The v2 gimbals on the link, in the order they first spoke, and the one the tool controls: the
// first until the user picks another. A gimbal is a sender of attitude statuses, or of a gimbal
// device's heartbeat from a gimbal component.
#pragma once

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <vector>

struct mavlink_message_t;

class V2Devices : public QObject
{
    Q_OBJECT
    // "system/component" of each gimbal, for the list to choose from.
    Q_PROPERTY(QStringList names READ names NOTIFY devicesChanged)
    Q_PROPERTY(int chosen READ chosen WRITE choose NOTIFY chosenChanged)

public:
    struct Id
    {
        std::uint8_t system;
        std::uint8_t component;
    };

    explicit V2Devices(QObject *parent = nullptr);

    QStringList names() const;
    const std::vector<Id> &ids() const { return m_devices; }
    // The index of the controlled gimbal, or -1 while there is none.
    int chosen() const { return m_chosen; }
    void choose(int index);
    bool hasChosen() const { return m_chosen >= 0; }
    // The controlled gimbal's ids; only while hasChosen().
    Id chosenId() const { return m_devices[static_cast<std::size_t>(m_chosen)]; }
    bool isChosen(const mavlink_message_t &msg) const;

    void clear();
    void frameReceived(const mavlink_message_t &msg);

signals:
    void devicesChanged();
    void chosenChanged();

private:
    std::vector<Id> m_devices;
    int m_chosen = -1;
};
