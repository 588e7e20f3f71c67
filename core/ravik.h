// The gimbal link controller that the QML interface drives: the port list and open state, the
// gimbal's three angles from its reports, and the 20 ms rate-command stream.
#pragma once

#include <QObject>
#include <QSerialPort>
#include <QStringList>
#include <QVariantList>

class QTimer;
class Serial;
class SerialEvent;

class Ravik : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList serialPort READ serialPort NOTIFY serialPortChanged)
    Q_PROPERTY(bool serialIsOpen READ serialIsOpen NOTIFY serialIsOpenChanged)
    Q_PROPERTY(int languageIndex READ languageIndex NOTIFY languageIndexChanged)
    Q_PROPERTY(QVariantList gimbalImuAngle READ gimbalImuAngle NOTIFY gimbalImuAngleChanged)

public:
    explicit Ravik(QObject *parent = nullptr);
    ~Ravik() override;

    QStringList serialPort() const;
    bool serialIsOpen() const { return m_serialIsOpen; }
    int languageIndex() const { return m_languageIndex; }
    QVariantList gimbalImuAngle() const { return m_gimbalImuAngle; }

    // The wrapper lives as long as the application object (QML holds it as mySerial); the
    // watcher is the controller's and goes with it.
    Serial *wrapper() const { return serial; }
    SerialEvent *watcher() const { return serialEvent; }

signals:
    void languageIndexChanged();
    void serialPortChanged();
    void serialIsOpenChanged();
    void addMessage(QString msg);
    void gimbalImuAngleChanged();

public slots:
    void onTimerTimeout();

public:
    Q_INVOKABLE void switchSerial(QString serial_name, QString serial_boud);
    Q_INVOKABLE void setLanguage(int indexOfLanguage);
    Q_INVOKABLE void gimbalControl(float demanded_rate_x, float demanded_rate_y,
                                   float demanded_rate_z);
    Q_INVOKABLE void setJoystick(float demanded_rate_x, float demanded_rate_y,
                                 float demanded_rate_z);

private:
    void onSerialData();
    void onDeviceArrived();
    void onDeviceRemoved(const QString &devName);
    void onSerialError(QSerialPort::SerialPortError error);
    QString message(const QString &english, const QString &chinese) const;

    QVariantList m_gimbalImuAngle{0, 0, 0};
    SerialEvent *serialEvent = nullptr;
    Serial *serial = nullptr;
    QStringList m_serialPort;
    bool m_serialIsOpen = false;
    int m_languageIndex = 0;
    QString currentPortName;
    QTimer *sendTimer = nullptr;
    float demandedRateX = 0.0f;
    float demandedRateY = 0.0f;
    float demandedRateZ = 0.0f;
};
