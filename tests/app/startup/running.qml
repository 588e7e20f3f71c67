import QtQuick 2.12
import QtQuick.Window 2.12

// Runs until the tool is ended from outside, and says on standard error how many reports have
// reached the window.
Window {
    id: root

    property var angles: Ravik.gimbalImuAngle
    property int reports: 0

    width: 100
    height: 100
    visible: true

    onAnglesChanged: {
        reports += 1
        console.log("reports " + reports)
    }
}
