// Writes a recording's entries (the rows of a CSV file, the frames of a telemetry log) on a thread
// of its own, so that a slow or full disk never holds up the event loop. The recorder hands it
// chunks of whole entries; each chunk is written to the system at once. A failed write is reported
// with the system's reason, the file is cut back to its last whole entry, and nothing more is
// written. Closing writes the last chunk first and answers with what the file holds, so that
// nothing handed over is lost however the recording ends.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QFile;

class RecordWriter : public QObject
{
    Q_OBJECT

public:
    // What a closed file holds: its whole entries, and why writing stopped early (empty when
    // every entry handed over is in the file).
    struct Outcome
    {
        qint64 entries = 0;
        QString error;
    };

    // How the file's format divides bytes into entries: returns the length of the whole entries at
    // the start of bytes[0..size) and adds their number to `count`.
    using WholeEntries = qint64 (*)(const char *bytes, qint64 size, qint64 &count);

    // Takes over `file`, which is open for unbuffered writing and empty.
    RecordWriter(QFile *file, WholeEntries wholeEntries);

    void write(const QByteArray &entries);
    Outcome close(const QByteArray &lastEntries);

signals:
    // The first failed write; emitted on the writer's thread.
    void failed();

private:
    QFile *m_file;
    WholeEntries m_wholeEntries;
    // What the file holds.
    qint64 m_size = 0;
    qint64 m_entries = 0;
    QString m_error;
};
