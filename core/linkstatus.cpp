#include "linkstatus.h"

#include <gimbal_v2.h>
#include <linkclock.h>
#include <messages.h>

#include <algorithm>

namespace {
constexpr int TickMs = 1000;
constexpr double SecondUs = 1e6;
// A gimbal that talks sends at least its heartbeat once a second; two whole seconds without a
// frame are silence, one might be a heartbeat that came a moment late.
constexpr int SecondsForSilence = 2;
constexpr int TicksBeforeHint = 2;
// Sequence gaps are tracked for this many senders; a link has one or two, and a frame that noise
// happened to form with a matching checksum must not grow the table without bound.
constexpr std::size_t MaxSenders = 16;
// A number up to this far behind the last one is a frame sent twice or overtaken; further back it
// is taken for a gap that wrapped round the 256 numbers.
constexpr int StepBackWindow = 128;
// A frame up to this far behind the newest one is still recognised as one counted lost that
// came late.
constexpr int LateWindow = 64;
} // namespace

LinkStatus::LinkStatus(const LinkClock &clock, QObject *parent) : QObject(parent), m_clock(clock)
{
    m_tick.setInterval(TickMs);
    connect(&m_tick, &QTimer::timeout, this, &LinkStatus::tick);
    m_senders.reserve(MaxSenders);
}

void LinkStatus::portOpened(const QString &name)
{
    m_ticks = 0;
    m_quietUs = 0;
    m_anyFrame = false;
    m_framesThisTick = 0;
    m_reportsThisTick = 0;
    m_heartbeats = 0;
    m_heartbeatSystem = 0;
    m_heartbeatComponent = 0;
    m_systemStatus = -1;
    m_bad = 0;
    m_lost = 0;
    m_duplicates = 0;
    m_stalls = 0;
    m_senders.clear();
    m_peer.clear();
    m_ignored = 0;
    m_silentSeconds = 0;
    m_noFrameHint = false;
    m_reportsPerSecond = 0;
    m_tickUs = m_clock.nowUs();
    enter(Listening, name);
}

void LinkStatus::setLink(LinkAddress::Kind kind, const QString &endpoint)
{
    m_linkKind = kind;
    m_endpoint = endpoint;
    m_peer.clear();
}

void LinkStatus::countIgnored(std::uint8_t sysid, std::uint8_t compid)
{
    ++m_ignored;
    m_ignoredSystem = sysid;
    m_ignoredComponent = compid;
}

void LinkStatus::portClosed()
{
    enter(Closed, m_portName);
}

void LinkStatus::waitingFor(const QString &name)
{
    enter(Waiting, name);
}

void LinkStatus::enter(State state, const QString &name)
{
    m_state = state;
    m_portName = name;
    // Only an open port has traffic to follow; the other states stand until the next change.
    if (state == Listening)
        m_tick.start();
    else if (state == Closed || state == Waiting)
        m_tick.stop();
    emit changed();
}

void LinkStatus::countFrame(std::uint8_t sysid, std::uint8_t compid, std::uint8_t seq,
                            std::uint32_t msgid)
{
    ++m_framesThisTick;
    // A v2 gimbal's attitude status is its report.
    if (msgid == MAVLINK_MSG_ID_GIMBAL_REPORT ||
        msgid == MAVLINK_MSG_ID_GIMBAL_DEVICE_ATTITUDE_STATUS)
        ++m_reportsThisTick;

    if (Sender *sender = findSender(sysid, compid))
        countSequence(*sender, seq);
    else if (m_senders.size() < MaxSenders)
        m_senders.push_back({static_cast<std::uint16_t>(sysid << 8 | compid), seq, false, 0, 0, 0});
}

LinkStatus::Sender *LinkStatus::findSender(std::uint8_t sysid, std::uint8_t compid)
{
    const auto id = static_cast<std::uint16_t>(sysid << 8 | compid);
    const auto sender = std::find_if(m_senders.begin(), m_senders.end(),
                                     [id](const Sender &s) { return s.id == id; });
    return sender != m_senders.end() ? &*sender : nullptr;
}

void LinkStatus::countSequence(Sender &sender, std::uint8_t seq)
{
    // The sequence wraps at 256; `ahead` is how far this number is past the last one.
    const int ahead = static_cast<std::uint8_t>(seq - sender.lastSeq);
    if (ahead > 0 && ahead < 256 - StepBackWindow) {
        // The frames between the last one and this one have not come: lost, unless they come late.
        m_lost += ahead - 1;
        const std::uint64_t skipped =
            ahead >= LateWindow ? ~std::uint64_t{1} : (std::uint64_t{1} << ahead) - 2;
        sender.missing = (ahead >= LateWindow ? 0 : sender.missing << ahead) | skipped;
        sender.lastSeq = seq;
        sender.steppedBack = false;
        return;
    }
    const int behind = static_cast<std::uint8_t>(sender.lastSeq - seq);
    if (behind > 0 && behind < LateWindow && (sender.missing >> behind & 1)) {
        // Overtaken on the way: it was counted lost, and came after all.
        sender.missing &= ~(std::uint64_t{1} << behind);
        --m_lost;
        ++m_duplicates;
    } else if (sender.steppedBack && seq == static_cast<std::uint8_t>(sender.backSeq + 1)) {
        // The sequence goes on from where it stepped back: the sender started counting afresh
        // (it restarted), and the frame before this one was its first, not a repeat.
        --m_duplicates;
        sender.lastSeq = seq;
        sender.steppedBack = false;
        sender.missing = 0;
    } else {
        ++m_duplicates;
        sender.steppedBack = true;
        sender.backSeq = seq;
    }
}

void LinkStatus::countHeartbeat(std::uint8_t sysid, std::uint8_t compid, std::uint8_t systemStatus)
{
    // The frame has been counted already, so its sender is in the table unless that is full.
    Sender *sender = findSender(sysid, compid);
    if (!sender)
        return;
    m_heartbeats = ++sender->heartbeats;
    m_heartbeatSystem = sysid;
    m_heartbeatComponent = compid;
    m_systemStatus = systemStatus;
}

// A tick over which the link's time stood still (a paused replay) leaves everything as it was.
void LinkStatus::tick()
{
    const qint64 now = m_clock.nowUs();
    const qint64 elapsed = now - m_tickUs;
    if (elapsed <= 0) {
        emit changed();
        return;
    }
    m_tickUs = now;
    ++m_ticks;
    m_reportsPerSecond = qRound(m_reportsThisTick * SecondUs / static_cast<double>(elapsed));
    if (m_framesThisTick > 0) {
        m_anyFrame = true;
        m_quietUs = 0;
    } else if (m_anyFrame) {
        m_quietUs += elapsed;
    }
    m_framesThisTick = 0;
    m_reportsThisTick = 0;

    m_noFrameHint = !m_anyFrame && m_ticks >= TicksBeforeHint;
    // Rounded: a timer's tick comes a little early or late.
    m_silentSeconds = qRound(static_cast<double>(m_quietUs) / SecondUs);
    if (!m_anyFrame)
        m_state = Listening;
    else
        m_state = m_silentSeconds >= SecondsForSilence ? Silent : Talking;
    emit changed();
}
