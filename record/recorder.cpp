#include "recorder.h"

#include "csvrows.h"
#include "recordfile.h"
#include "recordtrack.h"

#include <checkedvalue.h>
#include <mavlinksession.h>
#include <tlogentry.h>

#include <QDateTime>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace {
const QString FolderKey = QStringLiteral("record/folder");
const QString FormatsKey = QStringLiteral("record/formats");
constexpr int HandOverMs = 250;

bool isFormats(int formats)
{
    return formats >= Recorder::Csv && formats <= (Recorder::Csv | Recorder::Tlog);
}
} // namespace

Recorder::Recorder(MavlinkSession &session, QSettings *store, QObject *parent)
    : QObject(parent), m_session(session), m_store(store)
{
    m_folder = m_store ? checkedText(m_store->value(FolderKey)) : QString();
    if (m_folder.isEmpty())
        m_folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (m_store) {
        const int formats = static_cast<int>(checkedNumber(m_store->value(FormatsKey), 0, 0, 3));
        if (isFormats(formats))
            m_formats = formats;
    }
    m_handOver.setInterval(HandOverMs);
    connect(&m_handOver, &QTimer::timeout, this, &Recorder::handOver);
    m_showCounts.setInterval(1000);
    connect(&m_showCounts, &QTimer::timeout, this, &Recorder::showCounts);
    // A recording is of an open link: when the link closes, for whatever reason, it ends.
    connect(&session, &MavlinkSession::openChanged, this, [this] {
        if (recording() && !m_session.isOpen())
            finish(End::PortClosed);
    });
}

Recorder::~Recorder()
{
    if (recording())
        finish(End::ToolEnded);
}

void Recorder::setFolder(const QString &folder)
{
    m_folder = folder;
    if (m_store)
        m_store->setValue(FolderKey, folder);
    emit folderChanged();
}

void Recorder::setFormats(int formats)
{
    if (!isFormats(formats))
        return;
    m_formats = formats;
    if (m_store)
        m_store->setValue(FormatsKey, formats);
    emit formatsChanged();
}

void Recorder::start()
{
    if (recording())
        stop();
    QStringList extensions;
    if (m_formats & Csv)
        extensions.append(QStringLiteral("csv"));
    if (m_formats & Tlog)
        extensions.append(QStringLiteral("tlog"));
    QString error;
    std::vector<std::unique_ptr<QFile>> files =
        recordfile::createNamedFor(m_folder, QDateTime::currentDateTime(), extensions, error);
    if (files.empty()) {
        emit message(tr("无法录制到 %1：%2。").arg(m_folder, error));
        return;
    }
    begin(std::move(files), m_formats);
}

void Recorder::startTo(const QString &path)
{
    if (recording())
        stop();
    QString error;
    std::unique_ptr<QFile> file = recordfile::replace(path, error);
    if (!file) {
        emit message(tr("无法录制到 %1：%2。").arg(path, error));
        return;
    }
    std::vector<std::unique_ptr<QFile>> files;
    files.push_back(std::move(file));
    begin(std::move(files),
          path.endsWith(QLatin1String(".tlog"), Qt::CaseInsensitive) ? Tlog : Csv);
}

