#include "checkedvalue.h"

#include <algorithm>
#include <cmath>

std::optional<double> finiteNumber(const QVariant &value)
{
    bool number = false;
    double read = 0.0;
    switch (static_cast<QMetaType::Type>(value.type())) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
        read = value.toString().trimmed().toDouble(&number);
        break;
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        read = value.toDouble(&number);
        break;
    default:
        break;
    }
    if (!number || !std::isfinite(read))
        return std::nullopt;
    return read;
}

double checkedNumber(const QVariant &value, double fallback, double low, double high)
{
    const std::optional<double> number = finiteNumber(value);
    return number ? std::clamp(*number, low, high) : fallback;
}

bool checkedFlag(const QVariant &value, bool fallback)
{
    if (value.type() == QVariant::Bool)
        return value.toBool();
    const QString word = value.type() == QVariant::String || value.type() == QVariant::ByteArray
                             ? value.toString().trimmed().toLower()
                             : QString();
    const std::optional<double> number = finiteNumber(value);
    if (word == QLatin1String("true") || (number && *number == 1.0))
        return true;
    if (word == QLatin1String("false") || (number && *number == 0.0))
        return false;
    return fallback;
}

QString checkedText(const QVariant &value, const QString &fallback)
{
    return value.type() == QVariant::String ? value.toString() : fallback;
}
