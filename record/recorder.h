// Records the link to a CSV file (see csvrows.h): every received report and heartbeat and every
// sent command is a row. Rows are gathered on the event loop's thread and handed to a writer
// thread four times a second, so the file holds every row within a second and the loop never
// waits for the disk. Stopping, a closed port (unplugged too) and the end of the tool close the
// file with every row in it before they say so, with the file's own count of rows; a file that
// cannot be written stops the recording with the system's reason and leaves the rest of the tool
// working.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>

#include <memory>

class QFile;
class QSettings;
class MavlinkSession;
class RecordWriter;
struct mavlink_message_t;

class Recorder : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool recording READ recording NOTIFY recordingChanged)
    Q_PROPERTY(QString fileName READ fileName NOTIFY recordingChanged)
    // Rows so far; updated once a second.
    Q_PROPERTY(qint64 rows READ shownRows NOTIFY rowsChanged)
    // Where recordings started from the window go; kept in the settings store.
    Q_PROPERTY(QString folder READ folder WRITE setFolder NOTIFY folderChanged)

public:
    Recorder(MavlinkSession &session, QSettings *store, QObject *parent = nullptr);
    ~Recorder() override;

    bool recording() const { return m_writer != nullptr; }
    QString fileName() const { return m_fileName; }
    qint64 shownRows() const { return m_shownRows; }
    QString folder() const { return m_folder; }
    void setFolder(const QString &folder);

    // Starts a recording in the folder, named for the date and time, in a new file.
    Q_INVOKABLE void start();
    // Starts a recording in the file at `path`, replacing it: the user named it.
    Q_INVOKABLE void startTo(const QString &path);
    Q_INVOKABLE void stop();

signals:
    void recordingChanged();
    void rowsChanged();
    void folderChanged();
    // A message for the message area, in the language of the installed catalogue.
    void message(const QString &text);

private:
    enum class End { Asked, PortClosed, ToolEnded, Failed };

    void begin(std::unique_ptr<QFile> file);
    void add(const mavlink_message_t &msg, bool sent);
    void handOver();
    void finish(End end);

    MavlinkSession &m_session;
    QSettings *m_store;
    QString m_folder;
    QString m_fileName;
    QThread m_thread;
    RecordWriter *m_writer = nullptr;
    QByteArray m_pending;
    QElapsedTimer m_clock;
    QTimer m_handOver;
    QTimer m_showRows;
    qint64 m_rows = 0;
    qint64 m_shownRows = 0;
    QMetaObject::Connection m_received;
    QMetaObject::Connection m_sent;
    // Counts the recordings begun, so that a failure reported late by a writer that is gone
    // never ends the recording after it.
    quint64 m_begun = 0;
};
