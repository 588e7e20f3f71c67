// Writing parameters to a component and confirming each write by its echo. The component
// answers a PARAM_SET with a PARAM_VALUE of what it now holds: the value sent when it took it,
// the old one when it refused. The caller owns the clock and the link as for ParamDownload: it
// sends what nextSend() returns until it returns nothing, on each tick, and hands in every
// PARAM_VALUE of the component with take().
#pragma once

#include "paramvalue.h"

#include <QCoreApplication>
#include <QVector>

#include <optional>

class ParamWriter
{
    Q_DECLARE_TR_FUNCTIONS(ParamWriter)

public:
    enum class Outcome { Queued, Sent, Confirmed, Refused, Unconfirmed };

    struct Item
    {
        ParamValue wanted;
        Outcome outcome = Outcome::Queued;
        // Refused: the value the component kept.
        ParamValue held;
        int tries = 0;
        qint64 sentAt = 0;
    };

    // What to put into a PARAM_SET: value.name() and value.type(), and `field` as param_value.
    struct Send
    {
        ParamValue value;
        float field = 0;
    };

    // Writes at most this many parameters at a time, one per name.
    static constexpr int kWindow = 4;

    explicit ParamWriter(ParamEncoding encoding) : m_encoding(encoding) {}

    // Queues `value` under its name and type (the component's own type: a component may ignore
    // param_type and read the field as its own). Refuses, and queues nothing, a value that the
    // float field cannot carry exactly in this encoding (see ParamValue::survives()).
    bool add(const ParamValue &value);
    // The next PARAM_SET to send now: a write whose echo is overdue, again, or the next queued.
    std::optional<Send> nextSend(qint64 now);
    // A PARAM_VALUE of the component; the echo of a write with that name decides it, also one
    // that comes after the write was given up as unconfirmed.
    void take(const mavlink_param_value_t &value);

    // No write left to send or to wait for.
    bool finished() const;
    const QVector<Item> &items() const { return m_items; }
    // For the user: "12 written; 1 refused: MNT_PITCH_MAX", in the installed language.
    QString summary() const;

private:
    ParamEncoding m_encoding;
    QVector<Item> m_items;
};
