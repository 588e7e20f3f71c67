// Stand-in main window: the real layout replaces this file. It uses every component the real
// window uses and a few of its translated texts, so loading and retranslation can be tested.
import QtQuick 2.12
import QtQuick.Window 2.12
import QtQuick.Controls 2.5

Window {
    id: mainWindow
    width: 620
    height: 820
    visible: true
    title: qsTr("Ravik Mavlink")
    flags: Qt.Window | Qt.FramelessWindowHint

    RavikTitleBar {
        id: titleBar
        window: mainWindow
        windowTitle: mainWindow.title
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
    }
    RavikGroupBox {
        id: gimbalImuInfoGb
        anchors.top: titleBar.bottom
        title: qsTr("角度信息")
        Label {
            text: qsTr("端口号")
        }
        RavikButton {
            text: qsTr("打开")
        }
        Joystick {
        }
    }
}
