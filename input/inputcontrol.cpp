#include "inputcontrol.h"

#include "sdlpad.h"

#include <checkedvalue.h>
#include <gimbal_v2.h>
#include <messages.h>
#include <ravik.h>

#include <QSettings>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace {
constexpr int PadSearchTicks = 25;
constexpr int PadStartMs = 1000;
constexpr double MaxDeadZone = 0.5;
constexpr double MinSpeedLimit = 0.1;
const QString DeadZoneKey = QStringLiteral("input/deadZone");
const QString ExpoKey = QStringLiteral("input/expo");
const QString SpeedLimitKey = QStringLiteral("input/speedLimit");
const QString InvertKeys[3] = {QStringLiteral("input/invertX"), QStringLiteral("input/invertY"),
                               QStringLiteral("input/invertZ")};

std::optional<KeyboardAxes::Key> rateKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
        return KeyboardAxes::Left;
    case Qt::Key_Right:
        return KeyboardAxes::Right;
    case Qt::Key_Down:
        return KeyboardAxes::Down;
    case Qt::Key_Up:
        return KeyboardAxes::Up;
    case Qt::Key_A:
        return KeyboardAxes::A;
    case Qt::Key_D:
        return KeyboardAxes::D;
    default:
        return std::nullopt;
    }
}

// The sticks' deflection that a rate command carries; nothing for another message.
std::optional<Deflection> carried(const mavlink_message_t &msg)
{
    const auto stick = [](float rate) {
        return std::isfinite(rate)
                   ? std::clamp(static_cast<double>(rate) / Ravik::FullDeflectionRate, -1.0, 1.0)
                   : 0.0;
    };
    if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_CONTROL) {
        mavlink_gimbal_control_t command;
        std::memcpy(&command, msg.payload, sizeof command);
        return Deflection{stick(command.demanded_rate_x), stick(command.demanded_rate_y),
                          stick(command.demanded_rate_z)};
    }
    if (msg.msgid == MAVLINK_MSG_ID_GIMBAL_DEVICE_SET_ATTITUDE) {
        // The right stick across is the yaw rate, up and down the pitch, the left stick the roll.
        const mavlink_gimbal_device_set_attitude_t command =
            mavlink_msg_gimbal_device_set_attitude_decode(&msg);
        return Deflection{stick(command.angular_velocity_z), stick(command.angular_velocity_y),
                          stick(command.angular_velocity_x)};
    }
    return std::nullopt;
}

bool operator!=(const Deflection &a, const Deflection &b)
{
    return a.x != b.x || a.y != b.y || a.z != b.z;
}
} // namespace

InputControl::InputControl(Ravik &ravik, QSettings *store, QObject *parent)
    : QObject(parent), m_ravik(ravik), m_store(store)
{
    if (m_store) {
        const Shaping defaults;
        const double deadZone =
            checkedNumber(m_store->value(DeadZoneKey), defaults.deadZone, 0.0, MaxDeadZone);
        const double expo = checkedNumber(m_store->value(ExpoKey), defaults.expo, 0.0, 1.0);
        for (int axis = 0; axis < 3; ++axis) {
            m_shaping[axis].deadZone = deadZone;
            m_shaping[axis].expo = expo;
            m_shaping[axis].inverted =
                checkedFlag(m_store->value(InvertKeys[axis]), defaults.inverted);
        }
        m_speedLimit =
            checkedNumber(m_store->value(SpeedLimitKey), m_speedLimit, MinSpeedLimit, 1.0);
    }
    connect(&ravik, &Ravik::commandDue, this, &InputControl::beforeCommand);
    connect(&ravik.session(), &MavlinkSession::frameSent, this,
            [this](const mavlink_message_t &msg) {
                if (!m_ravik.replaying())
                    return;
                if (const std::optional<Deflection> sent = carried(msg))
                    showSent(*sent);
            });
    // SDL looks through the devices as it starts: not before the window is up.
    QTimer::singleShot(PadStartMs, this, &InputControl::startPad);
}

InputControl::~InputControl() = default;

// A value that is not a number leaves the setting as it is.
void InputControl::setDeadZone(double share)
{
    const double checked = checkedNumber(share, m_shaping[0].deadZone, 0.0, MaxDeadZone);
    for (Shaping &axis : m_shaping)
        axis.deadZone = checked;
    save();
}

void InputControl::setExpo(double expo)
{
    const double checked = checkedNumber(expo, m_shaping[0].expo, 0.0, 1.0);
    for (Shaping &axis : m_shaping)
        axis.expo = checked;
    save();
}

void InputControl::setSpeedLimit(double share)
{
    m_speedLimit = checkedNumber(share, m_speedLimit, MinSpeedLimit, 1.0);
    save();
}

void InputControl::setInverted(int axis, bool inverted)
{
    m_shaping[axis].inverted = inverted;
    save();
}

void InputControl::save()
{
    if (m_store) {
        m_store->setValue(DeadZoneKey, m_shaping[0].deadZone);
        m_store->setValue(ExpoKey, m_shaping[0].expo);
        m_store->setValue(SpeedLimitKey, m_speedLimit);
        for (int axis = 0; axis < 3; ++axis)
            m_store->setValue(InvertKeys[axis], m_shaping[axis].inverted);
    }
    emit settingsChanged();
}

void InputControl::setStick(int stick, double x, double y)
{
    (stick == 0 ? m_leftStick : m_rightStick) = {x, y, 0.0};
}

Deflection InputControl::shaped(const Deflection &raw) const
{
    return {shape(raw.x, m_shaping[0]), shape(raw.y, m_shaping[1]), shape(raw.z, m_shaping[2])};
}

void InputControl::startPad()
{
    m_pad = std::make_unique<SdlPad>();
    m_padName = QString::fromStdString(m_pad->name());
    m_padAvailable = m_pad->problem() == SdlPad::Problem::None;
    m_padError = QString::fromStdString(m_pad->error());
    if (!m_padName.isEmpty() || !m_padAvailable)
        emit padChanged();
}

void InputControl::beforeCommand()
{
    // Without a pad, SDL is asked about new ones twice a second rather than at every command:
    // its look through the devices is most of what an idle tool would spend.
    if (m_pad && (!m_padName.isEmpty() || ++m_ticksWithoutPad % PadSearchTicks == 0) &&
        m_pad->poll()) {
        m_padName = QString::fromStdString(m_pad->name());
        emit padChanged();
    }
    // The left stick's horizontal is rate z; its vertical steers nothing.
    const Deflection mouse{m_rightStick.x, m_rightStick.y, m_leftStick.x};
    const Deflection pad = m_pad ? m_pad->deflection() : Deflection{};
    const Deflection sent =
        combine({mouse, shaped(m_keys.deflection()), shaped(pad)}, m_speedLimit);
    showSent(sent);
    m_ravik.setJoystick(static_cast<float>(sent.x), static_cast<float>(sent.y),
                        static_cast<float>(sent.z));
}

void InputControl::showSent(const Deflection &sent)
{
    if (sent != m_sent) {
        m_sent = sent;
        emit sentChanged();
    }
}

bool InputControl::isRateKey(int key)
{
    return rateKey(key).has_value();
}

void InputControl::pressKey(int key, Qt::KeyboardModifiers modifiers)
{
    const std::optional<KeyboardAxes::Key> which = rateKey(key);
    if (which && !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        m_keys.press(*which);
}

void InputControl::releaseKey(int key)
{
    if (const std::optional<KeyboardAxes::Key> which = rateKey(key))
        m_keys.release(*which);
}
