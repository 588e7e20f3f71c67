import QtQuick 2.12
import QtQuick.Window 2.12

// Exits with 7 when everything start-up promises is in place while the window is created,
// with 3 otherwise.
Window {
    id: root

    property bool wired: false

    width: 100
    height: 100
    visible: true

    Timer {
        interval: 0
        running: true
        onTriggered: Qt.exit(root.wired ? 7 : 3)
    }

    Component.onCompleted: wired = typeof Ravik !== "undefined" && typeof mySerial !== "undefined"
                                   && Ravik.serialIsOpen === false
                                   && Ravik.gimbalImuAngle.length === 3
                                   && Qt.application.name === "Gimbal"
                                   && Qt.application.organization === "Lunok"
}
