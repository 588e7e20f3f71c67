#include "tlogreader.h"

#include "tlogentry.h"
#include "tlogindex.h"

#include <message_table.h>
#include <parser.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {
// 2000-01-01T00:00:00Z.
constexpr std::uint64_t EarliestUs = 946684800ULL * 1000000;
constexpr std::uint64_t DayUs = 86400ULL * 1000000;
// What one read from the file brings into the window.
constexpr qint64 WindowBytes = 256 * 1024;
constexpr qint64 HeaderBytes = tlog::TimeBytes + tlog::LengthBytes;
// What the check of one entry looks at: the entry and the next one's header.
constexpr qint64 CheckBytes = tlog::MaxEntryBytes + HeaderBytes;
// Where the first entries must be, and how many of them settle the byte order.
constexpr qint64 ProbeBytes = 64 * 1024;
constexpr int ProbeEntries = 8;
// How far each step back from the end reaches when looking for the last entry.
constexpr qint64 BackStepBytes = 64 * 1024;

bool isStartByte(std::uint8_t c)
{
    return c == MAVLINK_STX || c == MAVLINK_STX_MAVLINK1;
}

std::uint32_t messageId(const std::uint8_t *frame)
{
    if (frame[0] == MAVLINK_STX_MAVLINK1)
        return frame[5];
    return frame[7] | static_cast<std::uint32_t>(frame[8]) << 8 |
           static_cast<std::uint32_t>(frame[9]) << 16;
}

// The record of a frame whose checksum cannot be checked: its fields as they are on the wire.
void fillUnchecked(const std::uint8_t *frame, mavlink_message_t &msg)
{
    const bool v2 = frame[0] == MAVLINK_STX;
    const std::size_t seq = v2 ? 4 : 2;
    const std::size_t payload = v2 ? MAVLINK_NUM_HEADER_BYTES : 6;
    msg = {};
    msg.magic = frame[0];
    msg.len = frame[1];
    msg.incompat_flags = v2 ? frame[2] : 0;
    msg.compat_flags = v2 ? frame[3] : 0;
    msg.seq = frame[seq];
    msg.sysid = frame[seq + 1];
    msg.compid = frame[seq + 2];
    msg.msgid = messageId(frame);
    std::memcpy(msg.payload, frame + payload, msg.len);
    const std::uint8_t *ck = frame + payload + msg.len;
    msg.ck[0] = ck[0];
    msg.ck[1] = ck[1];
    msg.checksum = static_cast<std::uint16_t>(ck[0] | ck[1] << 8);
    if (msg.incompat_flags & MAVLINK_IFLAG_SIGNED)
        std::memcpy(msg.signature, ck + MAVLINK_NUM_CHECKSUM_BYTES, MAVLINK_SIGNATURE_BLOCK_LEN);
}
} // namespace

bool TlogReader::open(const QString &path)
{
    m_file.close();
    m_file.setFileName(path);
    m_window.clear();
    m_windowOffset = 0;
    m_error.clear();
    m_size = m_end = m_pos = m_skipped = 0;
    m_firstTime = m_lastTime = 0;
    if (!m_file.open(QIODevice::ReadOnly)) {
        m_error = m_file.errorString();
        return false;
    }
    m_size = m_file.size();
    m_latest = static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch()) * 1000 + DayUs;

    // Read the wrong way round, a time of today is either before 2000 or far in the future.
    const qint64 probe = std::min(m_size, ProbeBytes);
    m_order = ByteOrder::BigEndian;
    const int big = countEntries(probe, ProbeEntries);
    m_order = ByteOrder::LittleEndian;
    const int little = countEntries(probe, ProbeEntries);
    m_order = little > big ? ByteOrder::LittleEndian : ByteOrder::BigEndian;
    if (big == 0 && little == 0) {
        m_error = QCoreApplication::translate("TlogReader",
                                              "不是遥测日志：前 %1 KiB 中没有带时间的 MAVLink 帧")
                      .arg(ProbeBytes / 1024);
        return false;
    }

    findLastEntry();
    setOffset(0);
    TlogEntry first;
    next(first);
    m_firstTime = first.timeUs;
    setOffset(0);
    m_skipped = 0;
    return true;
}

void TlogReader::setOffset(qint64 offset)
{
    m_pos = std::clamp<qint64>(offset, 0, m_size);
}

bool TlogReader::next(TlogEntry &entry)
{
    while (m_pos < m_end) {
        qint64 available = 0;
        const std::uint8_t *bytes = bytesAt(m_pos, CheckBytes, available);
        if (available == 0)
            return false;
        const qint64 length = entryAt(bytes, available, m_pos + available >= m_size, entry);
        if (length > 0 && m_pos + length <= m_end) {
            entry.offset = m_pos;
            m_pos += length;
            return true;
        }
        const qint64 skip = std::min(toNextCandidate(bytes, available), m_end - m_pos);
        m_skipped += skip;
        m_pos += skip;
    }
    return false;
}

void TlogReader::seek(std::uint64_t timeUs, const TlogIndex &index)
{
    const qint64 indexed = index.offsetBefore(timeUs);
    setOffset(index.covers(timeUs) ? indexed : halve(indexed, timeUs));
    TlogEntry entry;
    while (next(entry)) {
        if (entry.timeUs >= timeUs) {
            m_pos = entry.offset;
            return;
        }
    }
}

