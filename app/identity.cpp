#include "identity.h"

#include <QGuiApplication>

void setApplicationIdentity()
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
#if QT_VERSION >= QT_VERSION_CHECK(5, 14, 0)
    // The window scales by the system's factor as it is: Qt 5 rounds 125 % down to 100 % (tiny)
    // and 150 % up to 200 % (a window taller than a laptop's screen).
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
#endif
    QCoreApplication::setOrganizationName(QStringLiteral("Lunok"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("lunok.example.org"));
    QCoreApplication::setApplicationName(QStringLiteral("Gimbal"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GIMBAL_VERSION));
}
