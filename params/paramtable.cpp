#include "paramtable.h"

#include "paramdiff.h"

namespace {
ParamTable::Mark markOf(ParamWriter::Outcome outcome)
{
    switch (outcome) {
    case ParamWriter::Outcome::Queued:
    case ParamWriter::Outcome::Sent:
        return ParamTable::Writing;
    case ParamWriter::Outcome::Confirmed:
        return ParamTable::Written;
    case ParamWriter::Outcome::Refused:
        return ParamTable::Refused;
    case ParamWriter::Outcome::Unconfirmed:
        break;
    }
    return ParamTable::Unconfirmed;
}
} // namespace

ParamTable::ParamTable(QObject *parent) : QAbstractListModel(parent) {}

int ParamTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant ParamTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const ParamValue &value = m_values[m_rows[index.row()]];
    switch (role) {
    case NameRole:
        return value.name();
    case ValueRole:
        return value.text();
    case TypeRole:
        return ParamValue::typeName(value.type());
    case EditRole: {
        const auto edit = m_edits.constFind(value.name());
        return edit == m_edits.constEnd() ? QString() : edit->text();
    }
    case MarkRole:
        return m_edits.contains(value.name()) ? Edited : m_marks.value(value.name(), NoMark);
    default:
        return {};
    }
}

QHash<int, QByteArray> ParamTable::roleNames() const
{
    return {{NameRole, "name"},
            {ValueRole, "value"},
            {TypeRole, "type"},
            {EditRole, "edit"},
            {MarkRole, "mark"}};
}

void ParamTable::setFilter(const QString &filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    beginResetModel();
    select();
    endResetModel();
    emit filterChanged();
}

void ParamTable::show(const QVector<ParamValue> &values, ParamEncoding encoding,
                      const ParamWriter *writer)
{
    m_marks.clear();
    if (writer) {
        for (const ParamWriter::Item &item : writer->items())
            m_marks.insert(item.wanted.name(), markOf(item.outcome));
    }
    m_encoding = encoding;
    // The same parameters with other values or marks: the rows stay, and a value being typed in
    // one keeps its place.
    const bool sameNames =
        values.size() == m_values.size() &&
        std::equal(values.cbegin(), values.cend(), m_values.cbegin(),
                   [](const ParamValue &a, const ParamValue &b) { return a.name() == b.name(); });
    if (sameNames) {
        m_values = values;
        if (!m_rows.isEmpty())
            emit dataChanged(index(0), index(m_rows.size() - 1));
        return;
    }
    beginResetModel();
    m_values = values;
    QHash<QString, ParamValue> kept;
    for (const ParamValue &value : values) {
        if (m_edits.contains(value.name()))
            kept.insert(value.name(), m_edits.value(value.name()));
    }
    m_edits.swap(kept);
    select();
    endResetModel();
    emit editsChanged();
}

void ParamTable::clear()
{
    beginResetModel();
    m_values.clear();
    m_edits.clear();
    m_marks.clear();
    m_rows.clear();
    endResetModel();
    emit editsChanged();
}

QString ParamTable::edit(int row, const QString &text)
{
    if (row < 0 || row >= m_rows.size())
        return {};
    const ParamValue &held = m_values[m_rows[row]];
    // A typed value is a one-line file read against the device's parameter: the same checks,
    // the same reasons.
    const ParamComparison comparison = compareParams(
        {held}, {ParamFileEntry{held.name(), text.trimmed(), held.type(), 0}}, m_encoding);
    if (!comparison.misfits.isEmpty())
        return comparison.misfits.first().why;
    if (comparison.changes.isEmpty())
        m_edits.remove(held.name());
    else
        m_edits.insert(held.name(), comparison.changes.first().file);
    emit dataChanged(index(row), index(row));
    emit editsChanged();
    return {};
}

QVector<ParamValue> ParamTable::edits() const
{
    QVector<ParamValue> edits;
    for (const ParamValue &value : m_values) {
        const auto edit = m_edits.constFind(value.name());
        if (edit != m_edits.constEnd())
            edits.append(*edit);
    }
    return edits;
}

void ParamTable::clearEdits()
{
    if (m_edits.isEmpty())
        return;
    m_edits.clear();
    if (!m_rows.isEmpty())
        emit dataChanged(index(0), index(m_rows.size() - 1));
    emit editsChanged();
}

void ParamTable::select()
{
    m_rows.clear();
    for (int i = 0; i < m_values.size(); ++i) {
        if (m_values[i].name().contains(m_filter, Qt::CaseInsensitive))
            m_rows.append(i);
    }
}
