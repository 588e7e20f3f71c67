// What the controlled v2 gimbal says about itself in GIMBAL_DEVICE_INFORMATION: maker, model,
// versions, angle limits and capabilities. The device sends it only when asked; this keeps count
// of the requests until it comes.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

struct mavlink_message_t;

class V2Information : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool known READ known NOTIFY changed)
    // Requests sent since the device was recognised, and whether five of them went unanswered.
    Q_PROPERTY(int requests READ requests NOTIFY requestsChanged)
    Q_PROPERTY(bool unanswered READ unanswered NOTIFY requestsChanged)
    Q_PROPERTY(QString vendor READ vendor NOTIFY changed)
    Q_PROPERTY(QString model READ model NOTIFY changed)
    // major.minor.patch.dev
    Q_PROPERTY(QString firmwareVersion READ firmwareVersion NOTIFY changed)
    Q_PROPERTY(QString hardwareVersion READ hardwareVersion NOTIFY changed)
    // Radians; NaN where the device sets no limit.
    Q_PROPERTY(double rollMin READ rollMin NOTIFY changed)
    Q_PROPERTY(double rollMax READ rollMax NOTIFY changed)
    Q_PROPERTY(double pitchMin READ pitchMin NOTIFY changed)
    Q_PROPERTY(double pitchMax READ pitchMax NOTIFY changed)
    Q_PROPERTY(double yawMin READ yawMin NOTIFY changed)
    Q_PROPERTY(double yawMax READ yawMax NOTIFY changed)
    // GIMBAL_DEVICE_CAP_FLAGS: cap_flags2 where the device fills it in, else cap_flags.
    Q_PROPERTY(int capabilities READ capabilities NOTIFY changed)

public:
    explicit V2Information(QObject *parent = nullptr);

    bool known() const { return m_known; }
    int requests() const { return m_requests; }
    bool unanswered() const;
    QString vendor() const { return m_vendor; }
    QString model() const { return m_model; }
    QString firmwareVersion() const { return m_firmware; }
    QString hardwareVersion() const { return m_hardware; }
    double rollMin() const { return m_limits[0]; }
    double rollMax() const { return m_limits[1]; }
    double pitchMin() const { return m_limits[2]; }
    double pitchMax() const { return m_limits[3]; }
    double yawMin() const { return m_limits[4]; }
    double yawMax() const { return m_limits[5]; }
    int capabilities() const { return static_cast<int>(m_capabilities); }
    bool can(std::uint32_t capability) const { return m_known && (m_capabilities & capability); }

    // `angle` (radians) within the device's limits on the axis whose minimum is limit 2 * axis
    // (0 roll, 1 pitch, 2 yaw); a limit that is NaN does not bound.
    double clamped(int axis, double angle) const;

    void clear();
    void requestSent();
    // An information message of the controlled gimbal.
    void take(const mavlink_message_t &msg);
    // A managed gimbal's limits (radians) and abilities, as its manager tells them; the device
    // itself is not asked.
    void takeManaged(const float limits[6], std::uint32_t capabilities);

    // "major.minor.patch.dev" from a version whose lowest byte is the major number.
    static QString versionText(std::uint32_t version);

signals:
    void changed();
    void requestsChanged();

private:
    bool m_known = false;
    int m_requests = 0;
    QString m_vendor;
    QString m_model;
    QString m_firmware;
    QString m_hardware;
    double m_limits[6];
    std::uint32_t m_capabilities = 0;
};
