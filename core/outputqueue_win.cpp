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
    PurgeComm(handle, PURGE_TXABORT | PURGE_TXCLEAR);
}
