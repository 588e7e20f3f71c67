#include "linksettings.h"

#include "baudrate.h"

#include <checkedvalue.h>

#include <QSettings>

namespace {
const QString PortKey = QStringLiteral("link/port");
const QString BaudKey = QStringLiteral("link/baud");
const QString LanguageKey = QStringLiteral("interface/language");
const QString ProtocolKey = QStringLiteral("link/protocol");
} // namespace

QString LinkSettings::port() const
{
    return m_store ? checkedText(m_store->value(PortKey)) : QString();
}

// A hand-edited file may hold anything; only what the command line takes counts.
QString LinkSettings::baud() const
{
    const std::optional<int> rate =
        m_store ? BaudRate::parse(checkedText(m_store->value(BaudKey))) : std::nullopt;
    return rate ? QString::number(*rate) : QString();
}

int LinkSettings::language() const
{
    const std::optional<double> language =
        m_store ? finiteNumber(m_store->value(LanguageKey)) : std::nullopt;
    // Only the two languages count.
    return language && (*language == 0 || *language == 1) ? static_cast<int>(*language) : -1;
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
