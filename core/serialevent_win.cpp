// The Windows side of the watcher: reads the MSG and the port broadcast record for the
// platform-neutral decision.
#include "serialevent.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>

#include <dbt.h>

bool SerialEvent::nativeEventFilter(const QByteArray &eventType, void *message, long *)
{
    if (!isWindowsMessage(eventType))
        return false;
    const MSG *msg = static_cast<const MSG *>(message);
    const auto header = [msg] { return reinterpret_cast<const DEV_BROADCAST_HDR *>(msg->lParam); };
    return deviceChange(
        eventType, msg->message, msg->wParam,
        // Any program can post this message; one without a record is no port's.
        [&header] { return header() ? static_cast<quint32>(header()->dbch_devicetype) : 0u; },
        [&header] {
            const auto *port = reinterpret_cast<const DEV_BROADCAST_PORT_W *>(header());
            return QString::fromWCharArray(port->dbcp_name);
        });
}
#endif
