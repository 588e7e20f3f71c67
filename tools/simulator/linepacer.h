// The pace of the simulated gimbal's line: a UART puts ten bits on the wire for every byte, so at
// a given baud rate a frame arrives whole only once its last byte has gone out, and frames queue
// behind each other. Each frame is handed to the line at the moment its last byte would leave;
// a frame that is lost on the way takes its time on the wire all the same. Without a rate the
// frames go to the line at once, as fast as the line takes them.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

class LinePacer : public QObject
{
    Q_OBJECT

public:
    // Hands a frame to the line.
    using Write = std::function<void(const QByteArray &frame)>;

    explicit LinePacer(Write write, QObject *parent = nullptr);

    // 0: no pace.
    void setBytesPerSecond(int bytesPerSecond) { m_bytesPerSecond = bytesPerSecond; }
    bool isPaced() const { return m_bytesPerSecond > 0; }

    // Puts `frame` on the line after what is on its way. False when it was dropped because a
    // UART's buffer full of frames waits already.
    bool send(const QByteArray &frame, bool lost = false);
    // Whether another frame would keep the line busy rather than wait long: at most the frame on
    // the wire is waiting. Always on a line without a pace.
    bool wantsMore() const { return !isPaced() || m_queue.size() <= 1; }
    // Forgets what waits, as a cable pulled out does.
    void clear();

signals:
    // A frame left and wantsMore() holds again.
    void roomForMore();

private:
    struct Frame
    {
        QByteArray bytes;
        bool lost;
        // When its last byte leaves, on the pacer's clock.
        qint64 dueNs;
    };

    void release();
    void arm();

    Write m_write;
    int m_bytesPerSecond = 0;
    std::deque<Frame> m_queue;
    int m_queuedBytes = 0;
    // When the line has sent everything queued.
    qint64 m_lineFreeNs = 0;
    QElapsedTimer m_clock;
    QTimer m_timer;
};
