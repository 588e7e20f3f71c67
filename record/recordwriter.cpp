#include "recordwriter.h"

#include <QFile>

#include <algorithm>

RecordWriter::RecordWriter(QFile *file) : m_file(file)
{
    m_file->setParent(this);
}

// The file is unbuffered, so each write reaches the system at once and a short write (the disk
// full, the size limit reached) shows as a short count; the next attempt then fails with the
// system's reason.
void RecordWriter::write(const QByteArray &rows)
{
    if (!m_error.isEmpty())
        return;
    qint64 done = 0;
    while (done < rows.size()) {
        const qint64 n = m_file->write(rows.constData() + done, rows.size() - done);
        if (n <= 0)
            break;
        done += n;
    }
    // Only whole rows stay: a row cut short would read as a row of wrong values.
    const bool complete = done == rows.size();
    const int whole =
        complete ? rows.size() : rows.left(static_cast<int>(done)).lastIndexOf('\n') + 1;
    m_size += whole;
    m_lines += complete ? rows.count('\n') : rows.left(whole).count('\n');
    if (complete)
        return;
    m_error = m_file->errorString();
    m_file->resize(m_size);
    emit failed();
}

RecordWriter::Outcome RecordWriter::close(const QByteArray &lastRows)
{
    write(lastRows);
    m_file->close();
    return {std::max<qint64>(m_lines - 1, 0), m_error};
}
