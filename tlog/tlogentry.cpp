#include "tlogentry.h"

#include <QtEndian>

#include <algorithm>

std::size_t tlog::frameLength(const std::uint8_t *frame)
{
    const std::size_t payload = frame[1];
    if (frame[0] == MAVLINK_STX_MAVLINK1)
        return 6 + payload + MAVLINK_NUM_CHECKSUM_BYTES;
    if (frame[0] != MAVLINK_STX || (frame[2] & ~MAVLINK_IFLAG_SIGNED))
        return 0;
    const std::size_t signature = frame[2] & MAVLINK_IFLAG_SIGNED ? MAVLINK_SIGNATURE_BLOCK_LEN : 0;
    return MAVLINK_NUM_HEADER_BYTES + payload + MAVLINK_NUM_CHECKSUM_BYTES + signature;
}

QByteArray tlog::entry(std::uint64_t timeUs, const std::uint8_t *frame, std::size_t size)
{
    if (size < LengthBytes || frameLength(frame) != size)
        return QByteArray();
    QByteArray bytes(static_cast<int>(TimeBytes + size), Qt::Uninitialized);
    qToBigEndian<quint64>(timeUs, bytes.data());
    std::copy(frame, frame + size, bytes.data() + TimeBytes);
    return bytes;
}

QByteArray tlog::entry(std::uint64_t timeUs, const QByteArray &frame)
{
    return entry(timeUs, reinterpret_cast<const std::uint8_t *>(frame.constData()),
                 static_cast<std::size_t>(frame.size()));
}

qint64 tlog::wholeEntries(const char *bytes, qint64 size, qint64 &count)
{
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes);
    qint64 whole = 0;
    while (size - whole >= static_cast<qint64>(TimeBytes + LengthBytes)) {
        const auto length = static_cast<qint64>(TimeBytes + frameLength(data + whole + TimeBytes));
        if (length == static_cast<qint64>(TimeBytes) || whole + length > size)
            break;
        whole += length;
        ++count;
    }
    return whole;
}
