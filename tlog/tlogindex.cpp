#include "tlogindex.h"

#include "tlogreader.h"

#include <algorithm>

namespace {
// Points handed over at a time: few hand-overs, yet a seek finds the first part soon.
constexpr int BatchPoints = 1024;
} // namespace

TlogIndex::TlogIndex(QObject *parent) : QObject(parent) {}

TlogIndex::~TlogIndex()
{
    stop();
}

void TlogIndex::build(const QString &path)
{
    stop();
    m_points.clear();
    if (m_complete) {
        m_complete = false;
        emit completeChanged();
    }
    const quint64 build = ++m_builds;
    m_thread.reset(QThread::create([this, path, build] {
        QVector<Point> batch;
        TlogReader reader;
        if (reader.open(path)) {
            TlogEntry entry;
            std::uint64_t latest = 0;
            std::uint64_t pointTime = 0;
            int sincePoint = StepEntries;
            while (reader.next(entry)) {
                latest = std::max(latest, entry.timeUs);
                if (sincePoint >= StepEntries || latest - pointTime >= StepUs) {
                    if (QThread::currentThread()->isInterruptionRequested())
                        return;
                    batch.append({latest, entry.offset});
                    pointTime = latest;
                    sincePoint = 0;
                }
                ++sincePoint;
                if (batch.size() == BatchPoints) {
                    QMetaObject::invokeMethod(this,
                                              [this, build, batch] { add(build, batch, false); });
                    batch.clear();
                }
            }
        }
        QMetaObject::invokeMethod(this, [this, build, batch] { add(build, batch, true); });
    }));
    m_thread->start();
}

qint64 TlogIndex::offsetBefore(std::uint64_t timeUs) const
{
    const auto after = std::lower_bound(
        m_points.cbegin(), m_points.cend(), timeUs,
        [](const Point &point, std::uint64_t time) { return point.timeUs < time; });
    return after == m_points.cbegin() ? 0 : std::prev(after)->offset;
}

void TlogIndex::stop()
{
    if (!m_thread)
        return;
    m_thread->requestInterruption();
    m_thread->wait();
    m_thread.reset();
}

void TlogIndex::add(quint64 build, const QVector<Point> &points, bool last)
{
    if (build != m_builds)
        return;
    m_points += points;
    if (last) {
        m_complete = true;
        emit completeChanged();
    }
}
