#include "paramdownload.h"

#include <QStringList>

#include <algorithm>

namespace {
// The pace of a link as slow as a 57,600-baud radio sets the times. A PARAM_VALUE frame is 37
// bytes, some 6.5 ms on the wire; a component paces its list stream to leave room for its
// telemetry, so values come tens of ms apart, and a radio that gathers bytes into air packets adds
// gaps of up to a few hundred ms. Half a second without a new value means that the stream is over
// and what is missing was lost: the reads for it start then, not a long time-out later.
constexpr qint64 kStreamGapMs = 500;
// The list request is answered within a round trip, a few hundred ms over a radio; a component
// that is busy at first gets 2 s before the request goes once more, and 2 s more after that.
constexpr qint64 kListTimeoutMs = 2000;
constexpr int kListTries = 2;
// Ten reads are answered within a round trip and ten 6.5 ms replies, well under half a second on
// a radio that carries nothing else. Replies queue behind each other and behind the component's
// telemetry, so a read counts as lost only once no new value at all has come for that long. One
// taken for lost too early costs a second read; the late reply still counts.
constexpr qint64 kReadTimeoutMs = 500;
// With one reply in ten lost, all five reads of an index are lost once in 100,000 indices.
constexpr int kReadTries = 5;
// The index of the hash of the whole set that some components send first.
constexpr std::uint16_t kHashIndex = 65535;
// The missing indices that a failure names; the count says how many there are in all.
constexpr int kIndicesNamed = 20;
} // namespace

void ParamDownload::start(qint64 now)
{
    *this = ParamDownload();
    m_state = State::Running;
    m_startedAt = now;
}

void ParamDownload::take(const mavlink_param_value_t &value, qint64 now)
{
    // Values before the list request are the tail of something else, such as an earlier
    // download; taken, they would stand for the list's answer, and it would never be asked for.
    if (m_state != State::Running || m_listsSent == 0 || value.param_index == kHashIndex ||
        value.param_count == 0)
        return;
    // The count of the first value holds: a value of an index beyond it has no place.
    if (m_entries.isEmpty())
        m_entries.resize(value.param_count);
    const int index = value.param_index;
    if (index >= m_entries.size())
        return;
    Entry &entry = m_entries[index];
    // The latest value is the one the component holds now.
    entry.value = value;
    if (entry.received)
        return;
    entry.received = true;
    ++m_received;
    m_lastNewValue = now;
    m_inFlight.removeOne(index);
    if (index == m_entries.size() - 1)
        m_streamEnded = true;
    if (m_received == m_entries.size())
        finish(State::Complete, now);
}

std::optional<ParamDownload::Request> ParamDownload::nextRequest(qint64 now)
{
    if (m_state != State::Running)
        return std::nullopt;
    if (m_entries.isEmpty()) {
        if (m_listsSent > 0 && now - m_listSentAt < kListTimeoutMs)
            return std::nullopt;
        if (m_listsSent == kListTries) {
            finish(State::Failed, now);
            return std::nullopt;
        }
        ++m_listsSent;
        m_listSentAt = now;
        return Request{Request::List, 0};
    }
    if (!m_streamEnded && now - m_lastNewValue < kStreamGapMs)
        return std::nullopt;
    m_streamEnded = true;

    const auto lost = [&](int index) {
        return now - std::max(m_entries[index].askedAt, m_lastNewValue) >= kReadTimeoutMs;
    };
    m_inFlight.erase(std::remove_if(m_inFlight.begin(), m_inFlight.end(), lost), m_inFlight.end());
    if (m_inFlight.size() < kWindow) {
        for (int index = 0; index < m_entries.size(); ++index) {
            Entry &entry = m_entries[index];
            if (!entry.received && entry.reads < kReadTries && !m_inFlight.contains(index)) {
                ++entry.reads;
                entry.askedAt = now;
                m_inFlight.append(index);
                return Request{Request::Read, index};
            }
        }
    }
    if (m_inFlight.isEmpty())
        finish(State::Failed, now);
    return std::nullopt;
}

qint64 ParamDownload::elapsed(qint64 now) const
{
    switch (m_state) {
    case State::Idle:
        return 0;
    case State::Running:
        return now - m_startedAt;
    default:
        return m_finishedAt - m_startedAt;
    }
}

QVector<int> ParamDownload::missing() const
{
    QVector<int> indices;
    for (int index = 0; index < m_entries.size(); ++index) {
        if (!m_entries[index].received)
            indices.append(index);
    }
    return indices;
}

QVector<ParamValue> ParamDownload::values(ParamEncoding encoding) const
{
    QVector<ParamValue> values;
    values.reserve(m_received);
    for (const Entry &entry : m_entries) {
        if (entry.received)
            values.append(ParamValue::fromMessage(entry.value, encoding));
    }
    return values;
}

QString ParamDownload::failureText() const
{
    if (m_state != State::Failed)
        return QString();
    if (m_entries.isEmpty())
        return tr("组件没有回应参数列表请求");
    const QVector<int> indices = missing();
    QStringList named;
    for (int i = 0; i < std::min(int(indices.size()), kIndicesNamed); ++i)
        named.append(QString::number(indices[i]));
    if (indices.size() > kIndicesNamed)
        named.append(QStringLiteral("…"));
    return tr("%1 个参数各请求 %2 次后仍未收到，索引：%3")
        .arg(indices.size())
        .arg(kReadTries)
        .arg(named.join(QStringLiteral(", ")));
}

void ParamDownload::finish(State state, qint64 now)
{
    m_state = state;
    m_finishedAt = now;
    m_inFlight.clear();
}
