#include "paramvalue.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

namespace {
struct IntegerType
{
    int bytes;
    bool isSigned;

    std::int64_t min() const
    {
        return bytes == 8 ? std::numeric_limits<std::int64_t>::min()
                          : -(std::int64_t(1) << (8 * bytes - 1));
    }
    std::int64_t max() const
    {
        return bytes == 8 ? std::numeric_limits<std::int64_t>::max()
                          : (std::int64_t(1) << (8 * bytes - 1)) - 1;
    }
    std::uint64_t umax() const
    {
        return bytes == 8 ? std::numeric_limits<std::uint64_t>::max()
                          : (std::uint64_t(1) << (8 * bytes)) - 1;
    }
    // The bits of the value that the 4-byte field holds under byte-wise encoding.
    std::uint32_t fieldMask() const
    {
        return bytes >= 4 ? 0xFFFFFFFFu : (std::uint32_t(1) << (8 * bytes)) - 1;
    }
};

std::optional<IntegerType> integerType(std::uint8_t type)
{
    switch (type) {
    case MAV_PARAM_TYPE_UINT8:
        return IntegerType{1, false};
    case MAV_PARAM_TYPE_INT8:
        return IntegerType{1, true};
    case MAV_PARAM_TYPE_UINT16:
        return IntegerType{2, false};
    case MAV_PARAM_TYPE_INT16:
        return IntegerType{2, true};
    case MAV_PARAM_TYPE_UINT32:
        return IntegerType{4, false};
    case MAV_PARAM_TYPE_INT32:
        return IntegerType{4, true};
    case MAV_PARAM_TYPE_UINT64:
        return IntegerType{8, false};
    case MAV_PARAM_TYPE_INT64:
        return IntegerType{8, true};
    default:
        return std::nullopt;
    }
}

// `d` rounded to the nearest float, or nothing where a finite `d` lies so far beyond the largest
// float that it would round to infinity.
std::optional<float> nearestFloat(double d)
{
    const double largest = std::numeric_limits<float>::max();
    // Halfway between the largest float and 2^128; from here on, rounding goes to infinity.
    const double halfway = std::ldexp(2.0 - std::ldexp(1.0, -24), 127);
    if (std::isfinite(d) && std::fabs(d) >= halfway)
        return std::nullopt;
    // Between the largest float and the halfway point: rounds down to the largest.
    if (std::isfinite(d) && std::fabs(d) > largest)
        return d > 0 ? std::numeric_limits<float>::max() : -std::numeric_limits<float>::max();
    return static_cast<float>(d);
}

// A number read back from text as parse() reads it.
std::optional<float> floatOfText(const QString &text)
{
    bool number = false;
    const double d = text.toDouble(&number);
    return number ? nearestFloat(d) : std::nullopt;
}

QString shortestText(float f)
{
    if (std::isfinite(f)) {
        for (int digits = 1; digits < std::numeric_limits<float>::max_digits10; ++digits) {
            const QString text = QString::number(double(f), 'g', digits);
            if (floatOfText(text) == f)
                return text;
        }
    }
    return QString::number(double(f), 'g', std::numeric_limits<float>::max_digits10);
}

// The integer of the type nearest to `d`; NaN gives 0.
template <typename Int> Int nearestInteger(double d, Int low, Int high)
{
    if (std::isnan(d))
        return 0;
    const double r = std::round(d);
    if (r <= double(low))
        return low;
    // double(high) may round up to the next power of two, which Int does not hold.
    if (r >= double(high))
        return high;
    return static_cast<Int>(r);
}

// Whether `d` is the integer `i`, compared exactly: a double holds 64-bit integers only roughly.
template <typename Int> bool isExactly(double d, Int i)
{
    const double low = double(std::numeric_limits<Int>::min());
    // 2^63 or 2^64: the first number beyond the type.
    const double beyond = std::ldexp(1.0, std::numeric_limits<Int>::digits);
    return std::isfinite(d) && d == std::floor(d) && d >= low && d < beyond &&
           static_cast<Int>(d) == i;
}
} // namespace

