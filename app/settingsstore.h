// The settings file in Qt's standard place for the organisation and application
// (~/.config/Lunok/Gimbal.conf on Linux, the registry on Windows). Qt writes it out a moment after
// each change; where that cannot be done, the store says so once, not at every save.
#pragma once

#include <QSettings>

class SettingsStore : public QSettings
{
    Q_OBJECT

public:
    explicit SettingsStore(QObject *parent = nullptr);

signals:
    // A message for the message area, in the language of the installed catalogue.
    void message(const QString &text);

protected:
    // Qt writes pending changes out as it handles an event of its own; the outcome is known
    // right after.
    bool event(QEvent *event) override;

private:
    bool m_told = false;
};
