// Stand-in joystick: the real component replaces this file.
import QtQuick 2.12

Item {
    id: root
    signal joystickChange(real x, real y)
    width: 200
    height: 200
}
