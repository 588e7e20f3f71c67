// The messages for the user, one time-stamped line each, newest last. A message that repeats the
// one before is counted on that line instead of added again, and as a message can come with every
// 20 ms command, the line's count is shown at most once a second. The newest 500 lines are kept.
#pragma once

#include <QAbstractListModel>
#include <QTimer>
#include <QVector>

class MessageModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        // "hh:mm:ss  text (×count)", the line as the message area shows it.
        LineRole = Qt::UserRole + 1,
        TextRole,
        RepeatsRole,
    };

    static constexpr int MaximumLines = 500;

    explicit MessageModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE void add(const QString &text);
    // Shows the last line's count now rather than at the next refresh.
    void showRepeats();
    Q_INVOKABLE void clear();
    // Takes every line of `text` out, with its count.
    void remove(const QString &text);

private:
    struct Line
    {
        QString stamp;
        QString text;
        int repeats;
    };

    QVector<Line> m_lines;
    // Repeats of the last line not yet shown.
    int m_unshown = 0;
    QTimer m_refresh;
};
