#include "steeringkeys.h"

#include <QQmlEngine>
#include <QQuickWindow>

namespace {
// Items that use arrows or letters themselves: what they let pass (Up in a one-line text field,
// Left in a combo box, Down at the end of a list) is still theirs, not the gimbal's.
bool usesKeys(const QQuickItem *item)
{
    static const char *const keyUsers[] = {
        "QQuickTextInput",   "QQuickTextEdit", "QQuickComboBox", "QQuickSlider",
        "QQuickRangeSlider", "QQuickSpinBox",  "QQuickDial",     "QQuickTumbler",
        "QQuickFlickable",   "QQuickPathView", "QQuickPopupItem"};
    for (const char *type : keyUsers) {
        if (item->inherits(type))
            return true;
    }
    return false;
}
} // namespace

SteeringKeys::SteeringKeys(QObject *parent) : QObject(parent) {}

void SteeringKeys::setScope(QQuickItem *scope)
{
    if (scope == m_scope)
        return;
    if (m_scope)
        disconnect(m_scope, nullptr, this, nullptr);
    m_scope = scope;
    if (m_scope) {
        connect(m_scope, &QQuickItem::windowChanged, this, &SteeringKeys::watchWindow);
        watchWindow(m_scope->window());
    }
    emit scopeChanged();
}

void SteeringKeys::setOverlay(QQuickItem *overlay)
{
    if (overlay == m_overlay)
        return;
    disconnect(m_overlayShown);
    m_overlay = overlay;
    // A popup that opens without taking the focus still takes the keys.
    if (m_overlay)
        m_overlayShown =
            connect(m_overlay, &QQuickItem::visibleChanged, this, &SteeringKeys::letGo);
    emit overlayChanged();
}

void SteeringKeys::setInput(InputControl *input)
{
    if (input == m_input)
        return;
    letGo();
    m_input = input;
    emit inputChanged();
}

void SteeringKeys::watchWindow(QQuickWindow *window)
{
    if (window == m_window)
        return;
    for (const QMetaObject::Connection &connection : m_windowWatch)
        disconnect(connection);
    m_windowWatch.clear();
    letGo();
    m_window = window;
    if (!m_window)
        return;
    m_windowWatch = {
        connect(m_window, &QQuickWindow::activeFocusItemChanged, this, &SteeringKeys::focusMoved),
        connect(m_window, &QWindow::activeChanged, this, &SteeringKeys::letGo),
        connect(m_window, &QWindow::visibilityChanged, this, &SteeringKeys::letGo)};
}

void SteeringKeys::focusMoved()
{
    letGo();
    // A popup that had the focus hands it to the window's root item when it closes, where no key
    // would reach the scope; the scope takes it back, with whatever it had in focus before.
    if (m_scope && m_window && m_window->activeFocusItem() == m_window->contentItem())
        m_scope->forceActiveFocus();
}

void SteeringKeys::letGo()
{
    if (m_input)
        m_input->releaseKeys();
}

bool SteeringKeys::steering() const
{
    if (!m_scope || !m_window || !m_window->isActive() ||
        m_window->visibility() == QWindow::Minimized)
        return false;
    if (m_overlay && m_overlay->isVisible())
        return false;
    const QQuickItem *focus = m_window->activeFocusItem();
    for (const QQuickItem *item = focus; item != m_scope; item = item->parentItem()) {
        // Focus outside the scope (nothing, or the window's root item) steers nothing either.
        if (!item || usesKeys(item))
            return false;
    }
    return true;
}

bool SteeringKeys::press(int key, int modifiers, bool autoRepeat)
{
    if (!m_input || !InputControl::isRateKey(key) || !steering())
        return false;
    if (!autoRepeat)
        m_input->pressKey(key, Qt::KeyboardModifiers(modifiers));
    return true;
}

bool SteeringKeys::release(int key, bool autoRepeat)
{
    if (!m_input || !InputControl::isRateKey(key))
        return false;
    if (!autoRepeat)
        m_input->releaseKey(key);
    return steering();
}

void registerSteeringKeys()
{
    qmlRegisterUncreatableType<InputControl>("Gimbal.Input", 1, 0, "InputControl",
                                             QStringLiteral("published as inputControl"));
    qmlRegisterType<SteeringKeys>("Gimbal.Input", 1, 0, "SteeringKeys");
}
