// The three numbers under the captions Pitch, Roll and Yaw: the report gimbal's three joint angles
// as its reports carry them (roll, elevation, azimuth, in that order), or a v2 gimbal's pitch,
// roll and yaw from its attitude status; in radians, or in degrees where the user chose them.
// The choice is kept in the settings store.
#pragma once

#include <QObject>
#include <QVariantList>

class GimbalV2Link;
class QSettings;
class Ravik;

class AngleDisplay : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariantList shown READ shown NOTIFY shownChanged)
    Q_PROPERTY(bool degrees READ degrees WRITE setDegrees NOTIFY degreesChanged)

public:
    // `store` keeps the unit between runs (nullptr: it is not kept).
    AngleDisplay(const Ravik &ravik, GimbalV2Link &link, QSettings *store,
                 QObject *parent = nullptr);

    QVariantList shown() const;
    bool degrees() const { return m_degrees; }
    void setDegrees(bool degrees);

signals:
    void shownChanged();
    void degreesChanged();

private:
    const Ravik &m_ravik;
    GimbalV2Link &m_link;
    QSettings *m_store;
    bool m_degrees = false;
};
