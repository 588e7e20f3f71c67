// Writes a recording's rows on a thread of its own, so that a slow or full disk never holds up
// the event loop. The recorder hands it chunks of whole rows; each chunk is written to the system
// at once. A failed write is reported with the system's reason, the file is cut back to its last
// whole row, and nothing more is written. Closing writes the last chunk first and answers with
// what the file holds, so that nothing handed over is lost however the recording ends.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QFile;

class RecordWriter : public QObject
{
    Q_OBJECT

public:
    // What a closed file holds: its rows after the header, and why writing stopped early (empty
    // when every row handed over is in the file).
    struct Outcome
    {
        qint64 rows = 0;
        QString error;
    };

    // Takes over `file`, which is open for unbuffered writing and empty.
    explicit RecordWriter(QFile *file);

    void write(const QByteArray &rows);
    Outcome close(const QByteArray &lastRows);

signals:
    // The first failed write; emitted on the writer's thread.
    void failed();

private:
    QFile *m_file;
    // What the file holds: bytes and lines, the header's line included.
    qint64 m_size = 0;
    qint64 m_lines = 0;
    QString m_error;
};
