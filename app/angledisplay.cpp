#include "angledisplay.h"

#include "gimbalv2link.h"
#include "ravik.h"

#include <QSettings>

namespace {
const QString UnitKey = QStringLiteral("interface/angleUnit");
const QString Degrees = QStringLiteral("degrees");
constexpr double DegreesPerRadian = 57.29577951308232;
} // namespace

AngleDisplay::AngleDisplay(const Ravik &ravik, GimbalV2Link &link, QSettings *store,
                           QObject *parent)
    : QObject(parent), m_ravik(ravik), m_link(link), m_store(store)
{
    // Anything but the word for degrees is the radians the reports carry.
    m_degrees = m_store && m_store->value(UnitKey).toString() == Degrees;
    connect(&ravik, &Ravik::gimbalImuAngleChanged, this, &AngleDisplay::shownChanged);
    connect(link.status(), &V2Status::statusChanged, this, &AngleDisplay::shownChanged);
    connect(link.selector(), &ProtocolSelector::protocolChanged, this, &AngleDisplay::shownChanged);
}

QVariantList AngleDisplay::shown() const
{
    QVariantList angles;
    if (m_link.selector()->protocol() == ProtocolSelector::V2) {
        const V2Status *status = m_link.status();
        angles = {status->pitch(), status->roll(), status->yaw()};
    } else {
        angles = m_ravik.gimbalImuAngle();
    }
    if (m_degrees) {
        for (QVariant &angle : angles)
            angle = angle.toDouble() * DegreesPerRadian;
    }
    return angles;
}

void AngleDisplay::setDegrees(bool degrees)
{
    if (degrees == m_degrees)
        return;
    m_degrees = degrees;
    if (m_store)
        m_store->setValue(UnitKey, degrees ? Degrees : QStringLiteral("radians"));
    emit degreesChanged();
    emit shownChanged();
}
