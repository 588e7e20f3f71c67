#include "handwrittensettings.h"

#include <QFile>

HandWrittenSettings::HandWrittenSettings(const QByteArray &text)
{
    const QString path = m_folder.filePath(QStringLiteral("Gimbal.conf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text + '\n') != text.size() + 1)
        return;
    file.close();
    m_store = std::make_unique<QSettings>(path, QSettings::IniFormat);
}
