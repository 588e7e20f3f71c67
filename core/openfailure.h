// Why a port did not open, in terms that the user can act on, and the message that says so.
#pragma once

#include <QSerialPort>
#include <QString>

enum class OpenFailure {
    NotFound,
    // Another program holds the port.
    Busy,
    // This user may not use the device at all (on Linux: not in the dialout group).
    PermissionDenied,
    Other,
};

// `userMayAccess` tells whether this user may read and write the device: a refusal although
// they may means that another program holds it.
OpenFailure classifyOpenFailure(QSerialPort::SerialPortError error, bool userMayAccess);

// Whether this user may read and write the device of `portName` (a name such as ttyUSB0, or a
// path). Always true on Windows, where a refused COM port is one that another program holds.
bool userMayAccess(const QString &portName);

// The one-line message for the message area, in the language of the installed catalogue.
// `detail` is the system's own words for the failure.
QString openFailureMessage(OpenFailure why, const QString &port, const QString &detail);
