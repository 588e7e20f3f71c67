import QtQuick 2.12
import QtQuick.Window 2.12

// Saves a setting five times, each in a turn of the event loop of its own, then prints every
// message of the message area ("message: ...") and exits with 7.
Window {
    width: 100
    height: 100
    visible: true

    Timer {
        property int saves: 0

        interval: 20
        repeat: true
        running: true
        onTriggered: {
            if (saves < 5) {
                inputControl.speedLimit = 0.5 + saves / 10
                ++saves
                return
            }
            var textRole = Qt.UserRole + 2
            for (var row = 0; row < messageModel.rowCount(); ++row)
                console.log("message: " + messageModel.data(messageModel.index(row, 0), textRole))
            Qt.exit(7)
        }
    }
}
