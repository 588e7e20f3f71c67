#include "paramchanges.h"

ParamChanges::ParamChanges(QObject *parent) : QAbstractListModel(parent) {}

int ParamChanges::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_comparison.changes.size() + m_comparison.unknown.size() + m_comparison.misfits.size() +
           m_problems.size();
}

QVariant ParamChanges::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    int row = index.row();
    QString name, device, file, note;
    Kind kind = Change;
    if (row < m_comparison.changes.size()) {
        const ParamChange &change = m_comparison.changes[row];
        name = change.device.name();
        device = change.device.text();
        file = change.file.text();
    } else if ((row -= m_comparison.changes.size()) < m_comparison.unknown.size()) {
        kind = Unknown;
        name = m_comparison.unknown[row].name;
        file = m_comparison.unknown[row].value;
        note = tr("设备没有此参数");
    } else if ((row -= m_comparison.unknown.size()) < m_comparison.misfits.size()) {
        kind = Misfit;
        name = m_comparison.misfits[row].entry.name;
        file = m_comparison.misfits[row].entry.value;
        note = m_comparison.misfits[row].why;
    } else {
        kind = Problem;
        note = m_problems[row - m_comparison.misfits.size()];
    }
    switch (role) {
    case NameRole:
        return name;
    case DeviceRole:
        return device;
    case FileRole:
        return file;
    case KindRole:
        return kind;
    case NoteRole:
        return note;
    default:
        return {};
    }
}

QHash<int, QByteArray> ParamChanges::roleNames() const
{
    return {{NameRole, "name"},
            {DeviceRole, "device"},
            {FileRole, "file"},
            {KindRole, "kind"},
            {NoteRole, "note"}};
}

void ParamChanges::show(const ParamComparison &comparison, const QStringList &problems)
{
    beginResetModel();
    m_comparison = comparison;
    m_problems = problems;
    endResetModel();
}

void ParamChanges::clear()
{
    show({}, {});
}

QVector<ParamValue> ParamChanges::values() const
{
    QVector<ParamValue> values;
    for (const ParamChange &change : m_comparison.changes)
        values.append(change.file);
    return values;
}

QString ParamChanges::summary() const
{
    QStringList parts{tr("不同的值：%1").arg(m_comparison.changes.size())};
    if (!m_comparison.unknown.isEmpty())
        parts.append(tr("设备没有的名称：%1").arg(m_comparison.unknown.size()));
    if (!m_comparison.misfits.isEmpty())
        parts.append(tr("不合类型的值：%1").arg(m_comparison.misfits.size()));
    if (!m_problems.isEmpty())
        parts.append(tr("无法读取的行：%1").arg(m_problems.size()));
    return parts.join(tr("；"));
}
