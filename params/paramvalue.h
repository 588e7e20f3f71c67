// One parameter of a component: its name, its MAV_PARAM_TYPE and its value held exactly (every
// integer type as a 64-bit integer, REAL32 as a float, REAL64 as a double); its passage through
// the float field of PARAM_VALUE and PARAM_SET; its text for the user and the check of what the
// user types.
#pragma once

#include "param.h"
#include "paramencoding.h"

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <optional>
#include <variant>

class ParamValue
{
    Q_DECLARE_TR_FUNCTIONS(ParamValue)

public:
    // A REAL32 of 0 without a name.
    ParamValue() = default;

    // The value that `field` carries for a parameter of `type`. An unknown type is read as
    // REAL32. Under C-cast, a field that is no number of the type (NaN, a fraction, out of range)
    // reads as the nearest integer of the type, NaN as 0.
    static ParamValue fromField(const QString &name, std::uint8_t type, float field,
                                ParamEncoding encoding);
    static ParamValue fromMessage(const mavlink_param_value_t &message, ParamEncoding encoding);

    // What the user typed, checked against `type`: an integer type takes a whole number within
    // its range, written with an optional sign and digits, and at most a fraction of zeros
    // ("5.0" is 5, "5.5" and "5e3" are refused); REAL32 and REAL64 take a finite number within
    // their range ("1e39" is no REAL32). '.' is the decimal point whatever the locale. On a
    // refusal, `error` (when given) tells the user why.
    static std::optional<ParamValue> parse(const QString &name, const QString &text,
                                           std::uint8_t type, QString *error = nullptr);

    // "UINT8" ... "REAL64"; the number itself for an unknown type.
    static QString typeName(std::uint8_t type);

    QString name() const { return m_name; }
    std::uint8_t type() const { return m_type; }

    // The float field that carries this value. A value survives the field when reading the
    // field back gives it again: not so under C-cast for a 32-bit integer beyond 2^24 in
    // magnitude (the float keeps 24 bits), nor for a 64-bit integer beyond 32 bits under
    // byte-wise encoding (the field has 4 bytes), nor for a REAL64 that no float holds.
    float toField(ParamEncoding encoding) const;
    bool survives(ParamEncoding encoding) const;

    // Integers in full; floats with the fewest digits that read back as the same number.
    // Locale-independent, with '.' as the decimal point.
    QString text() const;

    // The same number, whatever the name and type; NaN is the same as NaN.
    bool sameValue(const ParamValue &other) const;
    bool operator==(const ParamValue &other) const;

private:
    using Number = std::variant<std::int64_t, std::uint64_t, float, double>;

    ParamValue(const QString &name, std::uint8_t type, Number value);

    QString m_name;
    Number m_value = 0.0f;
    std::uint8_t m_type = MAV_PARAM_TYPE_REAL32;
};
