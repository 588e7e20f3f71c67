#include "recordwriter.h"

#include <QFile>

RecordWriter::RecordWriter(QFile *file, WholeEntries wholeEntries)
    : m_file(file), m_wholeEntries(wholeEntries)
{
    m_file->setParent(this);
}

// The file is unbuffered, so each write reaches the system at once and a short write (the disk
// full, the size limit reached) shows as a short count; the next attempt then fails with the
// system's reason.
void RecordWriter::write(const QByteArray &entries)
{
    if (!m_error.isEmpty())
        return;
    qint64 done = 0;
    while (done < entries.size()) {
        const qint64 n = m_file->write(entries.constData() + done, entries.size() - done);
        if (n <= 0)
            break;
        done += n;
    }
    // Only whole entries stay: a row cut short would read as a row of wrong values, a frame cut
    // short as the end of the log.
    m_size += m_wholeEntries(entries.constData(), done, m_entries);
    if (done == entries.size())
        return;
    m_error = m_file->errorString();
    m_file->resize(m_size);
    emit failed();
}

RecordWriter::Outcome RecordWriter::close(const QByteArray &lastEntries)
{
    write(lastEntries);
    m_file->close();
    return {m_entries, m_error};
}
