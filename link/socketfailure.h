// Why a network link did not open or went away, in words the user can act on, in the language of
// the installed catalogue.
#pragma once

#include "linkaddress.h"

#include <QAbstractSocket>
#include <QString>

QString explainSocketFailure(const LinkAddress &address, QAbstractSocket::SocketError error,
                             const QString &systemText);
