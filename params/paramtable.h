// The parameters of the component shown in the Parameters view, as a list model for its table:
// each parameter's name, the value the device holds, its type, and the mark of what the user
// did with it: a value typed and not written yet, a write under way, confirmed, refused by the
// device (the row keeps the device's value) or never confirmed. Rows can be narrowed to the
// names that contain a search text. A typed value is checked against the parameter's type and
// the component's encoding before it is kept; one that does not fit is refused with the reason.
#pragma once

#include "paramencoding.h"
#include "paramvalue.h"
#include "paramwriter.h"

#include <QAbstractListModel>
#include <QHash>
#include <QVector>

class ParamTable : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QString filter READ filter WRITE setFilter NOTIFY filterChanged)
    // Values typed and not written yet.
    Q_PROPERTY(int editCount READ editCount NOTIFY editsChanged)

public:
    enum Role { NameRole = Qt::UserRole + 1, ValueRole, TypeRole, EditRole, MarkRole };
    // What a row's mark says.
    enum Mark { NoMark, Edited, Writing, Written, Refused, Unconfirmed };
    Q_ENUM(Mark)

    explicit ParamTable(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    QString filter() const { return m_filter; }
    void setFilter(const QString &filter);
    int editCount() const { return m_edits.size(); }

    // The values the component holds and the outcomes of its last write, if any. The typed
    // values stay as long as the names do.
    void show(const QVector<ParamValue> &values, ParamEncoding encoding, const ParamWriter *writer);
    void clear();

    // Keeps `text` as the value to write to the parameter of `row`: returns why not when it does
    // not fit, empty when kept. Typing the device's own value takes the edit back.
    Q_INVOKABLE QString edit(int row, const QString &text);
    // The typed values, in table order, and their end once they are handed to a write.
    QVector<ParamValue> edits() const;
    void clearEdits();

signals:
    void filterChanged();
    void editsChanged();

private:
    void select();

    QVector<ParamValue> m_values;
    ParamEncoding m_encoding = ParamEncoding::Bytewise;
    QHash<QString, ParamValue> m_edits;
    QHash<QString, Mark> m_marks;
    QString m_filter;
    // The indices into m_values of the rows shown.
    QVector<int> m_rows;
};
