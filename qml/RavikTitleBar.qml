// Title strip of the frameless main window: logo, title, minimise and close buttons. Dragging the
// strip outside the buttons moves the window it is given.
import QtQuick 2.12
import QtQuick.Controls 2.12
import QtQuick.Layouts 1.12

Item {
    id: titleBar

    property string windowTitle: "Custom Title Bar"
    property string iconSource: "/image/logo.png"
    property color backgroundColor: "#34495e"
    property var window: null

    signal minimizeClicked()
    signal closeClicked()

    width: parent ? parent.width : 0
    height: 40

    Rectangle {
        color: titleBar.backgroundColor
        anchors.fill: parent
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 10

        Image {
            id: icon

            source: titleBar.iconSource
            fillMode: Image.PreserveAspectFit
            Layout.preferredWidth: 32
            Layout.preferredHeight: 24
        }

        Label {
            id: label

            text: titleBar.windowTitle
            font.family: "微软雅黑"
            color: "#ffffff"
            elide: Text.ElideRight
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignVCenter
        }

        ToolButton {
            id: minimizeButton

            icon.source: "/image/mini.png"
            Layout.preferredWidth: 40

            onClicked: {
                console.log("mini")
                titleBar.minimizeClicked()
            }
        }

        ToolButton {
            id: closeButton

            icon.source: "/image/close.png"
            Layout.preferredWidth: 40

            onClicked: {
                console.log("close")
                titleBar.closeClicked()
            }
        }
    }

    // Leaves the rightmost 100 pixels to the buttons, so pressing them never starts a move.
    MouseArea {
        id: dragArea

        property point dragStart: Qt.point(0, 0)

        propagateComposedEvents: true
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.right: parent.right
        anchors.rightMargin: 100

        onPressed: dragStart = Qt.point(mouse.x, mouse.y)
        // The strip moves with the window, so moving the window by the pointer's offset from the
        // press point keeps that point under the pointer.
        onPositionChanged: {
            if (!(mouse.buttons & Qt.LeftButton) || !titleBar.window)
                return
            titleBar.window.x += mouse.x - dragStart.x
            titleBar.window.y += mouse.y - dragStart.y
        }
    }
}
