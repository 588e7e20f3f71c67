// The gate between the main window's keyboard and the gimbal: the steering scope, a focus scope
// around the window's parts, hands it the key events that no control in focus took, and the
// arrows and A/D among them steer only while the window is active, no popup or list is open and
// the item in focus is not one that uses such keys itself (a text field, a combo box, a slider,
// a spin box, a list). A move of the focus, an open popup or the window going to the background
// lets go of every held key, so the next command is at rest.
#pragma once

#include "inputcontrol.h"

#include <QObject>
#include <QPointer>
#include <QQuickItem>

class QQuickWindow;

class SteeringKeys : public QObject
{
    Q_OBJECT
    // The focus scope whose key handlers call press() and release().
    Q_PROPERTY(QQuickItem *scope READ scope WRITE setScope NOTIFY scopeChanged)
    // The window's popup layer (Overlay.overlay), shown while any popup is open.
    Q_PROPERTY(QQuickItem *overlay READ overlay WRITE setOverlay NOTIFY overlayChanged)
    Q_PROPERTY(InputControl *input READ input WRITE setInput NOTIFY inputChanged)

public:
    explicit SteeringKeys(QObject *parent = nullptr);

    QQuickItem *scope() const { return m_scope; }
    QQuickItem *overlay() const { return m_overlay; }
    InputControl *input() const { return m_input; }
    void setScope(QQuickItem *scope);
    void setOverlay(QQuickItem *overlay);
    void setInput(InputControl *input);

    // A key press that reached the scope: true when it is a rate key taken for steering.
    // Auto-repeats change nothing, so that a key let go by a focus move stays let go.
    Q_INVOKABLE bool press(int key, int modifiers, bool autoRepeat);
    // A release always counts, wherever the keyboard is now.
    Q_INVOKABLE bool release(int key, bool autoRepeat);

    // Whether the scope's keys steer at this moment.
    bool steering() const;

signals:
    void scopeChanged();
    void overlayChanged();
    void inputChanged();

private:
    void watchWindow(QQuickWindow *window);
    void focusMoved();
    void letGo();

    QPointer<QQuickItem> m_scope;
    QPointer<QQuickItem> m_overlay;
    QPointer<InputControl> m_input;
    QPointer<QQuickWindow> m_window;
    QMetaObject::Connection m_overlayShown;
    QList<QMetaObject::Connection> m_windowWatch;
};

// Makes the gate and the input it feeds known to QML as Gimbal.Input 1.0, for the main window.
void registerSteeringKeys();
