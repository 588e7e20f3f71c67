#include "portchoice.h"

PortChoice::PortChoice(const QString &startPort, QObject *parent)
    : QObject(parent), m_port(startPort)
{
}

void PortChoice::choose(const QString &port)
{
    if (port != m_port) {
        m_port = port;
        emit portChanged();
    }
    emit chosen();
}

void PortChoice::requestShow()
{
    QMetaObject::invokeMethod(
        this, [this] { emit showRequested(); }, Qt::QueuedConnection);
}
