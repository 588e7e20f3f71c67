// Parameter files: written tab-separated, one parameter a line under the header
// "# Vehicle-Id<TAB>Component-Id<TAB>Name<TAB>Value<TAB>Type"; read in that format or as
// "name,value" lines. Reading is strict: every line that is not a comment and does not hold one
// well-formed parameter is reported with its number, never passed over.
#pragma once

#include "paramvalue.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>

struct ParamFileEntry
{
    QString name;
    // As the file spells it; a number of `type` (a finite number where the file has no types).
    QString value;
    // MAV_PARAM_TYPE; 0 in a "name,value" file, which has no types.
    std::uint8_t type = 0;
    int line = 0;
};

struct ParamFileContents
{
    // In file order, each name once.
    QVector<ParamFileEntry> entries;
    // One text a line that was not read ("Line 7: ..."), or why the file could not be read.
    QStringList problems;
};

// The tab-separated file of `values` of the component `systemId`/`componentId`, in their order.
QByteArray paramFileText(const QVector<ParamValue> &values, int systemId, int componentId);
// Either format; CR LF line ends, a byte order mark and blank lines are all right. The format is
// the one of the first parameter line. All lines of a tab-separated file belong to one component.
ParamFileContents readParamFile(const QByteArray &bytes);

// The same, with the file at `path`. save returns the error for the user, empty on success; the
// file is replaced whole or not at all.
QString saveParamFile(const QString &path, const QVector<ParamValue> &values, int systemId,
                      int componentId);
ParamFileContents loadParamFile(const QString &path);
