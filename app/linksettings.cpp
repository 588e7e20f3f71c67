#include "linksettings.h"

#include <QSettings>

namespace {
const QString PortKey = QStringLiteral("link/port");
const QString BaudKey = QStringLiteral("link/baud");
const QString LanguageKey = QStringLiteral("interface/language");
const QString ProtocolKey = QStringLiteral("link/protocol");
} // namespace

QString LinkSettings::port() const
{
    return m_store ? m_store->value(PortKey).toString() : QString();
}

QString LinkSettings::baud() const
{
    return m_store ? m_store->value(BaudKey).toString() : QString();
}

int LinkSettings::language() const
{
    if (!m_store)
        return -1;
    bool valid = false;
    const int language = m_store->value(LanguageKey).toInt(&valid);
    // A hand-edited file may hold anything; only the two languages count.
    return valid && (language == 0 || language == 1) ? language : -1;
}

void LinkSettings::rememberPort(const QString &port, int baud)
{
    if (!m_store)
        return;
    m_store->setValue(PortKey, port);
    m_store->setValue(BaudKey, QString::number(baud));
}

void LinkSettings::rememberLanguage(int language)
{
    if (m_store)
        m_store->setValue(LanguageKey, language);
}

QString LinkSettings::protocol() const
{
    return m_store ? m_store->value(ProtocolKey).toString() : QString();
}

void LinkSettings::rememberProtocol(const QString &protocol)
{
    if (m_store)
        m_store->setValue(ProtocolKey, protocol);
}
