// The tool's one window: frameless and of fixed size, with its own title bar, the connection panel
// on the left and, on the right, the gimbal's angles, the two joysticks and the message area.
import QtQuick 2.12
import QtQuick.Window 2.12
import QtQuick.Controls 2.5
import QtQuick.Dialogs 1.3
import QtQuick.Layouts 1.12

Window {
    id: mainWindow

    visible: true
    color: "#f3f4f8"
    title: qsTr("Ravik Mavlink")
    flags: Qt.Window | Qt.FramelessWindowHint
    width: 620
    height: 820
    minimumWidth: width
    maximumWidth: width
    minimumHeight: height
    maximumHeight: height

    // Everything in the window is inside the steering scope, so that the arrows and A/D that the
    // control in focus leaves unused reach the gimbal.
    SteeringScope {
        id: steeringScope

        anchors.fill: parent

        RavikTitleBar {
            id: titleBar

            window: mainWindow
            windowTitle: mainWindow.title
            anchors.top: parent.top
            anchors.left: parent.left
            anchors.right: parent.right

            onMinimizeClicked: mainWindow.showMinimized()
            onCloseClicked: Qt.quit()
        }

        Rectangle {
            id: serial_ip_page

            opacity: 1
            color: "white"
            border.color: "#11000000"
            border.width: 1
            width: 200
            anchors.left: parent.left
            anchors.top: titleBar.bottom
            anchors.bottom: parent.bottom
            anchors.topMargin: 0

            Column {
                id: portCl

                spacing: 10
                anchors.top: parent.top
                anchors.topMargin: 30
                anchors.horizontalCenter: parent.horizontalCenter

                Label {
                    text: qsTr("端口号")
                    font.pixelSize: 16
                    anchors.horizontalCenter: parent.horizontalCenter
                }

                PortBox {
                    id: serial_nameCombo

                    choice: portChoice
                    // The usual ground-station link after the serial ports, so that it needs no typing.
                    model: Ravik.serialPort.concat(["udp:14550"])
                    enabled: !Ravik.serialIsOpen
                }
            }

            Column {
                id: baudCl

                spacing: 10
                anchors.top: portCl.bottom
                anchors.topMargin: 30
                anchors.horizontalCenter: parent.horizontalCenter

                Label {
                    id: serial_boudLab

                    text: qsTr("波特率")
                    font.pixelSize: 16
                    anchors.horizontalCenter: parent.horizontalCenter
                }

                // The usual rates, and any other can be typed in.
                PanelComboBox {
                    id: serial_boudCombo

                    wheelEnabled: true
                    editable: true
                    enabled: !Ravik.serialIsOpen
                    model: ["9600", "19200", "38400", "57600", "115200", "230400", "460800", "921600"]

                    Component.onCompleted: {
                        var row = find(startBaud)
                        if (row >= 0)
                            currentIndex = row
                        else
                            editText = startBaud
                    }
                }
            }

            Column {
                id: languageCl

                spacing: 10
                anchors.top: baudCl.bottom
                anchors.topMargin: 30
                anchors.horizontalCenter: parent.horizontalCenter

                Label {
                    text: qsTr("语言(Language)")
                    font.pixelSize: 16
                    anchors.horizontalCenter: parent.horizontalCenter
                }

                PanelComboBox {
                    id: switch_language_combox

                    model: ["English", "简体中文"]
                    currentIndex: qmlLanguage.language

                    onActivated: qmlLanguage.language = index
                }
            }

            Column {
                id: serialSwitchRow

                spacing: 10
                anchors.top: languageCl.bottom
                anchors.topMargin: 30
                anchors.horizontalCenter: parent.horizontalCenter

                RavikButton {
                    id: serialButton

                    text: Ravik.serialIsOpen ? (Ravik.languageIndex == 0 ? qsTr("Close") : qsTr("关闭"))
                                             : (Ravik.languageIndex == 0 ? qsTr("Open") : qsTr("打开"))

                    // The shown texts of the boxes: a typed path or rate as well as a listed one. A
                    // rate that the command line would refuse is refused here too.
                    onClicked: {
                        var baud = serial_boudCombo.editText
                        if (!Ravik.serialIsOpen && !baudRate.accepts(baud)) {
                            messageModel.add(qsTr("波特率“%1”无效：须为正整数").arg(baud))
                            return
                        }
                        Ravik.switchSerial(serial_nameCombo.editText, baud)
                    }
                }
            }

            // While a log plays back, its controls take the pictures' place.
            Loader {
                id: replayControls

                active: replay.active
                width: serial_ip_page.width - 30
                anchors.top: serialSwitchRow.bottom
                anchors.topMargin: 30
                anchors.horizontalCenter: parent.horizontalCenter
                sourceComponent: ReplayView {}
            }

            Column {
                visible: !replay.active
                spacing: 5
                anchors.bottom: verRow.top
                anchors.bottomMargin: 20
                anchors.horizontalCenter: parent.horizontalCenter

                Image {
                    source: "/image/wechart_qr_code.png"
                    fillMode: Image.PreserveAspectFit
                    width: serial_ip_page.width - 80
                }

                Label {
                    text: qsTr("微信公众号")
                    anchors.horizontalCenter: parent.horizontalCenter
                }

                Image {
                    source: "/image/b_qr_code.png"
                    fillMode: Image.PreserveAspectFit
                    width: serial_ip_page.width - 80
                }

                Label {
                    text: qsTr("bilibili")
                    anchors.horizontalCenter: parent.horizontalCenter
                }
            }

            Row {
                id: verRow

                anchors.bottom: parent.bottom
                anchors.bottomMargin: 10
                anchors.horizontalCenter: parent.horizontalCenter

                Label {
                    text: qsTr("版本号:")
                }

                Label {
                    text: Qt.application.version
                }
            }
        }

        RavikGroupBox {
            id: gimbalImuInfoGb

            title: qsTr("角度信息")
            width: 400
            height: 150
            anchors.left: serial_ip_page.right
            anchors.leftMargin: 10
            anchors.top: titleBar.bottom
            anchors.topMargin: 10

            Rectangle {
                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.topMargin: 30

                // Three cells of one width, each with its caption over its value: a value of any
                // length ("NaN", "-3.40e+38") stays centred under its caption and moves no other.
                Row {
                    id: angleCells

                    anchors.fill: parent

                    Repeater {
                        model: [qsTr("Pitch"), qsTr("Roll"), qsTr("Yaw")]

                        ColumnLayout {
                            width: angleCells.width / 3
                            height: angleCells.height

                            Label {
                                text: modelData
                                font.pixelSize: 16
                                horizontalAlignment: Text.AlignHCenter
                                Layout.fillWidth: true
                            }

                            Label {
                                text: valueText.angle(angleDisplay.shown[index])
                                font.pixelSize: 16
                                horizontalAlignment: Text.AlignHCenter
                                Layout.fillWidth: true
                            }
                        }
                    }
                }
            }
        }

        // Opens the plot, the recording, the gimbal's view and its parameters from the angle
        // group's title row.
        Row {
            anchors.top: gimbalImuInfoGb.top
            anchors.right: gimbalImuInfoGb.right
            anchors.topMargin: 4
            anchors.rightMargin: 10

            TitleButton {
                id: plotButton

                text: qsTr("曲线")

                onClicked: {
                    plotLoader.active = true
                    plotLoader.item.show()
                    plotLoader.item.raise()
                }
            }

            TitleButton {
                id: recordingButton

                text: recorder.recording ? qsTr("● 录制中") : qsTr("录制")

                onClicked: {
                    recordView.active = true
                    recordView.item.open()
                }
            }

            TitleButton {
                id: gimbalButton

                text: qsTr("云台")

                onClicked: {
                    gimbalView.active = true
                    gimbalView.item.open()
                }
            }

            TitleButton {
                id: paramsButton

                text: qsTr("参数")

                onClicked: {
                    paramsLoader.active = true
                    paramsLoader.item.show()
                    paramsLoader.item.raise()
                }
            }
        }

        // The plot's window is made the first time it is asked for.
        Loader {
            id: plotLoader

            active: false
            source: "PlotView.qml"
        }

        // The Parameters window, too, is made the first time it is asked for.
        Loader {
            id: paramsLoader

            active: false
            source: "ParamsView.qml"
        }

        Loader {
            id: recordView

            active: false
            sourceComponent: RecordView {
                x: (mainWindow.width - width) / 2
                y: gimbalImuInfoGb.y + 40
            }
        }

        Loader {
            id: gimbalView

            active: false
            sourceComponent: GimbalView {
                x: (mainWindow.width - width) / 2
                y: titleBar.height + 10
            }
        }

        RavikGroupBox {
            id: angleControlGb

            title: qsTr("控制")
            width: 400
            height: 260
            anchors.top: gimbalImuInfoGb.bottom
            anchors.topMargin: 10
            anchors.left: serial_ip_page.right
            anchors.leftMargin: 10

            RowLayout {
                Layout.topMargin: 50

                Joystick {
                    id: leftJoystick

                    // A replay shows what was sent, and takes no stick.
                    enabled: steeringNote.leftFree && !Ravik.replaying
                    opacity: steeringNote.leftFree ? 1 : 0.4
                    shownX: inputControl.sentZ
                    width: 200
                    height: 200

                    onJoystickChange: {
                        console.log("x:" + x)
                        console.log("y:" + y)
                        inputControl.setStick(0, x, y)
                    }
                }

                Joystick {
                    id: rightJoystick

                    enabled: steeringNote.rightFree && !Ravik.replaying
                    opacity: steeringNote.rightFree ? 1 : 0.4
                    shownX: inputControl.sentX
                    shownY: inputControl.sentY
                    width: 200
                    height: 200

                    onJoystickChange: {
                        console.log("x:" + x)
                        console.log("y:" + y)
                        inputControl.setStick(1, x, y)
                    }
                }
            }
        }

        SteeringNote {
            id: steeringNote

            width: angleControlGb.width - 40
            anchors.bottom: angleControlGb.bottom
            anchors.bottomMargin: 4
            anchors.horizontalCenter: angleControlGb.horizontalCenter
        }

        // Opens the keyboard and gamepad settings from the joystick group's title row.
        Button {
            id: inputSettingsButton

            text: qsTr("设置")
            flat: true
            font.pixelSize: 14
            anchors.top: angleControlGb.top
            anchors.right: angleControlGb.right
            anchors.topMargin: 4
            anchors.rightMargin: 10

            onClicked: {
                inputSettings.active = true
                inputSettings.item.open()
            }
        }

        // The settings views are made the first time they are asked for.
        Loader {
            id: inputSettings

            active: false
            sourceComponent: InputSettingsView {
                x: (mainWindow.width - width) / 2
                y: angleControlGb.y
            }
        }

        RavikGroupBox {
            id: msgGb

            title: qsTr("消息")
            width: 400
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 10
            anchors.top: angleControlGb.bottom
            anchors.topMargin: 10
            anchors.left: serial_ip_page.right
            anchors.leftMargin: 10

            StatusView {
                id: statusView

                Layout.fillWidth: true
                Layout.topMargin: 20
            }

            GimbalLine {
                id: gimbalLine

                Layout.fillWidth: true
                Layout.leftMargin: 10
                Layout.rightMargin: 10
            }

            MessageView {
                id: logArea

                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.topMargin: 6
            }
        }
    }
}
