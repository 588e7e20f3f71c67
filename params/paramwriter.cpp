#include "paramwriter.h"

#include <QStringList>

#include <algorithm>

namespace {
// A component echoes a write at once; a round trip over a radio takes a few hundred ms.
constexpr qint64 kEchoTimeoutMs = 1000;
constexpr int kTries = 3;
} // namespace

bool ParamWriter::add(const ParamValue &value)
{
    if (!value.survives(m_encoding))
        return false;
    Item item;
    item.wanted = value;
    m_items.append(item);
    return true;
}

std::optional<ParamWriter::Send> ParamWriter::nextSend(qint64 now)
{
    const auto send = [&](Item &item) {
        ++item.tries;
        item.sentAt = now;
        item.outcome = Outcome::Sent;
        return Send{item.wanted, item.wanted.toField(m_encoding)};
    };
    QStringList awaited;
    for (Item &item : m_items) {
        if (item.outcome != Outcome::Sent)
            continue;
        if (now - item.sentAt < kEchoTimeoutMs) {
            awaited.append(item.wanted.name());
        } else if (item.tries == kTries) {
            item.outcome = Outcome::Unconfirmed;
        } else {
            return send(item);
        }
    }
    for (Item &item : m_items) {
        if (awaited.size() >= kWindow)
            break;
        if (item.outcome == Outcome::Queued && !awaited.contains(item.wanted.name()))
            return send(item);
    }
    return std::nullopt;
}

void ParamWriter::take(const mavlink_param_value_t &value)
{
    const ParamValue echo = ParamValue::fromMessage(value, m_encoding);
    Item *decided = nullptr;
    for (Item &item : m_items) {
        if (item.wanted.name() != echo.name())
            continue;
        if (item.outcome == Outcome::Sent) {
            decided = &item;
            break;
        }
        if (item.outcome == Outcome::Unconfirmed)
            decided = &item;
    }
    if (!decided)
        return;
    if (echo.sameValue(decided->wanted)) {
        decided->outcome = Outcome::Confirmed;
    } else {
        decided->outcome = Outcome::Refused;
        decided->held = echo;
    }
}

bool ParamWriter::finished() const
{
    return std::none_of(m_items.cbegin(), m_items.cend(), [](const Item &item) {
        return item.outcome == Outcome::Queued || item.outcome == Outcome::Sent;
    });
}

QString ParamWriter::summary() const
{
    int written = 0;
    QStringList refused;
    QStringList unconfirmed;
    for (const Item &item : m_items) {
        if (item.outcome == Outcome::Confirmed)
            ++written;
        else if (item.outcome == Outcome::Refused)
            refused.append(item.wanted.name());
        else if (item.outcome == Outcome::Unconfirmed)
            unconfirmed.append(item.wanted.name());
    }
    const QString separator = tr("、");
    QStringList parts{tr("已写入 %1 个").arg(written)};
    if (!refused.isEmpty())
        parts.append(
            tr("%1 个被拒绝：%2").arg(QString::number(refused.size()), refused.join(separator)));
    if (!unconfirmed.isEmpty()) {
        parts.append(tr("%1 个未确认：%2")
                         .arg(QString::number(unconfirmed.size()), unconfirmed.join(separator)));
    }
    return parts.join(tr("；"));
}
