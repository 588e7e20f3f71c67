#include "qmltypes.h"

#include "linkstatus.h"
#include "managercontrol.h"
#include "plotitem.h"
#include "steeringkeys.h"

#include <linkaddress.h>

#include <QQmlEngine>

void registerQmlTypes()
{
    qmlRegisterType<PlotItem>("Gimbal.Plot", 1, 0, "PlotItem");
    qmlRegisterUncreatableType<LinkStatus>("Gimbal.Link", 1, 0, "LinkStatus",
                                           QStringLiteral("the controller's link status"));
    qmlRegisterUncreatableMetaObject(LinkAddress::staticMetaObject, "Gimbal.Link", 1, 0,
                                     "LinkAddress", QStringLiteral("the kinds of link"));
    qmlRegisterUncreatableType<V2Devices>("Gimbal.V2", 1, 0, "V2Devices",
                                          QStringLiteral("the v2 link's gimbals"));
    qmlRegisterUncreatableType<ManagerControl>("Gimbal.V2", 1, 0, "ManagerControl",
                                               QStringLiteral("the v2 link's manager control"));
    registerSteeringKeys();
}
