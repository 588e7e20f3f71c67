// Writes a recording's bytes on a thread of its own, so that a slow or full disk never holds up
// the event loop. The recorder hands it chunks of rows; each chunk is written and flushed to the
// system at once. A failed write is reported, and nothing more is written.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QFile;

class RecordWriter : public QObject
{
    Q_OBJECT

public:
    // Takes over `file`, which is open for writing.
    explicit RecordWriter(QFile *file);
    ~RecordWriter() override;

    void write(const QByteArray &bytes);

signals:
    void failed(const QString &error);

private:
    QFile *m_file;
    bool m_failed = false;
};
