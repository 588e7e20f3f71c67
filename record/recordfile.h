// Opening a recording's file. A recording named for the time never replaces a file that is there
// already: two started in the same second get the names gimbal-20261207-193512.csv and
// gimbal-20261207-193512-2.csv (gimbal-20261207-193512.tlog and so on for a telemetry log), and
// the file is created only when no other has its name. When a
// file cannot be opened, `error` says why in the system's words ("Permission denied", "Read-only
// file system"), for the folder too when that cannot be made.
#pragma once

#include <QString>

#include <memory>

class QDateTime;
class QFile;

namespace recordfile {
// A new file in `folder` (made when it is not there yet), named for `time`, with the file name
// extension `extension` ("csv", "tlog"); nullptr on failure.
std::unique_ptr<QFile> createNamedFor(const QString &folder, const QDateTime &time,
                                      const QString &extension, QString &error);
// The file at `path`, replaced when it is there; nullptr on failure.
std::unique_ptr<QFile> replace(const QString &path, QString &error);
} // namespace recordfile
