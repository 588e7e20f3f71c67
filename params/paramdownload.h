// Reading all parameters of a component: the list request, then the indices the stream lost,
// asked for one by one. The caller owns the clock and the link: it hands in each PARAM_VALUE of
// the component with take() and, on each tick, sends what nextRequest() returns until it returns
// nothing; times are the caller's milliseconds, from any fixed origin.
#pragma once

#include "paramvalue.h"

#include <QCoreApplication>
#include <QVector>

#include <optional>

class ParamDownload
{
    Q_DECLARE_TR_FUNCTIONS(ParamDownload)

public:
    enum class State { Idle, Running, Complete, Failed };

    struct Request
    {
        // List: PARAM_REQUEST_LIST. Read: PARAM_REQUEST_READ of `index` (param_id empty).
        enum Kind { List, Read } kind = List;
        int index = 0;
    };

    // Requests at most this many indices at a time.
    static constexpr int kWindow = 10;

    // Forgets everything and begins again; the first request is the list.
    void start(qint64 now);
    // A PARAM_VALUE of the component. Duplicates, values out of order and values that no read
    // asked for are all welcome; index 65535 (a hash of the whole set, not a parameter) and
    // values that come before the list request was handed out are not.
    void take(const mavlink_param_value_t &value, qint64 now);
    // The next request to send now, if any. Decides the time-outs, so it ends the download as
    // Failed when the component does not answer.
    std::optional<Request> nextRequest(qint64 now);

    State state() const { return m_state; }
    // Progress: parameters received of the count the component announced (0 until its first).
    int received() const { return m_received; }
    int count() const { return m_entries.size(); }
    // Reads sent and not yet answered or given up.
    int inFlight() const { return m_inFlight.size(); }
    // Since start(), up to the end of the download.
    qint64 elapsed(qint64 now) const;
    // The indices not received, in order (after a failure: those still missing after every try).
    QVector<int> missing() const;
    // The parameters received, in index order, with their values read in `encoding`: that may be
    // decided after the download, for instance once AUTOPILOT_VERSION has come.
    QVector<ParamValue> values(ParamEncoding encoding) const;
    // Why the download failed, for the user; empty unless Failed.
    QString failureText() const;

private:
    struct Entry
    {
        bool received = false;
        mavlink_param_value_t value{};
        int reads = 0;
        // When the read in flight was sent.
        qint64 askedAt = 0;
    };

    void finish(State state, qint64 now);

    State m_state = State::Idle;
    qint64 m_startedAt = 0;
    qint64 m_finishedAt = 0;
    int m_listsSent = 0;
    qint64 m_listSentAt = 0;
    // The last time a value came that was not there before.
    qint64 m_lastNewValue = 0;
    bool m_streamEnded = false;
    int m_received = 0;
    QVector<Entry> m_entries;
    QVector<int> m_inFlight;
};
