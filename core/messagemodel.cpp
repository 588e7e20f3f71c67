#include "messagemodel.h"

#include <QTime>

MessageModel::MessageModel(QObject *parent) : QAbstractListModel(parent)
{
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(1000);
    connect(&m_refresh, &QTimer::timeout, this, &MessageModel::showRepeats);
}

int MessageModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_lines.size();
}

QVariant MessageModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Line &line = m_lines.at(index.row());
    const int repeats = line.repeats - (index.row() == m_lines.size() - 1 ? m_unshown : 0);
    switch (role) {
    case Qt::DisplayRole:
    case LineRole:
        return line.stamp + QLatin1String("  ") + line.text +
               (repeats > 1 ? QStringLiteral(" (×%1)").arg(repeats) : QString());
    case TextRole:
        return line.text;
    case RepeatsRole:
        return repeats;
    default:
        return {};
    }
}

QHash<int, QByteArray> MessageModel::roleNames() const
{
    return {{LineRole, "line"}, {TextRole, "text"}, {RepeatsRole, "repeats"}};
}

void MessageModel::add(const QString &text)
{
    if (!m_lines.isEmpty() && m_lines.last().text == text) {
        ++m_lines.last().repeats;
        ++m_unshown;
        if (!m_refresh.isActive())
            m_refresh.start();
        return;
    }
    showRepeats();
    if (m_lines.size() == MaximumLines) {
        beginRemoveRows(QModelIndex(), 0, 0);
        m_lines.removeFirst();
        endRemoveRows();
    }
    beginInsertRows(QModelIndex(), m_lines.size(), m_lines.size());
    m_lines.append({QTime::currentTime().toString(QStringLiteral("hh:mm:ss")), text, 1});
    endInsertRows();
}

void MessageModel::showRepeats()
{
    m_refresh.stop();
    if (m_unshown == 0)
        return;
    m_unshown = 0;
    const QModelIndex last = index(m_lines.size() - 1);
    emit dataChanged(last, last, {Qt::DisplayRole, LineRole, RepeatsRole});
}

void MessageModel::clear()
{
    m_refresh.stop();
    m_unshown = 0;
    beginResetModel();
    m_lines.clear();
    endResetModel();
}

void MessageModel::remove(const QString &text)
{
    for (int row = m_lines.size() - 1; row >= 0; --row) {
        if (m_lines.at(row).text != text)
            continue;
        // The repeats not yet shown are the last line's.
        if (row == m_lines.size() - 1) {
            m_refresh.stop();
            m_unshown = 0;
        }
        beginRemoveRows(QModelIndex(), row, row);
        m_lines.removeAt(row);
        endRemoveRows();
    }
}
