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

// `accessError` is the system's answer to whether this user may read and write the device (see
// deviceAccessError()): where it refuses, its reason decides; where it allows, a refusal by the
// port means that another program holds it.
OpenFailure classifyOpenFailure(QSerialPort::SerialPortError error, int accessError);

// Why this user may not read and write the device of `portName` (a name such as ttyUSB0, or a
// path), as the system's error number (ENOENT, EACCES, ENAMETOOLONG, ...), or 0 when they may.
// Asked with the rights that the open itself uses. Always 0 on Windows, where a refused COM port
// is one that another program holds.
int deviceAccessError(const QString &portName);

// The message for a port that did not open, with the port's own error and text: the system's
// reason where it has one, the port's otherwise.
QString explainOpenFailure(const QString &port, QSerialPort::SerialPortError error,
                           const QString &portErrorText);

// The one-line message for the message area, in the language of the installed catalogue.
// `detail` is the system's own words for the failure.
QString openFailureMessage(OpenFailure why, const QString &port, const QString &detail);
