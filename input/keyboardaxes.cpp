#include "keyboardaxes.h"

Deflection KeyboardAxes::deflection() const
{
    return {axis(Left, Right), axis(Down, Up), axis(A, D)};
}

double KeyboardAxes::axis(Key negative, Key positive) const
{
    return (m_held.test(positive) ? 1.0 : 0.0) - (m_held.test(negative) ? 1.0 : 0.0);
}
