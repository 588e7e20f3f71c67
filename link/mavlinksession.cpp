#include "mavlinksession.h"

#include "frameparser.h"
#include "mavsender.h"

#include <encoder.h>

#include <QMetaMethod>

#include <algorithm>
#include <chrono>

namespace {
constexpr int TickMs = 20;
// Of a line with a rate, the tool's traffic takes at most half, so that the far end never
// falls behind and nothing piles up in the port.
constexpr int LineSharePercent = 50;
// A network link has no line rate; this much a tick is far more than any helper needs.
constexpr int NetworkTickBytes = 4096;
// Unused budget carries over this many ticks, so that a frame larger than one tick's share of a
// slow line still goes out.
constexpr int CarriedTicks = 4;
// Beyond this many senders on one link the rest is noise or an attack, and is dropped.
constexpr std::size_t MaxSources = 8;

qint64 unixTimeUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

int senderId(std::uint8_t system, std::uint8_t component)
{
    return system << 8 | component;
}
} // namespace

MavlinkSession::MavlinkSession(QObject *parent) : QObject(parent) {}

MavlinkSession::~MavlinkSession() = default;

void MavlinkSession::open(Transport *transport)
{
    close();
    m_transport = transport;
    // Reset rather than dropped: open() may be called from a handler while a parser is feeding.
    for (const std::unique_ptr<FrameParser> &parser : m_parsers) {
        if (parser)
            parser->reset();
    }
    m_followed = -1;
    m_followedSource = -1;
    m_replySource = -1;
    m_credit = 0;
    connect(transport, &Transport::opened, this, &MavlinkSession::onOpened);
    connect(transport, &Transport::failed, this, &MavlinkSession::failed);
    connect(transport, &Transport::lost, this, &MavlinkSession::onLost);
    connect(transport, &Transport::received, this, &MavlinkSession::onReceived);
    connect(transport, &Transport::replayedSent, this, &MavlinkSession::onReplayedSent);
    transport->open();
}

void MavlinkSession::close()
{
    if (!m_transport)
        return;
    if (m_open && !m_closing) {
        m_closing = true;
        m_sentWhileClosing = false;
        emit aboutToClose();
        m_closing = false;
        if (m_sentWhileClosing)
            m_transport->drain();
    }
    Transport *transport = std::exchange(m_transport, nullptr);
    disconnect(transport, nullptr, this, nullptr);
    transport->close();
    if (m_open) {
        m_open = false;
        emit openChanged();
    }
}

void MavlinkSession::onOpened()
{
    m_open = true;
    emit opened();
    emit openChanged();
}

void MavlinkSession::onLost(const QString &why)
{
    const bool wasOpen = m_open;
    m_open = false;
    emit lost(why);
    if (wasOpen)
        emit openChanged();
}

Transport::Write MavlinkSession::send(const mavlink_message_t &msg)
{
    if (!m_transport || !m_open)
        return Transport::Write::Dropped;
    std::uint8_t buffer[MAVLINK_MAX_PACKET_LEN];
    const std::uint16_t length = mavlink_msg_to_send_buffer(buffer, &msg);
    const Transport::Write result =
        m_transport->write(reinterpret_cast<const char *>(buffer), length);
    if (result != Transport::Write::Sent)
        return result;
    m_credit -= length;
    m_sentWhileClosing |= m_closing;
    if (tapping())
        emit tapped(QByteArray(reinterpret_cast<const char *>(buffer), length), unixTimeUs(), true);
    emit frameSent(msg);
    return result;
}

MavSender &MavlinkSession::sender(std::uint8_t system, std::uint8_t component)
{
    std::unique_ptr<MavSender> &sender =
        m_senders[static_cast<std::uint16_t>(senderId(system, component))];
    if (!sender)
        sender = std::make_unique<MavSender>(*this, system, component);
    return *sender;
}

void MavlinkSession::subscribe(std::uint32_t msgid, QObject *context, Handler handler)
{
    m_subscriptions.push_back({msgid, context, std::move(handler)});
}

