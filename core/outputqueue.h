// The system's own output queue of an open port: bytes that the port has taken but not sent yet.
// A device that stops reading leaves them there, where the port's write buffer does not see them.
#pragma once

#include <QtGlobal>

// What QSerialPort::handle() gives on each system.
#ifdef Q_OS_WIN
using PortHandle = void *;
#else
using PortHandle = int;
#endif

// The number of bytes waiting, or 0 where the system cannot tell (pseudo-terminals).
qint64 systemOutputQueue(PortHandle handle);
// Drops every byte waiting there.
void discardSystemOutput(PortHandle handle);
