#include "recorder.h"

#include "csvrows.h"
#include "recordfile.h"
#include "recordwriter.h"

#include <checkedvalue.h>
#include <mavlinksession.h>

#include <QDateTime>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace {
const QString FolderKey = QStringLiteral("record/folder");
constexpr int HandOverMs = 250;
// Beyond this many bytes a chunk goes to the writer before its time.
constexpr int HandOverBytes = 256 * 1024;
} // namespace

Recorder::Recorder(MavlinkSession &session, QSettings *store, QObject *parent)
    : QObject(parent), m_session(session), m_store(store)
{
    m_folder = m_store ? checkedText(m_store->value(FolderKey)) : QString();
    if (m_folder.isEmpty())
        m_folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    m_handOver.setInterval(HandOverMs);
    connect(&m_handOver, &QTimer::timeout, this, &Recorder::handOver);
    m_showRows.setInterval(1000);
    connect(&m_showRows, &QTimer::timeout, this, [this] {
        if (m_shownRows != m_rows) {
            m_shownRows = m_rows;
            emit rowsChanged();
        }
    });
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

void Recorder::start()
{
    if (recording())
        stop();
    QString error;
    std::unique_ptr<QFile> file = recordfile::createNamedFor(m_folder, QDateTime::currentDateTime(),
                                                             QStringLiteral("csv"), error);
    if (!file) {
        emit message(tr("无法录制到 %1：%2。").arg(m_folder, error));
        return;
    }
    begin(std::move(file));
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
    begin(std::move(file));
}

void Recorder::begin(std::unique_ptr<QFile> file)
{
    m_fileName = file->fileName();
    m_rows = 0;
    m_shownRows = 0;
    m_pending = csvrows::header();
    m_clock.start();

    m_writer = new RecordWriter(file.release(), csvrows::wholeRows);
    m_writer->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_writer, &QObject::deleteLater);
    connect(m_writer, &RecordWriter::failed, this, [this, begun = ++m_begun] {
        if (begun == m_begun && recording())
            finish(End::Failed);
    });
    m_thread.start();

    m_received = connect(&m_session, &MavlinkSession::frameReceived, this,
                         [this](const mavlink_message_t &msg) { add(msg, false); });
    m_sent = connect(&m_session, &MavlinkSession::frameSent, this,
                     [this](const mavlink_message_t &msg) { add(msg, true); });
    m_handOver.start();
    m_showRows.start();
    emit recordingChanged();
    emit rowsChanged();
    emit message(tr("开始录制：%1").arg(m_fileName));
}

void Recorder::stop()
{
    if (recording())
        finish(End::Asked);
}

void Recorder::add(const mavlink_message_t &msg, bool sent)
{
    const QByteArray row = csvrows::row(m_clock.nsecsElapsed() / 1000, msg, sent);
    if (row.isEmpty())
        return;
    m_pending.append(row);
    ++m_rows;
    if (m_pending.size() >= HandOverBytes)
        handOver();
}

void Recorder::handOver()
{
    if (m_pending.isEmpty())
        return;
    QMetaObject::invokeMethod(m_writer,
                              [writer = m_writer, bytes = m_pending] { writer->write(bytes); });
    m_pending.clear();
}

// The last rows and the close go to the writer as one request, queued behind the chunks handed
// over before, and the recorder waits for its answer: the file holds every row before the
// recording is reported closed, however the event loops of the two threads are scheduled.
void Recorder::finish(End end)
{
    disconnect(m_received);
    disconnect(m_sent);
    m_handOver.stop();
    m_showRows.stop();
    RecordWriter::Outcome outcome;
    QMetaObject::invokeMethod(
        m_writer,
        [writer = m_writer, rows = std::exchange(m_pending, {})] { return writer->close(rows); },
        Qt::BlockingQueuedConnection, &outcome);
    m_thread.quit();
    m_thread.wait();
    m_writer = nullptr;
    // The header is a line of the file, not a row of the recording.
    m_rows = std::max<qint64>(outcome.entries - 1, 0);
    m_shownRows = m_rows;
    const QString rows = QString::number(m_rows);
    if (!outcome.error.isEmpty())
        emit message(tr("录制失败：%1。%2 中保留了 %3 行。").arg(outcome.error, m_fileName, rows));
    else if (end == End::Asked)
        emit message(tr("录制已结束：%2 中有 %1 行").arg(rows, m_fileName));
    else
        emit message(tr("录制已结束（%1）：%3 中有 %2 行")
                         .arg(end == End::PortClosed ? tr("端口已关闭") : tr("程序已退出"), rows,
                              m_fileName));
    emit rowsChanged();
    emit recordingChanged();
}
