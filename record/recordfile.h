// Opening a recording's files. A recording named for the time never replaces a file that is there
// already: two started in the same second get the names gimbal-20261207-193512.csv and
// gimbal-20261207-193512-2.csv (gimbal-20261207-193512.tlog and so on for a telemetry log, the
// same name for both files of one recording), and a file is created only when no other has its
// name. When a file cannot be opened, `error` says why in the system's words ("Permission
// denied", "Read-only file system"), for the folder too when that cannot be made.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QDateTime;
class QFile;

namespace recordfile {
// New files in `folder` (made when it is not there yet), named for `time`, one with each file name
// extension of `extensions` (one or more: "csv", "tlog"), in that order; none on failure.
std::vector<std::unique_ptr<QFile>> createNamedFor(const QString &folder, const QDateTime &time,
                                                   const QStringList &extensions, QString &error);
// The file at `path`, replaced when it is there; nullptr on failure.
std::unique_ptr<QFile> replace(const QString &path, QString &error);
} // namespace recordfile
