// Values that come from outside the tool's own code (the settings file, which anyone may edit,
// the registry, a QML caller) checked before they are used, so that a stray `nan`, a word where
// a number belongs or a number far out of range never reaches the rates, the shaping or the
// window: what cannot be read gives the fallback, numbers are kept within their range.
#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// The finite number that `value` holds or spells (C locale, as Qt writes the settings file), or
// nothing: an empty value, a word, a list, `nan` or `inf`.
std::optional<double> finiteNumber(const QVariant &value);

// `value` as a number within [low, high]; `fallback` when it is not a finite number.
double checkedNumber(const QVariant &value, double fallback, double low, double high);

// `value` as a flag: a boolean, 1 or 0, or the words true or false in any case; otherwise
// `fallback`.
bool checkedFlag(const QVariant &value, bool fallback);

// `value` as a text; `fallback` when it holds something else (a list, a number read from the
// registry).
QString checkedText(const QVariant &value, const QString &fallback = QString());