// Beyond the part of the log that the index covers so far: halves the part where `timeUs` can
// be, by offset, until it is one window long. The times are taken to rise through the file, as
// the index takes them.
qint64 TlogReader::halve(qint64 from, std::uint64_t timeUs)
{
    qint64 to = m_end;
    TlogEntry entry;
    while (to - from > WindowBytes) {
        const qint64 middle = from + (to - from) / 2;
        setOffset(middle);
        if (next(entry) && entry.offset < to && entry.timeUs < timeUs)
            from = entry.offset;
        else
            to = middle;
    }
    return from;
}

// The window holds at least `wanted` bytes from `offset` on where the file has them; `available`
// says how many it holds from there.
const std::uint8_t *TlogReader::bytesAt(qint64 offset, qint64 wanted, qint64 &available)
{
    wanted = std::min(wanted, m_size - offset);
    if (offset < m_windowOffset || offset + wanted > m_windowOffset + m_window.size()) {
        m_window.resize(static_cast<int>(std::max(wanted, WindowBytes)));
        const qint64 read =
            m_file.seek(offset) ? m_file.read(m_window.data(), m_window.size()) : -1;
        if (read < 0)
            m_error = m_file.errorString();
        m_window.resize(static_cast<int>(std::max<qint64>(read, 0)));
        m_windowOffset = offset;
    }
    available = m_windowOffset + m_window.size() - offset;
    return reinterpret_cast<const std::uint8_t *>(m_window.constData()) + (offset - m_windowOffset);
}

std::uint64_t TlogReader::timeAt(const std::uint8_t *bytes) const
{
    return m_order == ByteOrder::BigEndian ? qFromBigEndian<quint64>(bytes)
                                           : qFromLittleEndian<quint64>(bytes);
}

bool TlogReader::plausible(std::uint64_t timeUs) const
{
    return timeUs >= EarliestUs && timeUs <= m_latest;
}

// A plausible time, then the start of a frame.
bool TlogReader::headerAt(const std::uint8_t *bytes, qint64 available) const
{
    return available >= HeaderBytes && isStartByte(bytes[tlog::TimeBytes]) &&
           plausible(timeAt(bytes)) && tlog::frameLength(bytes + tlog::TimeBytes) != 0;
}

// The length of the entry at `bytes` (0 when none starts there), read into `entry`; `fileEnds`
// when the file ends after the `available` bytes.
qint64 TlogReader::entryAt(const std::uint8_t *bytes, qint64 available, bool fileEnds,
                           TlogEntry &entry) const
{
    if (!headerAt(bytes, available))
        return 0;
    const std::uint8_t *frame = bytes + tlog::TimeBytes;
    const std::size_t frameLength = tlog::frameLength(frame);
    const auto length = static_cast<qint64>(tlog::TimeBytes + frameLength);
    if (length > available)
        return 0;
    if (mavlink_get_msg_entry(messageId(frame))) {
        mavlink_message_t work;
        mavlink_status_t status{};
        std::uint8_t result = MAVLINK_FRAMING_INCOMPLETE;
        if (mavlink_frame_chunk(&work, &status, frame, frameLength, &entry.message, &result) !=
                frameLength ||
            result != MAVLINK_FRAMING_OK)
            return 0;
        entry.checked = true;
    } else {
        const qint64 rest = available - length;
        if (!(rest >= HeaderBytes ? headerAt(bytes + length, rest) : fileEnds))
            return 0;
        fillUnchecked(frame, entry.message);
        entry.checked = false;
    }
    entry.timeUs = timeAt(bytes);
    entry.frame.resize(static_cast<int>(frameLength));
    std::memcpy(entry.frame.data(), frame, frameLength);
    return length;
}

// How far the next place is where an entry could start: one whose frame's start byte is there.
qint64 TlogReader::toNextCandidate(const std::uint8_t *bytes, qint64 available) const
{
    const auto from = static_cast<qint64>(tlog::TimeBytes) + 1;
    if (available <= from)
        return 1;
    const std::uint8_t *start = std::find_if(bytes + from, bytes + available, isStartByte);
    return (start - bytes) - static_cast<qint64>(tlog::TimeBytes);
}

// Counts the entries that follow another without a gap, or are the whole file: noise may now and
// then look like an entry (a frame whose last bytes read as a time, before another frame), but
// not like two in a row.
int TlogReader::countEntries(qint64 until, int enough)
{
    m_pos = 0;
    m_end = until;
    int count = 0;
    qint64 previousEnd = -1;
    TlogEntry entry;
    while (count < enough && next(entry)) {
        if (entry.offset == previousEnd || (entry.offset == 0 && m_pos == m_size))
            ++count;
        previousEnd = m_pos;
    }
    return count;
}

// Steps back from the end of the file until a step holds an entry; the last entry of that step
// is the file's. Reading forward ends with it.
void TlogReader::findLastEntry()
{
    m_end = m_size;
    TlogEntry entry;
    for (qint64 stepEnd = m_size; stepEnd > 0;) {
        const qint64 stepStart = std::max<qint64>(stepEnd - BackStepBytes, 0);
        qint64 available = 0;
        const std::uint8_t *bytes =
            bytesAt(stepStart, std::min(stepEnd + CheckBytes, m_size) - stepStart, available);
        const bool fileEnds = stepStart + available >= m_size;
        for (qint64 at = std::min(stepEnd - stepStart, available) - 1; at >= 0; --at) {
            const qint64 length = entryAt(bytes + at, available - at, fileEnds, entry);
            if (length > 0) {
                m_end = stepStart + at + length;
                m_lastTime = entry.timeUs;
                return;
            }
        }
        stepEnd = stepStart;
    }
}
