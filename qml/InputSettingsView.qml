// The settings of the keyboard and gamepad: dead zone, expo curve and inversion per axis, and the
// speed limit, which the on-screen sticks obey too. Changes count from the next command and are
// remembered.
import QtQuick 2.12
import QtQuick.Controls 2.5
import QtQuick.Layouts 1.12

Popup {
    id: settings

    modal: true
    focus: true
    padding: 20
    width: 380
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside

    ColumnLayout {
        width: settings.availableWidth
        spacing: 6

        Label {
            text: qsTr("键盘与手柄")
            font.bold: true
            font.pixelSize: 16
        }

        Label {
            text: inputControl.padName !== "" ? qsTr("手柄：%1").arg(inputControl.padName)
                : inputControl.padAvailable ? qsTr("未连接手柄")
                : qsTr("手柄不可用：%1").arg(inputControl.padError !== "" ? inputControl.padError
                                                                        : qsTr("未找到 SDL2 库"))
            color: "#606266"
            elide: Text.ElideRight
            Layout.fillWidth: true
        }

        Label {
            text: qsTr("死区 %1%").arg(Math.round(deadZone.value * 100))
        }

        Slider {
            id: deadZone

            from: 0
            to: 0.5
            stepSize: 0.01
            value: inputControl.deadZone
            Layout.fillWidth: true

            onMoved: inputControl.deadZone = value
        }

        Label {
            text: qsTr("指数曲线 %1%").arg(Math.round(expo.value * 100))
        }

        Slider {
            id: expo

            from: 0
            to: 1
            stepSize: 0.05
            value: inputControl.expo
            Layout.fillWidth: true

            onMoved: inputControl.expo = value
        }

        Label {
            text: qsTr("速度上限 %1%（对所有输入）").arg(Math.round(speedLimit.value * 100))
        }

        Slider {
            id: speedLimit

            from: 0.1
            to: 1
            stepSize: 0.05
            value: inputControl.speedLimit
            Layout.fillWidth: true

            onMoved: inputControl.speedLimit = value
        }

        RowLayout {
            CheckBox {
                text: qsTr("反转 X")
                checked: inputControl.invertX

                onToggled: inputControl.invertX = checked
            }

            CheckBox {
                text: qsTr("反转 Y")
                checked: inputControl.invertY

                onToggled: inputControl.invertY = checked
            }

            CheckBox {
                text: qsTr("反转 Z")
                checked: inputControl.invertZ

                onToggled: inputControl.invertZ = checked
            }
        }

        Label {
            text: qsTr("方向键：X 与 Y · A/D：Z · 右摇杆：X 与 Y · 左摇杆横向：Z")
            color: "#606266"
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }

        Button {
            text: qsTr("关闭")
            Layout.alignment: Qt.AlignRight

            onClicked: settings.close()
        }
    }
}
