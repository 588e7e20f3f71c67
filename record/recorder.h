// Records the link to a CSV file (see csvrows.h), where every received report and heartbeat and
// every sent command is a row, to a telemetry log (see tlogentry.h), where every frame received
// and sent is an entry byte for byte with its time, or to both. Entries are gathered on the event
// loop's thread and handed to a writer thread four times a second (see RecordTrack), so the files
// hold every entry within a second and the loop never waits for the disk. Stopping, a closed port
// (unplugged too) and the end of the tool close the files with every entry in them before they
// say so, with each file's own count; a file that cannot be written stops the recording with the
// system's reason and leaves the rest of the tool working.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <memory>
#include <vector>

class QFile;
class QSettings;
class MavlinkSession;
class RecordTrack;
struct mavlink_message_t;

class Recorder : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool recording READ recording NOTIFY recordingChanged)
    // The recording's files, with their folders.
    Q_PROPERTY(QStringList fileNames READ fileNames NOTIFY recordingChanged)
    // CSV rows and telemetry log frames so far; updated once a second.
    Q_PROPERTY(qint64 rows READ shownRows NOTIFY rowsChanged)
    Q_PROPERTY(qint64 frames READ shownFrames NOTIFY rowsChanged)
    // The same as the window shows them: "120 rows · 3400 frames", as far as the recording has
    // each file.
    Q_PROPERTY(QString counts READ counts NOTIFY rowsChanged)
    // Where recordings started from the window go; kept in the settings store.
    Q_PROPERTY(QString folder READ folder WRITE setFolder NOTIFY folderChanged)
    // What recordings started from the window write: Csv, Tlog or both (the default); kept in
    // the settings store.
    Q_PROPERTY(int formats READ formats WRITE setFormats NOTIFY formatsChanged)

public:
    enum Format { Csv = 1, Tlog = 2 };

    Recorder(MavlinkSession &session, QSettings *store, QObject *parent = nullptr);
    ~Recorder() override;

    bool recording() const { return !m_tracks.empty(); }
    QStringList fileNames() const { return m_fileNames; }
    qint64 shownRows() const { return m_shownRows; }
    qint64 shownFrames() const { return m_shownFrames; }
    QString counts() const;
    QString folder() const { return m_folder; }
    void setFolder(const QString &folder);
    int formats() const { return m_formats; }
    // Any other value than Csv, Tlog or both leaves the choice as it is.
    void setFormats(int formats);

    // Starts a recording in the folder, named for the date and time, in new files.
    Q_INVOKABLE void start();
    // Starts a recording in the file at `path`, replacing it: the user named it. A name ending in
    // .tlog is a telemetry log, any other a CSV file.
    Q_INVOKABLE void startTo(const QString &path);
    Q_INVOKABLE void stop();

signals:
    void recordingChanged();
    void rowsChanged();
    void folderChanged();
    void formatsChanged();
    // A message for the message area, in the language of the installed catalogue.
    void message(const QString &text);

private:
    enum class End { Asked, PortClosed, ToolEnded, Failed };

    void begin(std::vector<std::unique_ptr<QFile>> files, int formats);
    void addRow(const mavlink_message_t &msg, bool sent);
    void handOver();
    void showCounts();
    void finish(End end);

    MavlinkSession &m_session;
    QSettings *m_store;
    QString m_folder;
    int m_formats = Csv | Tlog;
    QStringList m_fileNames;
    QThread m_thread;
    // The CSV file's track, then the telemetry log's, as the recording has them.
    std::vector<std::unique_ptr<RecordTrack>> m_tracks;
    RecordTrack *m_csv = nullptr;
    RecordTrack *m_tlog = nullptr;
    QElapsedTimer m_clock;
    QTimer m_handOver;
    QTimer m_showCounts;
    qint64 m_shownRows = 0;
    qint64 m_shownFrames = 0;
    // Which files the last recording has.
    bool m_hasCsv = false;
    bool m_hasTlog = false;
    std::vector<QMetaObject::Connection> m_taps;
    // Counts the recordings begun, so that a failure reported late by a writer that is gone
    // never ends the recording after it.
    quint64 m_begun = 0;
};
