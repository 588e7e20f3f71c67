#include "settingsstore.h"

#include <QFileInfo>

SettingsStore::SettingsStore(QObject *parent) : QSettings(parent) {}

bool SettingsStore::event(QEvent *event)
{
    const bool handled = QSettings::event(event);
    if (!m_told && status() == QSettings::AccessError) {
        m_told = true;
        emit message(tr("无法写入配置文件夹 %1：设置不会被保存。")
                         .arg(QFileInfo(fileName()).absolutePath()));
    }
    return handled;
}
