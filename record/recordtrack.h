// One file of a recording: its entries (rows, frames) gathered on the event loop's thread and
// handed to its writer on the recording's thread in chunks, at the recorder's pace or as soon as a
// chunk is large. Closing hands over the last entries with the close and waits for the answer, so
// that the file holds every entry before the recording is reported closed, however the event
// loops of the two threads are scheduled.
#pragma once

#include "recordwriter.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QFile;
class QThread;

class RecordTrack
{
public:
    // Writes `file` (open for unbuffered writing, empty) on `thread` by `wholeEntries`;
    // `onFailed` is called on this thread after the first failed write.
    RecordTrack(std::unique_ptr<QFile> file, RecordWriter::WholeEntries wholeEntries,
                QThread &thread, QObject *context, std::function<void()> onFailed);
    RecordTrack(const RecordTrack &) = delete;
    RecordTrack &operator=(const RecordTrack &) = delete;

    QString fileName() const { return m_fileName; }
    // Entries added so far.
    qint64 entries() const { return m_entries; }

    void add(const QByteArray &entry);
    void handOver();
    RecordWriter::Outcome close();

private:
    QString m_fileName;
    RecordWriter *m_writer;
    QByteArray m_pending;
    qint64 m_entries = 0;
};
