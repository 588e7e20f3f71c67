#include "commandwatch.h"

#include "pseudoterminal.h"

#include <messages.h>

#include <QDeadlineTimer>

#include <cmath>
#include <cstring>

namespace {
bool near(float actual, float wanted, float tolerance)
{
    return tolerance == 0.0f ? actual == wanted : std::fabs(actual - wanted) <= tolerance;
}
} // namespace

bool CommandWatch::waitFor(float x, float y, float z, float tolerance, int timeoutMs, int *before)
{
    int others = 0;
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        for (const mavlink_message_t &msg : m_reader.feed(m_pty.takeReceived())) {
            mavlink_gimbal_control_t command;
            if (msg.msgid != MAVLINK_MSG_ID_GIMBAL_CONTROL || msg.len != sizeof command ||
                msg.sysid != 0 || msg.compid != 0)
                continue;
            std::memcpy(&command, msg.payload, sizeof command);
            if (command.target_system == 1 && command.target_component == 1 &&
                near(command.demanded_rate_x, x, tolerance) &&
                near(command.demanded_rate_y, y, tolerance) &&
                near(command.demanded_rate_z, z, tolerance)) {
                if (before)
                    *before = others;
                return true;
            }
            ++others;
        }
        m_pty.waitForReceived(1, 50);
    }
    return false;
}

void CommandWatch::skip()
{
    m_reader.feed(m_pty.takeReceived());
}
