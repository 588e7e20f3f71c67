// Numbers as the window shows them: fixed-point with a given number of decimals, as the angle
// labels have always shown them, but never longer than their place allows and never "-0.00". A
// value too long for its place (1e38 has 39 digits) is written in exponent form with as many
// digits as fit, and values that are not numbers as short symbols, so that no number the gimbal
// reports can spill over its neighbours. Independent of the system's locale, like the numbers of
// the script engine.
#pragma once

#include <QObject>
#include <QString>

class ValueText : public QObject
{
    Q_OBJECT

public:
    // The angle labels' room: about ten characters at their size.
    static constexpr int AngleCharacters = 10;

    using QObject::QObject;

    // `value` with `decimals` decimals in at most `characters` characters where that can be
    // done ("-1.00e+38" needs nine): "NaN", "∞" and "-∞" for the values that are not numbers.
    static QString compact(double value, int decimals, int characters);

    // An angle for its label: two decimals.
    Q_INVOKABLE QString angle(double value) const { return compact(value, 2, AngleCharacters); }
};
