// The inputs beside the on-screen sticks, for QML and the controller: the keyboard (arrows and
// A/D, handed over by the main window's steering scope), a gamepad through SDL2, and the shaping
// and speed limit that the user sets. Just before each 20 ms command the controller announces, it
// joins the on-screen sticks, the keys and the pad by one rule (see combine()) and hands the rates
// to the controller, so whatever moves last goes out with the next command. The shaping is kept in
// the settings store. While a log is replayed, the inputs steer nothing and the knobs show the
// recorded commands instead.
#pragma once

#include "deflection.h"
#include "keyboardaxes.h"
#include "shaping.h"

#include <QObject>
#include <QString>

#include <memory>

class QSettings;
class Ravik;
class SdlPad;

class InputControl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double deadZone READ deadZone WRITE setDeadZone NOTIFY settingsChanged)
    Q_PROPERTY(double expo READ expo WRITE setExpo NOTIFY settingsChanged)
    Q_PROPERTY(double speedLimit READ speedLimit WRITE setSpeedLimit NOTIFY settingsChanged)
    Q_PROPERTY(bool invertX READ invertX WRITE setInvertX NOTIFY settingsChanged)
    Q_PROPERTY(bool invertY READ invertY WRITE setInvertY NOTIFY settingsChanged)
    Q_PROPERTY(bool invertZ READ invertZ WRITE setInvertZ NOTIFY settingsChanged)
    Q_PROPERTY(QString padName READ padName NOTIFY padChanged)
    // False once it is known that there can be no gamepad: SDL2 is missing or failed.
    Q_PROPERTY(bool padAvailable READ padAvailable NOTIFY padChanged)
    // Why not, in SDL's or the loader's words; empty where the SDL2 library is missing.
    Q_PROPERTY(QString padError READ padError NOTIFY padChanged)
    // What the last command carried, in stick units: the on-screen knobs show it.
    Q_PROPERTY(double sentX READ sentX NOTIFY sentChanged)
    Q_PROPERTY(double sentY READ sentY NOTIFY sentChanged)
    Q_PROPERTY(double sentZ READ sentZ NOTIFY sentChanged)

public:
    // `store` keeps the shaping between runs (nullptr: it is not kept).
    InputControl(Ravik &ravik, QSettings *store, QObject *parent = nullptr);
    ~InputControl() override;

    double deadZone() const { return m_shaping[0].deadZone; }
    double expo() const { return m_shaping[0].expo; }
    double speedLimit() const { return m_speedLimit; }
    bool invertX() const { return m_shaping[0].inverted; }
    bool invertY() const { return m_shaping[1].inverted; }
    bool invertZ() const { return m_shaping[2].inverted; }
    QString padName() const { return m_padName; }
    bool padAvailable() const { return m_padAvailable; }
    QString padError() const { return m_padError; }
    double sentX() const { return m_sent.x; }
    double sentY() const { return m_sent.y; }
    double sentZ() const { return m_sent.z; }

    void setDeadZone(double share);
    void setExpo(double expo);
    // 0.1 to 1 of the full rates, for every input.
    void setSpeedLimit(double share);
    void setInvertX(bool inverted) { setInverted(0, inverted); }
    void setInvertY(bool inverted) { setInverted(1, inverted); }
    void setInvertZ(bool inverted) { setInverted(2, inverted); }

    // An on-screen stick's report: 0 the left stick (its x is rate z), 1 the right (x and y).
    Q_INVOKABLE void setStick(int stick, double x, double y);

    // Whether `key` (a Qt::Key) is one of the rate keys.
    static bool isRateKey(int key);
    // A rate key pressed or let go; other keys are ignored. A press with Ctrl, Alt or Meta held
    // is a shortcut, not a rate.
    void pressKey(int key, Qt::KeyboardModifiers modifiers);
    void releaseKey(int key);
    // As when the keyboard moved on: no release will come for what is held.
    void releaseKeys() { m_keys.releaseAll(); }

signals:
    void settingsChanged();
    void padChanged();
    void sentChanged();

private:
    void startPad();
    void beforeCommand();
    void showSent(const Deflection &sent);
    void setInverted(int axis, bool inverted);
    void save();
    Deflection shaped(const Deflection &raw) const;

    Ravik &m_ravik;
    QSettings *m_store;
    // Made a second after start: SDL looks through the devices as it starts.
    std::unique_ptr<SdlPad> m_pad;
    KeyboardAxes m_keys;
    Deflection m_leftStick;
    Deflection m_rightStick;
    Shaping m_shaping[3];
    double m_speedLimit = 1.0;
    QString m_padName;
    bool m_padAvailable = true;
    QString m_padError;
    int m_ticksWithoutPad = 0;
    Deflection m_sent;
};
