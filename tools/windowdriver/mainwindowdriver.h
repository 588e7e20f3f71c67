// Works the loaded main window the way a user does, through mouse and keyboard events: finds its
// elements by their QML ids, types a port into the port box, clicks the open/close button, drags
// a joystick knob. Shared by the main window's tests, the screenshot tool and the benchmark probe.
#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVariant>

class QObject;
class QQuickItem;
class QQuickWindow;

class MainWindowDriver
{
public:
    // `root` is the window that the engine created from the main file.
    explicit MainWindowDriver(QObject *root);

    QQuickWindow *window() const { return m_window; }
    // The element with QML id `id` in the main file, or nullptr.
    QObject *byId(const QString &id) const;
    QQuickItem *itemById(const QString &id) const { return item(byId(id)); }
    // The value of a QML expression in the main file's context, or the error's text.
    QVariant evaluate(const QString &expression) const;

    // The centre of `item` in window coordinates.
    static QPointF centreOf(const QQuickItem *item);
    void click(const QQuickItem *item);

    // Replaces the port box's text by `path` (Latin-1), typed key by key.
    void typePort(const QString &path);
    // The same for the baud box.
    void typeBaud(const QString &rate);
    // Types `path` into the port box and clicks the open/close button.
    void openPort(const QString &path);

    // The knob of the joystick with id `stickId`.
    QQuickItem *knobOf(const QString &stickId) const;
    // Presses the knob of the stick and moves the pointer by `offset`, without releasing.
    void holdStick(const QString &stickId, QPointF offset);
    // Lets go of the held knob; does nothing when none is held.
    void releaseStick();

    // The texts of the three value labels under Pitch, Roll and Yaw, left to right.
    QStringList angleTexts() const;
    // The text items of the angle group box, top to bottom and left to right.
    QList<QQuickItem *> angleLabels() const;
    // The item with this objectName anywhere in the window's item tree, or nullptr. Items that a
    // Repeater made have no object parent, and an open popup's items hang under the window's
    // overlay, which is in that tree too.
    QQuickItem *named(const QString &objectName) const;

private:
    static QQuickItem *item(QObject *object);
    void typeInto(const QString &boxId, const QString &text);

    QObject *m_root;
    QQuickWindow *m_window;
    QPointF m_pointer;
    bool m_holding = false;
};
