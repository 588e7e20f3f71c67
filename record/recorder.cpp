#include "recorder.h"

#include "csvrows.h"
#include "recordwriter.h"

#include <ravik.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <memory>

namespace {
const QString FolderKey = QStringLiteral("record/folder");
constexpr int HandOverMs = 250;
// Beyond this many bytes a chunk goes to the writer before its time.
constexpr int HandOverBytes = 256 * 1024;
} // namespace

Recorder::Recorder(Ravik &ravik, QSettings *store, QObject *parent)
    : QObject(parent), m_ravik(ravik), m_store(store)
{
    m_folder = m_store ? m_store->value(FolderKey).toString() : QString();
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
    // A recording is of an open link: when the port closes, for whatever reason, it ends.
    connect(&ravik, &Ravik::serialIsOpenChanged, this, [this] {
        if (recording() && !m_ravik.serialIsOpen())
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
    // A folder that is not there yet is made, as a file dialog would offer to.
    QDir().mkpath(m_folder);
    const QString name =
        QStringLiteral("gimbal-%1.csv")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    startTo(QDir(m_folder).filePath(name));
}

void Recorder::startTo(const QString &path)
{
    if (recording())
        stop();
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        emit message(tr("无法录制到 %1：%2。").arg(path, file->errorString()));
        return;
    }
    m_fileName = path;
    m_rows = 0;
    m_shownRows = 0;
    m_pending = csvrows::header();
    m_clock.start();

    m_writer = new RecordWriter(file.release());
    m_writer->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_writer, &QObject::deleteLater);
    connect(m_writer, &RecordWriter::failed, this, [this](const QString &error) {
        if (!recording())
            return;
        m_failure = error;
        finish(End::Failed);
    });
    m_thread.start();

    m_received = connect(&m_ravik, &Ravik::frameReceived, this,
                         [this](const mavlink_message_t &msg) { add(msg, false); });
    m_sent = connect(&m_ravik, &Ravik::commandSent, this,
                     [this](const mavlink_message_t &msg) { add(msg, true); });
    m_handOver.start();
    m_showRows.start();
    emit recordingChanged();
    emit rowsChanged();
    emit message(tr("开始录制：%1").arg(path));
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

// Hands the last rows over, lets the writer finish them and close the file, and says how the
// recording ended.
void Recorder::finish(End end)
{
    disconnect(m_received);
    disconnect(m_sent);
    m_handOver.stop();
    m_showRows.stop();
    handOver();
    m_thread.quit();
    m_thread.wait();
    m_writer = nullptr;
    m_shownRows = m_rows;
    const QString rows = QString::number(m_rows);
    switch (end) {
    case End::Asked:
        emit message(tr("录制已结束：%2 中有 %1 行").arg(rows, m_fileName));
        break;
    case End::PortClosed:
    case End::ToolEnded:
        emit message(tr("录制已结束（%1）：%3 中有 %2 行")
                         .arg(end == End::PortClosed ? tr("端口已关闭") : tr("程序已退出"), rows,
                              m_fileName));
        break;
    case End::Failed:
        emit message(tr("录制失败：%1。%2 中保留了此前写入的行。").arg(m_failure, m_fileName));
        break;
    }
    emit rowsChanged();
    emit recordingChanged();
}
