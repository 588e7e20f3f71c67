// Between the controller's messages and the message list. While no link is open the controller
// reminds the user to open one on every 20 ms tick; passed on as it comes, the reminder would
// stand in the message area from start-up on, before the user asked for anything, its count
// climbing fifty a second. A user needs it when trying to steer without a link, once for each
// try: so it is let through on the first tick of each move of a control (an on-screen stick, a
// key, the gamepad: any rate that turns the gimbal) while no link is open, and not again while
// the control stays moved; a new move after letting go counts once more on its line. When a link
// opens the reminder has been answered, and its lines are withdrawn. Other messages pass as they
// come.
#pragma once

#include <QObject>
#include <QSet>
#include <QString>

class Ravik;

class NoticeFilter : public QObject
{
    Q_OBJECT

public:
    explicit NoticeFilter(const Ravik &ravik, QObject *parent = nullptr);

    void take(const QString &text);

signals:
    void passed(const QString &text);
    // Lines of `text` are to leave the message list.
    void withdrawn(const QString &text);

private:
    void linkChanged();

    const Ravik &m_ravik;
    // The reminder has been let through for the move under way.
    bool m_toldThisMove = false;
    // The reminder's texts let through since the last open link: one per language it came in.
    QSet<QString> m_shown;
};