ParamValue::ParamValue(const QString &name, std::uint8_t type, Number value)
    : m_name(name), m_value(value), m_type(type)
{
}

ParamValue ParamValue::fromField(const QString &name, std::uint8_t type, float field,
                                 ParamEncoding encoding)
{
    const std::optional<IntegerType> integer = integerType(type);
    if (!integer) {
        if (type == MAV_PARAM_TYPE_REAL64)
            return ParamValue(name, type, double(field));
        return ParamValue(name, MAV_PARAM_TYPE_REAL32, field);
    }
    if (encoding == ParamEncoding::CCast) {
        if (integer->isSigned)
            return ParamValue(name, type, nearestInteger(field, integer->min(), integer->max()));
        return ParamValue(name, type, nearestInteger(field, std::uint64_t(0), integer->umax()));
    }
    std::uint32_t bits = 0;
    std::memcpy(&bits, &field, sizeof bits);
    bits &= integer->fieldMask();
    if (!integer->isSigned)
        return ParamValue(name, type, std::uint64_t(bits));
    const int width = 8 * std::min(integer->bytes, 4);
    const std::uint32_t signBit = std::uint32_t(1) << (width - 1);
    return ParamValue(name, type, std::int64_t(bits ^ signBit) - std::int64_t(signBit));
}

ParamValue ParamValue::fromMessage(const mavlink_param_value_t &message, ParamEncoding encoding)
{
    const std::string_view id = mavlink_param_id_get(message.param_id);
    return fromField(QString::fromLatin1(id.data(), int(id.size())), message.param_type,
                     message.param_value, encoding);
}

std::optional<ParamValue> ParamValue::parse(const QString &name, const QString &text,
                                            std::uint8_t type, QString *error)
{
    const auto refuse = [error](const QString &why) {
        if (error)
            *error = why;
        return std::optional<ParamValue>();
    };
    const auto outOfRange = [&](const QString &low, const QString &high) {
        return refuse(tr("“%1”超出 %2 的范围（%3 至 %4）").arg(text, typeName(type), low, high));
    };
    const QString trimmed = text.trimmed();

    if (const std::optional<IntegerType> integer = integerType(type)) {
        static const QRegularExpression whole(QStringLiteral("^([+-]?)([0-9]+)(?:\\.0*)?$"));
        const QRegularExpressionMatch match = whole.match(trimmed);
        if (!match.hasMatch())
            return refuse(tr("“%1”不是整数").arg(text));
        bool fits = false;
        const std::uint64_t magnitude = match.capturedRef(2).toULongLong(&fits);
        const bool negative = match.capturedRef(1) == QLatin1String("-") && magnitude != 0;
        if (!integer->isSigned) {
            if (!fits || negative || magnitude > integer->umax())
                return outOfRange(QStringLiteral("0"), QString::number(integer->umax()));
            return ParamValue(name, type, magnitude);
        }
        const std::uint64_t limit =
            negative ? std::uint64_t(-(integer->min() + 1)) + 1 : std::uint64_t(integer->max());
        if (!fits || magnitude > limit)
            return outOfRange(QString::number(integer->min()), QString::number(integer->max()));
        // Negated in two steps: the magnitude of the lowest INT64 is no INT64.
        return ParamValue(name, type,
                          negative ? -std::int64_t(magnitude - 1) - 1 : std::int64_t(magnitude));
    }
    if (type != MAV_PARAM_TYPE_REAL32 && type != MAV_PARAM_TYPE_REAL64)
        return refuse(tr("未知的参数类型 %1").arg(int(type)));

    bool number = false;
    const double d = trimmed.toDouble(&number);
    // Too large for a double: the reader gives up with an infinity.
    const bool tooLarge = !number && std::isinf(d);
    if (!number && !tooLarge)
        return refuse(tr("“%1”不是数字").arg(text));
    if (number && !std::isfinite(d))
        return refuse(tr("“%1”不是有限数").arg(text));
    if (type == MAV_PARAM_TYPE_REAL64) {
        const double largest = std::numeric_limits<double>::max();
        if (tooLarge) {
            return outOfRange(QString::number(-largest, 'g', QLocale::FloatingPointShortest),
                              QString::number(largest, 'g', QLocale::FloatingPointShortest));
        }
        return ParamValue(name, type, d);
    }
    const std::optional<float> f = tooLarge ? std::nullopt : nearestFloat(d);
    if (!f) {
        const float largest = std::numeric_limits<float>::max();
        return outOfRange(shortestText(-largest), shortestText(largest));
    }
    return ParamValue(name, type, *f);
}

