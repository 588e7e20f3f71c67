// What loading a parameter file would change on a device: the parameters whose value differs,
// the names the device does not have, and the values that its parameters cannot take.
#pragma once

#include "paramfile.h"
#include "paramvalue.h"

#include <QVector>

struct ParamChange
{
    ParamValue device;
    // The file's value as the device's type holds it, under the device's name.
    ParamValue file;
};

struct ParamMisfit
{
    ParamFileEntry entry;
    // For the user: why the device's parameter cannot take the value.
    QString why;
};

struct ParamComparison
{
    // All three in file order.
    QVector<ParamChange> changes;
    QVector<ParamFileEntry> unknown;
    QVector<ParamMisfit> misfits;
};

// Compares `file` with the parameters the device holds. A file value is read as the device's
// parameter type (whatever type the file names) and is a change only when it is another number:
// "0.1" against the float 0.1 is none. A value that does not fit the type, or that the float field
// cannot carry exactly in the device's `encoding`, is a misfit.
ParamComparison compareParams(const QVector<ParamValue> &device,
                              const QVector<ParamFileEntry> &file, ParamEncoding encoding);
