import QtQuick 2.12
import QtQuick.Window 2.12

// Chooses Simplified Chinese and a speed limit of 50 % as the user would, then exits with 7 when the port given on the
// command line is open, with 3 otherwise.
Window {
    width: 100
    height: 100
    visible: true

    Timer {
        interval: 0
        running: true
        onTriggered: {
            qmlLanguage.language = 1
            inputControl.speedLimit = 0.5
            Qt.exit(Ravik.serialIsOpen ? 7 : 3)
        }
    }
}