// `files` are the CSV file, then the telemetry log, as `formats` has them.
void Recorder::begin(std::vector<std::unique_ptr<QFile>> files, int formats)
{
    m_shownRows = 0;
    m_shownFrames = 0;
    m_hasCsv = formats & Csv;
    m_hasTlog = formats & Tlog;
    m_fileNames.clear();
    const auto onFailed = [this, begun = ++m_begun] {
        if (begun == m_begun && recording())
            finish(End::Failed);
    };
    auto file = files.begin();
    if (formats & Csv) {
        m_tracks.push_back(std::make_unique<RecordTrack>(std::move(*file++), csvrows::wholeRows,
                                                         m_thread, this, onFailed));
        m_csv = m_tracks.back().get();
        m_csv->add(csvrows::header());
        m_clock.start();
        m_taps.push_back(connect(&m_session, &MavlinkSession::frameReceived, this,
                                 [this](const mavlink_message_t &msg) { addRow(msg, false); }));
        m_taps.push_back(connect(&m_session, &MavlinkSession::frameSent, this,
                                 [this](const mavlink_message_t &msg) { addRow(msg, true); }));
    }
    if (formats & Tlog) {
        m_tracks.push_back(std::make_unique<RecordTrack>(std::move(*file++), tlog::wholeEntries,
                                                         m_thread, this, onFailed));
        m_tlog = m_tracks.back().get();
        m_taps.push_back(
            connect(&m_session, &MavlinkSession::tapped, this,
                    [this](const QByteArray &frame, qint64 unixTimeUs, bool) {
                        m_tlog->add(tlog::entry(static_cast<std::uint64_t>(unixTimeUs), frame));
                    }));
    }
    for (const std::unique_ptr<RecordTrack> &track : m_tracks)
        m_fileNames.append(track->fileName());
    m_thread.start();
    m_handOver.start();
    m_showCounts.start();
    emit recordingChanged();
    emit rowsChanged();
    emit message(tr("开始录制：%1").arg(m_fileNames.join(QStringLiteral(", "))));
}

QString Recorder::counts() const
{
    QStringList counts;
    if (m_hasCsv)
        counts.append(tr("%1 行").arg(m_shownRows));
    if (m_hasTlog)
        counts.append(tr("%1 帧").arg(m_shownFrames));
    return counts.join(QStringLiteral(" · "));
}

void Recorder::stop()
{
    if (recording())
        finish(End::Asked);
}

void Recorder::addRow(const mavlink_message_t &msg, bool sent)
{
    const QByteArray row = csvrows::row(m_clock.nsecsElapsed() / 1000, msg, sent);
    if (!row.isEmpty())
        m_csv->add(row);
}

void Recorder::handOver()
{
    for (const std::unique_ptr<RecordTrack> &track : m_tracks)
        track->handOver();
}

void Recorder::showCounts()
{
    // The header is a line of the file, not a row of the recording.
    const qint64 rows = m_csv ? std::max<qint64>(m_csv->entries() - 1, 0) : 0;
    const qint64 frames = m_tlog ? m_tlog->entries() : 0;
    if (rows == m_shownRows && frames == m_shownFrames)
        return;
    m_shownRows = rows;
    m_shownFrames = frames;
    emit rowsChanged();
}

void Recorder::finish(End end)
{
    for (const QMetaObject::Connection &tap : m_taps)
        disconnect(tap);
    m_taps.clear();
    m_handOver.stop();
    m_showCounts.stop();
    std::vector<std::pair<RecordWriter::Outcome, bool>> outcomes;
    for (const std::unique_ptr<RecordTrack> &track : m_tracks)
        outcomes.emplace_back(track->close(), track.get() == m_csv);
    m_thread.quit();
    m_thread.wait();
    m_tracks.clear();
    m_csv = nullptr;
    m_tlog = nullptr;

    // Each message written out for rows and for frames, so that it is one text to translate.
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const RecordWriter::Outcome &outcome = outcomes[i].first;
        const bool csv = outcomes[i].second;
        const qint64 entries = csv ? std::max<qint64>(outcome.entries - 1, 0) : outcome.entries;
        (csv ? m_shownRows : m_shownFrames) = entries;
        const QString count = QString::number(entries);
        const QString &file = m_fileNames.at(static_cast<int>(i));
        if (!outcome.error.isEmpty()) {
            emit message((csv ? tr("录制失败：%1。%2 中保留了 %3 行。")
                              : tr("录制失败：%1。%2 中保留了 %3 帧。"))
                             .arg(outcome.error, file, count));
        } else if (end == End::Asked || end == End::Failed) {
            emit message((csv ? tr("录制已结束：%2 中有 %1 行") : tr("录制已结束：%2 中有 %1 帧"))
                             .arg(count, file));
        } else {
            const QString why = end == End::PortClosed ? tr("端口已关闭") : tr("程序已退出");
            emit message((csv ? tr("录制已结束（%1）：%3 中有 %2 行")
                              : tr("录制已结束（%1）：%3 中有 %2 帧"))
                             .arg(why, count, file));
        }
    }
    emit rowsChanged();
    emit recordingChanged();
}
