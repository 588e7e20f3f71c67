// Control of a gimbal reached through an autopilot's gimbal manager: who holds it, this panel's
// ids on the vehicle, taking it (asking first when someone else holds it) and giving it back, and
// the manager's refusal in words.
import QtQuick 2.12
import QtQuick.Controls 2.5
import QtQuick.Layouts 1.12
import Gimbal.V2 1.0

ColumnLayout {
    id: managerControls

    function holderText() {
        var ids = managerControl.holderSystem + "/" + managerControl.holderComponent
        switch (managerControl.holder) {
        case ManagerControl.Nobody:
            return qsTr("无人")
        case ManagerControl.ThisPanel:
            return qsTr("本面板")
        case ManagerControl.OtherGroundStation:
            return qsTr("另一个地面站（%1）").arg(ids)
        case ManagerControl.Autopilot:
            return qsTr("自动驾驶仪（%1）").arg(ids)
        default:
            return qsTr("尚未收到云台管理器的状态")
        }
    }

    function refusalText() {
        var words = [qsTr("暂时拒绝"), qsTr("拒绝"), qsTr("不支持"), qsTr("执行失败")]
        var result = managerControl.refusal
        return qsTr("云台管理器未接受：%1")
            .arg(result >= 1 && result <= words.length ? words[result - 1] : result)
    }

    function take() {
        if (managerControl.holder === ManagerControl.OtherGroundStation
                || managerControl.holder === ManagerControl.Autopilot)
            confirmation.open()
        else
            managerControl.takeControl()
    }

    spacing: 6

    Label {
        objectName: "controlHolder"
        text: qsTr("控制权：%1").arg(managerControls.holderText())
    }

    Label {
        objectName: "panelIds"
        text: qsTr("本面板在飞行器链路上的 ID：%1").arg(managerControl.ids)
        color: "#606266"
    }

    RowLayout {
        spacing: 8

        Button {
            objectName: "takeControlButton"
            text: qsTr("取得控制权")
            enabled: !managerControl.inControl && !replay.active

            onClicked: managerControls.take()
        }

        Button {
            objectName: "releaseControlButton"
            text: qsTr("交还控制权")
            enabled: managerControl.inControl && !replay.active

            onClicked: managerControl.releaseControl()
        }
    }

    Label {
        objectName: "refusalLine"
        text: managerControls.refusalText()
        color: "#d9534f"
        visible: managerControl.refusal >= 0
    }

    Popup {
        id: confirmation

        objectName: "takeConfirmation"
        modal: true
        padding: 16

        ColumnLayout {
            spacing: 10

            Label {
                text: qsTr("%1 正在控制此云台。仍要取得控制权吗？").arg(managerControls.holderText())
                wrapMode: Text.Wrap
                Layout.maximumWidth: 320
            }

            RowLayout {
                Layout.alignment: Qt.AlignRight

                Button {
                    objectName: "confirmTakeButton"
                    text: qsTr("取得控制权")

                    onClicked: {
                        confirmation.close()
                        managerControl.takeControl()
                    }
                }

                Button {
                    text: qsTr("取消")

                    onClicked: confirmation.close()
                }
            }
        }
    }
}
