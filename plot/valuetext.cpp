#include "valuetext.h"

#include <algorithm>
#include <cmath>

namespace {
// The most digits after the point of a number in exponent form: three significant digits.
constexpr int ExponentDecimals = 2;

// A text that rounded to zero shows no sign: "-0.00" reads "0.00".
QString withoutNegativeZero(QString text)
{
    const bool zero = std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c >= QLatin1Char('1') && c <= QLatin1Char('9');
    });
    if (zero && text.startsWith(QLatin1Char('-')))
        text.remove(0, 1);
    return text;
}
} // namespace

QString ValueText::compact(double value, int decimals, int characters)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("∞") : QStringLiteral("-∞");
    const QString fixed = withoutNegativeZero(QString::number(value, 'f', decimals));
    if (fixed.size() <= characters)
        return fixed;
    QString exponent;
    for (int digits = ExponentDecimals; digits >= 0; --digits) {
        exponent = withoutNegativeZero(QString::number(value, 'e', digits));
        if (exponent.size() <= characters)
            break;
    }
    return exponent;
}
