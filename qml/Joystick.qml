// On-screen stick: a square pad with a round knob that the user drags. While dragged it reports
// the knob's deflection as x and y in [-1, 1], right and up positive; when the drag ends, by
// release or because it was cancelled, the knob springs back to the centre and (0, 0) is reported.
// While it is not dragged, the knob shows the deflection given in shownX and shownY (what other
// inputs send).
import QtQuick 2.0
import QtQuick.Window 2.2

Item {
    property real shownX: 0
    property real shownY: 0

    signal joystickChange(real x, real y)

    function showDeflection() {
        if (mouseArea.pressed)
            return
        joystick.x = base.width / 2 - joystick.width / 2 + shownX * base.width / 2
        joystick.y = base.height / 2 - joystick.height / 2 - shownY * base.height / 2
    }

    width: 300
    height: 300

    Rectangle {
        id: base

        color: "lightgray"
        border.color: "black"
        border.width: 2
        width: parent.width - joystick.width
        height: parent.height - joystick.height
    }

    Rectangle {
        id: joystick

        radius: 25
        color: "#00a199"
        z: 1
        x: base.width / 2 - width / 2
        y: base.height / 2 - height / 2
        width: 50
        height: 50

        MouseArea {
            id: mouseArea

            // Deactivating the window or taking the grab away cancels the press, but minimising
            // does not on every platform; a minimised window sees no release, so end the drag.
            readonly property bool windowMinimized: Window.visibility === Window.Minimized

            // A drag that never sees its release must still stop the gimbal, or the last rates
            // would keep going out until the next touch: a cancelled drag ends like a release.
            function springBack() {
                joystick.x = base.width / 2 - joystick.width / 2
                joystick.y = base.height / 2 - joystick.height / 2
                joystickChange(0, 0)
            }

            anchors.fill: joystick

            onPositionChanged: {
                // Put the knob's centre under the pointer, but keep that centre on the pad.
                var nx = joystick.x + mouse.x - width / 2
                var ny = joystick.y + mouse.y - height / 2
                joystick.x = Math.max(-width / 2, Math.min(nx, base.width - width / 2))
                joystick.y = Math.max(-height / 2, Math.min(ny, base.height - height / 2))

                var halfW = base.width / 2
                var halfH = base.height / 2
                joystickChange((joystick.x + width / 2 - halfW) / halfW,
                               -(joystick.y + height / 2 - halfH) / halfH)
            }
            onReleased: springBack()
            onCanceled: springBack()
            onWindowMinimizedChanged: {
                // Disabling the knob item takes the grab from its area, which cancels the press
                // (the area's own enabled flag only filters events and keeps the grab).
                if (windowMinimized && pressed) {
                    joystick.enabled = false
                    joystick.enabled = true
                }
            }
        }
    }

    onShownXChanged: showDeflection()
    onShownYChanged: showDeflection()
}
