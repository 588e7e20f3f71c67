#include "noticefilter.h"

#include "ravik.h"

NoticeFilter::NoticeFilter(const Ravik &ravik, QObject *parent) : QObject(parent), m_ravik(ravik)
{
    connect(&ravik, &Ravik::serialIsOpenChanged, this, &NoticeFilter::linkChanged);
}

void NoticeFilter::take(const QString &text)
{
    if (text != Ravik::notOpenNotice()) {
        emit passed(text);
        return;
    }
    // The reminder comes with each tick's command, after the tick's rates were set.
    const bool moved = m_ravik.steering();
    if (moved && !m_toldThisMove) {
        m_shown.insert(text);
        emit passed(text);
    }
    m_toldThisMove = moved;
}

// Ticks bring no reminder while the link is open, so a move held across its closing is a new one.
void NoticeFilter::linkChanged()
{
    if (!m_ravik.serialIsOpen())
        return;
    m_toldThisMove = false;
    for (const QString &text : qAsConst(m_shown))
        emit withdrawn(text);
    m_shown.clear();
}
