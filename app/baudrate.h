// The baud rate as the user gives it, on the command line, in the window's baud box or in the
// settings file: a positive whole number, nothing else. The window asks through `accepts` before
// it opens a port, so that a typed word or zero is refused there as the command line refuses it.
#pragma once

#include <QObject>
#include <QString>

#include <optional>

class BaudRate : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The rate that `text` gives, or nothing when it is not a positive whole number.
    static std::optional<int> parse(const QString &text);

    Q_INVOKABLE bool accepts(const QString &text) const { return parse(text).has_value(); }
};