QString ParamValue::typeName(std::uint8_t type)
{
    static const char *const names[] = {"UINT8", "INT8",   "UINT16", "INT16",  "UINT32",
                                        "INT32", "UINT64", "INT64",  "REAL32", "REAL64"};
    if (type >= MAV_PARAM_TYPE_UINT8 && type <= MAV_PARAM_TYPE_REAL64)
        return QLatin1String(names[type - MAV_PARAM_TYPE_UINT8]);
    return QString::number(int(type));
}

float ParamValue::toField(ParamEncoding encoding) const
{
    return std::visit(
        [this, encoding](auto v) -> float {
            using T = decltype(v);
            if constexpr (std::is_same_v<T, float>) {
                return v;
            } else if constexpr (std::is_same_v<T, double>) {
                const float infinity = std::numeric_limits<float>::infinity();
                return nearestFloat(v).value_or(v > 0 ? infinity : -infinity);
            } else {
                if (encoding == ParamEncoding::CCast)
                    return static_cast<float>(v);
                // Modulo 2^32: the low bytes, two's complement for a negative value.
                const std::uint32_t bits =
                    static_cast<std::uint32_t>(v) & integerType(m_type)->fieldMask();
                float field = 0;
                std::memcpy(&field, &bits, sizeof field);
                return field;
            }
        },
        m_value);
}

bool ParamValue::survives(ParamEncoding encoding) const
{
    const float field = toField(encoding);
    // Reading a C-cast field rounds and clamps; the number in it must be this one itself.
    if (encoding == ParamEncoding::CCast && integerType(m_type))
        return ParamValue(m_name, MAV_PARAM_TYPE_REAL32, field).sameValue(*this);
    return fromField(m_name, m_type, field, encoding).sameValue(*this);
}

QString ParamValue::text() const
{
    return std::visit(
        [](auto v) {
            using T = decltype(v);
            if constexpr (std::is_integral_v<T>)
                return QString::number(v);
            else if constexpr (std::is_same_v<T, double>)
                return QString::number(v, 'g', QLocale::FloatingPointShortest);
            else
                return shortestText(v);
        },
        m_value);
}

bool ParamValue::sameValue(const ParamValue &other) const
{
    return std::visit(
        [](auto a, auto b) {
            using A = decltype(a);
            using B = decltype(b);
            if constexpr (std::is_integral_v<A> && std::is_integral_v<B>) {
                if constexpr (std::is_signed_v<A> == std::is_signed_v<B>)
                    return a == b;
                else if constexpr (std::is_signed_v<A>)
                    return a >= 0 && std::uint64_t(a) == b;
                else
                    return b >= 0 && std::uint64_t(b) == a;
            } else if constexpr (std::is_integral_v<A>) {
                return isExactly(double(b), a);
            } else if constexpr (std::is_integral_v<B>) {
                return isExactly(double(a), b);
            } else {
                const double x = double(a);
                const double y = double(b);
                return x == y || (std::isnan(x) && std::isnan(y));
            }
        },
        m_value, other.m_value);
}

bool ParamValue::operator==(const ParamValue &other) const
{
    return m_name == other.m_name && m_type == other.m_type && sameValue(other);
}
