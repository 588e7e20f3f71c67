#include "outputqueue.h"

#include <sys/ioctl.h>
#include <termios.h>

qint64 systemOutputQueue(PortHandle handle)
{
    int waiting = 0;
    if (::ioctl(handle, TIOCOUTQ, &waiting) != 0)
        return 0;
    return waiting;
}

void discardSystemOutput(PortHandle handle)
{
    ::tcflush(handle, TCOFLUSH);
}
