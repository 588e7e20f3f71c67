// The link choices that outlive a run: the last port opened (a typed one too) with its baud rate,
// the gimbal protocol, and the language once the user has chosen one. Without a store nothing is
// remembered, as for the tests and the screenshot tool.
#pragma once

#include <QString>

class QSettings;

class LinkSettings
{
public:
    explicit LinkSettings(QSettings *store) : m_store(store) {}

    // Empty when nothing usable is remembered.
    QString port() const;
    QString baud() const;
    // The language index, or -1 when the user has never chosen one.
    int language() const;

    void rememberPort(const QString &port, int baud);
    void rememberLanguage(int language);

    // The gimbal protocol the user chose in the window ("auto", "report" or "v2"), or empty.
    QString protocol() const;
    void rememberProtocol(const QString &protocol);

private:
    QSettings *m_store;
};
