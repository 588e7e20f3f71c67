// Flat push button with rounded corners that takes the accent colour while held down.
import QtQuick 2.12
import QtQuick.Controls 2.12

Item {
    id: root

    property string text: "Button"
    property color borderColor: "#ffffff"
    property color backgroundColor: "#f0f0f0"
    property color pressedColor: "#00a199"
    property color textColor: "#000000"

    signal clicked()

    width: 95
    height: 40

    Rectangle {
        radius: 10
        border.width: 2
        border.color: root.borderColor
        color: mouseArea.pressed ? root.pressedColor : root.backgroundColor
        anchors.fill: parent

        Text {
            text: root.text
            color: root.textColor
            font.bold: true
            font.family: "微软雅黑"
            anchors.centerIn: parent
        }
    }

    MouseArea {
        id: mouseArea

        anchors.fill: parent

        onClicked: root.clicked()
    }
}
