#include "recordtrack.h"

#include <QFile>
#include <QThread>

#include <utility>

namespace {
// Beyond this many bytes a chunk goes to the writer before its time.
constexpr int HandOverBytes = 256 * 1024;
} // namespace

RecordTrack::RecordTrack(std::unique_ptr<QFile> file, RecordWriter::WholeEntries wholeEntries,
                         QThread &thread, QObject *context, std::function<void()> onFailed)
    : m_fileName(file->fileName()), m_writer(new RecordWriter(file.release(), wholeEntries))
{
    m_writer->moveToThread(&thread);
    QObject::connect(&thread, &QThread::finished, m_writer, &QObject::deleteLater);
    QObject::connect(m_writer, &RecordWriter::failed, context, std::move(onFailed));
}

void RecordTrack::add(const QByteArray &entry)
{
    m_pending.append(entry);
    ++m_entries;
    if (m_pending.size() >= HandOverBytes)
        handOver();
}

void RecordTrack::handOver()
{
    if (m_pending.isEmpty())
        return;
    QMetaObject::invokeMethod(m_writer,
                              [writer = m_writer, bytes = m_pending] { writer->write(bytes); });
    m_pending.clear();
}

RecordWriter::Outcome RecordTrack::close()
{
    RecordWriter::Outcome outcome;
    QMetaObject::invokeMethod(
        m_writer,
        [writer = m_writer, entries = std::exchange(m_pending, {})] {
            return writer->close(entries);
        },
        Qt::BlockingQueuedConnection, &outcome);
    return outcome;
}
