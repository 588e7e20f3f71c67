// Reads a telemetry log (see tlogentry.h) entry by entry, through a window of the file, so that a
// log of any size opens at once and costs a window's memory.
//
// An entry counts when its time is plausible (from 2000 until a day after the file was opened),
// a frame header follows and the frame's checksum is good; the bytes up to the next such entry are
// skipped, as the link's parser skips noise between frames. A frame whose id the codec's table
// does not hold has a checksum that cannot be checked: it counts when the next entry's time and
// header follow it (or the file ends there), so that a log of messages this tool does not know
// still replays whole while noise is not taken for frames.
//
// Times are read big-endian, the format's order; a log whose first entries make sense only
// little-endian, as some writers store them, is read little-endian. Times are reported as
// stored, and nothing here relies on their two lowest bits, which one writer overwrites with a
// link number.
#pragma once

#include <mavlink_types.h>

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>

class TlogIndex;

struct TlogEntry
{
    // Where the entry starts in the file.
    qint64 offset = 0;
    // Microseconds since the Unix epoch.
    std::uint64_t timeUs = 0;
    QByteArray frame;
    mavlink_message_t message{};
    // False for an id the codec's table does not hold: the header fields, payload and checksum
    // bytes are the frame's, but the checksum was not checked.
    bool checked = false;
};

class TlogReader
{
public:
    enum class ByteOrder { BigEndian, LittleEndian };

    // Opens the log at `path`: finds the byte order of its times, its first entry, and its last
    // one by reading back from the end. False, with errorString(), when the file cannot be read
    // or its first 64 KiB hold no two entries in a row (nor a single entry that is the whole
    // file). Reading then starts at the first entry.
    bool open(const QString &path);
    QString errorString() const { return m_error; }

    ByteOrder byteOrder() const { return m_order; }
    std::uint64_t firstTime() const { return m_firstTime; }
    std::uint64_t lastTime() const { return m_lastTime; }
    qint64 size() const { return m_size; }
    // Whether the file goes on after its last whole entry, as a recording cut off in the middle
    // of a frame does: the replay ends with the last whole frame.
    bool cutShort() const { return m_end < m_size; }

    // Reads the next entry into `entry`; false after the last, or when the file cannot be read
    // any more (errorString() then says why).
    bool next(TlogEntry &entry);
    // Bytes skipped so far that were no entry.
    qint64 skippedBytes() const { return m_skipped; }

    // Reading goes on at the first entry at or after `offset`.
    void setOffset(qint64 offset);
    // Reading goes on at the first entry, in file order, with a time at or after `timeUs`, found
    // by reading forward from the index's point before it; beyond the part indexed so far, from
    // a place found by halving the rest of the file.
    void seek(std::uint64_t timeUs, const TlogIndex &index);

private:
    qint64 halve(qint64 from, std::uint64_t timeUs);
    const std::uint8_t *bytesAt(qint64 offset, qint64 wanted, qint64 &available);
    std::uint64_t timeAt(const std::uint8_t *bytes) const;
    bool plausible(std::uint64_t timeUs) const;
    bool headerAt(const std::uint8_t *bytes, qint64 available) const;
    qint64 entryAt(const std::uint8_t *bytes, qint64 available, bool fileEnds,
                   TlogEntry &entry) const;
    qint64 toNextCandidate(const std::uint8_t *bytes, qint64 available) const;
    int countEntries(qint64 until, int enough);
    void findLastEntry();

    QFile m_file;
    QString m_error;
    ByteOrder m_order = ByteOrder::BigEndian;
    std::uint64_t m_latest = 0;
    std::uint64_t m_firstTime = 0;
    std::uint64_t m_lastTime = 0;
    qint64 m_size = 0;
    // The end of the last whole entry: reading stops there.
    qint64 m_end = 0;
    qint64 m_pos = 0;
    qint64 m_skipped = 0;
    // The window: the file's bytes from m_windowOffset on.
    QByteArray m_window;
    qint64 m_windowOffset = 0;
};
