#include "outputqueue.h"

#include <qt_windows.h>

qint64 systemOutputQueue(PortHandle handle)
{
    DWORD errors = 0;
    COMSTAT status = {};
    if (!ClearCommError(handle, &errors, &status))
        return 0;
    return status.cbOutQue;
}

void discardSystemOutput(PortHandle handle)
{
    // Clears the driver's queue only. PURGE_TXABORT would also cancel the port's own write in
    // flight, which QSerialPort reports as a resource error, the sign of a device pulled out.
    PurgeComm(handle, PURGE_TXCLEAR);
}
