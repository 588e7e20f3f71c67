#include "baudrate.h"

std::optional<int> BaudRate::parse(const QString &text)
{
    bool number = false;
    const int rate = text.toInt(&number, 10);
    if (!number || rate <= 0)
        return std::nullopt;
    return rate;
}
