#include "identity.h"

#include <QCoreApplication>

void setApplicationIdentity()
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QCoreApplication::setOrganizationName(QStringLiteral("Lunok"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("lunok.example.org"));
    QCoreApplication::setApplicationName(QStringLiteral("Gimbal"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GIMBAL_VERSION));
}
