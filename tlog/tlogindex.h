// Where the times of a telemetry log are in its file: a point (time, offset) every StepEntries
// entries or StepUs of log time, whichever comes first, so that a seek reads forward at most one
// step. The index is built on a thread of its own, and the points found so far serve at once.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <QVector>

#include <cstdint>
#include <memory>

class TlogIndex : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool complete READ complete NOTIFY completeChanged)

public:
    static constexpr int StepEntries = 256;
    static constexpr std::uint64_t StepUs = 100000;

    struct Point
    {
        // The latest time of the entries up to and including the point's, so that the points'
        // times never fall even where the log's times do.
        std::uint64_t timeUs = 0;
        qint64 offset = 0;
    };

    explicit TlogIndex(QObject *parent = nullptr);
    ~TlogIndex() override;

    // Indexes the log at `path`, in place of any index before.
    void build(const QString &path);
    bool complete() const { return m_complete; }
    const QVector<Point> &points() const { return m_points; }

    // Where reading for `timeUs` starts: every entry before this offset is earlier.
    qint64 offsetBefore(std::uint64_t timeUs) const;
    // Whether the points found so far reach `timeUs`, so that offsetBefore() is at most one step
    // before it.
    bool covers(std::uint64_t timeUs) const
    {
        return m_complete || (!m_points.isEmpty() && m_points.last().timeUs >= timeUs);
    }

signals:
    void completeChanged();

private:
    void stop();
    void add(quint64 build, const QVector<Point> &points, bool last);

    QVector<Point> m_points;
    bool m_complete = false;
    std::unique_ptr<QThread> m_thread;
    // Counts the builds, so that points a stopped build had queued are not taken for the next's.
    quint64 m_builds = 0;
};
