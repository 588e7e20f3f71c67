#include "recordwriter.h"

#include <QFile>

RecordWriter::RecordWriter(QFile *file) : m_file(file)
{
    m_file->setParent(this);
}

RecordWriter::~RecordWriter()
{
    m_file->close();
}

void RecordWriter::write(const QByteArray &bytes)
{
    if (m_failed)
        return;
    if (m_file->write(bytes) != bytes.size() || !m_file->flush()) {
        m_failed = true;
        emit failed(m_file->errorString());
    }
}
