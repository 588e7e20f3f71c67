// What loading a parameter file would do to the component shown, as a list model for the
// preview that comes before anything is written: each parameter whose value would change (the
// device's value and the file's), each name the device does not have, each value that does not
// fit its parameter, and each line of the file that could not be read.
#pragma once

#include "paramdiff.h"

#include <QAbstractListModel>
#include <QStringList>

class ParamChanges : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { NameRole = Qt::UserRole + 1, DeviceRole, FileRole, KindRole, NoteRole };
    enum Kind { Change, Unknown, Misfit, Problem };
    Q_ENUM(Kind)

    explicit ParamChanges(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The changes first, then the names the device lacks, the misfits and the file's problems.
    void show(const ParamComparison &comparison, const QStringList &problems);
    void clear();

    // The file's values of the changes, to write.
    QVector<ParamValue> values() const;
    const ParamComparison &comparison() const { return m_comparison; }
    const QStringList &problems() const { return m_problems; }
    // For the user: "3 changes; 1 name the device does not have; ...", in the installed language.
    QString summary() const;

private:
    ParamComparison m_comparison;
    QStringList m_problems;
};