void MavlinkSession::follow(std::uint8_t system, std::uint8_t component)
{
    const int id = senderId(system, component);
    if (id == m_followed)
        return;
    m_followed = id;
    // Asked while that gimbal's own frame is handed on: it was heard where that frame came from.
    m_followedSource = m_dispatchSource;
    if (m_followedSource >= 0)
        setReplySource(m_followedSource);
}

void MavlinkSession::addHelper(QObject *context, Helper helper)
{
    m_helpers.push_back({context, std::move(helper)});
}

void MavlinkSession::beginTick()
{
    const int bytesPerSecond = m_transport ? m_transport->bytesPerSecond() : 0;
    const int perTick = bytesPerSecond > 0 ? bytesPerSecond * TickMs / 1000 * LineSharePercent / 100
                                           : NetworkTickBytes;
    m_credit = std::min(m_credit + perTick, CarriedTicks * perTick);
}

// In turns, so that a helper with much to send (a parameter download) cannot starve the others;
// and only while the transport takes more, so that a burst of helper frames is never taken for a
// device that stopped reading.
// Not while a write has nowhere to go: a request sent then would be lost, and taken as sent.
void MavlinkSession::serveHelpers()
{
    if (!m_open || m_helpers.empty() || !m_transport->hasPeer())
        return;
    const Transport *transport = m_transport;
    TickBudget budget(std::max(m_credit, 0), [transport] { return transport->takesMore(); });
    const std::size_t count = m_helpers.size();
    for (std::size_t i = 0; i < count && budget.left() > 0; ++i) {
        const HelperEntry &entry = m_helpers[(m_nextHelper + i) % count];
        if (entry.context)
            entry.helper(budget);
    }
    m_nextHelper = (m_nextHelper + 1) % count;
}

void MavlinkSession::onReceived(const QByteArray &bytes, int source)
{
    if (source < 0 || static_cast<std::size_t>(source) >= MaxSources)
        return;
    const auto index = static_cast<std::size_t>(source);
    if (m_parsers.size() <= index)
        m_parsers.resize(index + 1);
    if (!m_parsers[index])
        m_parsers[index] = std::make_unique<FrameParser>();
    // Only a transport of this session is heard, and not after it was closed mid-chunk.
    const Transport *transport = m_transport;
    m_parsers[index]->feed(
        bytes,
        [this, source, transport](const mavlink_message_t &msg, const char *raw, int size) {
            if (m_transport == transport)
                take(msg, raw, size, source);
        },
        [this] { emit badFrame(); });
}

void MavlinkSession::onReplayedSent(const QByteArray &frame, const mavlink_message_t &msg)
{
    if (tapping())
        emit tapped(frame, unixTimeUs(), true);
    emit frameSent(msg);
}

void MavlinkSession::take(const mavlink_message_t &msg, const char *raw, int size, int source)
{
    const int id = senderId(msg.sysid, msg.compid);
    if (m_followed < 0) {
        if (source != m_replySource)
            setReplySource(source);
    } else if (id == m_followed) {
        if (source != m_followedSource) {
            m_followedSource = source;
            setReplySource(source);
        }
    } else if (m_followedSource >= 0 && source != m_followedSource) {
        emit senderIgnored(msg.sysid, msg.compid);
        return;
    }
    if (tapping())
        emit tapped(QByteArray(raw, size), unixTimeUs(), false);
    // The protocol handlers first, so that those who watch every frame see their reactions.
    // By index: a handler may subscribe another.
    m_dispatchSource = source;
    for (std::size_t i = 0; i < m_subscriptions.size(); ++i) {
        if (m_subscriptions[i].msgid == msg.msgid && m_subscriptions[i].context)
            m_subscriptions[i].handler(msg);
    }
    m_dispatchSource = -1;
    emit frameReceived(msg);
}

void MavlinkSession::setReplySource(int source)
{
    m_replySource = source;
    if (!m_transport)
        return;
    m_transport->replyTo(source);
    const QString peer = m_transport->peerName(source);
    if (!peer.isEmpty())
        emit peerChanged(peer);
}

bool MavlinkSession::tapping() const
{
    static const QMetaMethod tap = QMetaMethod::fromSignal(&MavlinkSession::tapped);
    return isSignalConnected(tap);
}
