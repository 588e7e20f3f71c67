// The main window's parts in one focus scope: the keys that the control in focus leaves unused
// come up to this scope, and its arrows and A/D go to the gimbal's keyboard axes whenever the
// steering gate lets them (the window active, no popup or list open, no key-using control in
// focus). A click on the window where no control takes the keyboard (a label, a joystick, the
// background) gives it back to the gimbal after a box or a field had it.
import QtQuick 2.12
import QtQuick.Controls 2.5
import Gimbal.Input 1.0

FocusScope {
    id: scope

    focus: true

    SteeringKeys {
        id: gate

        scope: scope
        overlay: scope.Overlay.overlay
        input: inputControl
    }

    // Holds the keyboard for the gimbal. Above every part of the window, it lets each press
    // through to what lies below, so a control that takes the keyboard on a press takes it from
    // here.
    MouseArea {
        id: keyHolder

        focus: true
        z: 1
        anchors.fill: parent

        onPressed: {
            keyHolder.forceActiveFocus()
            mouse.accepted = false
        }
    }

    Keys.onPressed: event.accepted = gate.press(event.key, event.modifiers, event.isAutoRepeat)
    Keys.onReleased: event.accepted = gate.release(event.key, event.isAutoRepeat)
}
