// The gimbal's own view: its controls (see GimbalControls), for a gimbal reached through an
// autopilot its control (see ManagerControls) and, for a v2 gimbal, what it says about itself
// (see GimbalDeviceInfo). It stays within the window; what does not fit scrolls.
import QtQuick 2.12
import QtQuick.Controls 2.5
import QtQuick.Layouts 1.12
import Gimbal.V2 1.0

Popup {
    id: gimbalView

    modal: true
    focus: true
    padding: 20
    width: 400
    height: Math.min(implicitHeight, Overlay.overlay.height - y - 10)
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside

    contentItem: Flickable {
        implicitHeight: column.implicitHeight
        contentHeight: column.implicitHeight
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        ColumnLayout {
            id: column

            width: gimbalView.availableWidth
            spacing: 8

            Label {
                text: qsTr("云台")
                font.bold: true
                font.pixelSize: 16
            }

            GimbalControls {
                id: gimbalControls

                Layout.fillWidth: true
            }

            ManagerControls {
                id: managerControls

                visible: protocolSelector.protocolName === "v2" && v2Devices.chosen >= 0
                         && v2Devices.chosenPath === V2Devices.Managed
                Layout.fillWidth: true
            }

            Label {
                text: qsTr("设备信息")
                font.bold: true
            }

            GimbalDeviceInfo {
                id: gimbalDeviceInfo

                Layout.fillWidth: true
            }

            Button {
                text: qsTr("关闭")
                Layout.alignment: Qt.AlignRight

                onClicked: gimbalView.close()
            }
        }
    }
}
