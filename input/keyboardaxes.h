// The axes that held keys deflect: the arrow keys the right stick's (Left and Right: x, Down and
// Up: y), A and D the left stick's horizontal (z). A held key is full deflection; two opposite
// keys held cancel out.
#pragma once

#include "deflection.h"

#include <bitset>

class KeyboardAxes
{
public:
    enum Key { Left, Right, Down, Up, A, D, KeyCount };

    void press(Key key) { m_held.set(key); }
    void release(Key key) { m_held.reset(key); }
    // As when the window loses the keyboard: no release will come for what is held.
    void releaseAll() { m_held.reset(); }

    Deflection deflection() const;

private:
    double axis(Key negative, Key positive) const;

    std::bitset<KeyCount> m_held;
};
