// The controls of a v2 gimbal beside the sticks: which gimbal on the link, the protocol, the unit
// of the angles shown, yaw lock, centre, retract and go to an angle. What the device cannot do is
// off, and hovering it says why.
import QtQuick 2.12
import QtQuick.Controls 2.5
import QtQuick.Layouts 1.12

ColumnLayout {
    id: controls

    readonly property bool v2: protocolSelector.protocolName === "v2"
    readonly property bool hasDevice: v2 && v2Devices.chosen >= 0
    // GIMBAL_DEVICE_CAP_FLAGS that the controls depend on.
    readonly property int hasRetract: 1
    readonly property int hasNeutral: 2
    readonly property int hasRollAxis: 4

    // Why a command for the device cannot go out now, or "" when it can.
    function deviceReason() {
        if (replay.active)
            return qsTr("回放中：不发送任何命令")
        if (!Ravik.serialIsOpen)
            return qsTr("端口未打开")
        if (!controls.v2)
            return qsTr("仅适用于 v2 云台")
        if (!controls.hasDevice)
            return qsTr("尚未发现 v2 云台")
        return ""
    }

    // The device's limits and abilities are needed first.
    function informationReason() {
        var reason = deviceReason()
        if (reason !== "")
            return reason
        return v2Information.known ? "" : qsTr("尚未收到设备信息")
    }

    function capabilityReason(flag, missing) {
        var reason = informationReason()
        if (reason !== "")
            return reason
        return (v2Information.capabilities & flag) ? "" : missing
    }

    function demandText() {
        switch (gimbalV2.demandName) {
        case "neutral":
            return qsTr("正在回中")
        case "retract":
            return qsTr("正在收起")
        case "attitude":
            return qsTr("正在转到 俯仰 %1° 航向 %2° 横滚 %3°")
                .arg(gimbalV2.demandedAngles[1].toFixed(1)).arg(gimbalV2.demandedAngles[2].toFixed(1))
                .arg(gimbalV2.demandedAngles[0].toFixed(1))
        default:
            return qsTr("摇杆控制角速度")
        }
    }

    spacing: 6

    GridLayout {
        columns: 2
        columnSpacing: 10

        Label {
            text: qsTr("协议")
        }

        ComboBox {
            id: protocolBox

            // In the order of the selector's choices.
            model: [qsTr("自动识别"), "GIMBAL_REPORT", "v2"]
            currentIndex: protocolSelector.choice
            Layout.fillWidth: true

            onActivated: protocolSelector.choice = index
        }

        Label {
            text: qsTr("云台")
        }

        ComboBox {
            id: deviceBox

            objectName: "deviceBox"
            model: v2Devices.labels
            currentIndex: v2Devices.chosen
            enabled: v2Devices.names.length > 1
            Layout.fillWidth: true

            onActivated: v2Devices.chosen = index
        }

        Label {
            text: qsTr("角度单位")
        }

        ComboBox {
            id: unitBox

            objectName: "unitBox"
            model: [qsTr("弧度"), qsTr("度")]
            currentIndex: angleDisplay.degrees ? 1 : 0
            Layout.fillWidth: true

            onActivated: angleDisplay.degrees = index === 1
        }
    }

    ReasonTip {
        id: yawLockTip

        objectName: "yawLockTip"
        reason: controls.deviceReason() !== "" ? controls.deviceReason()
              : v2Status.acceptsEarthYaw ? "" : qsTr("设备未表示接受地理坐标系航向")

        Switch {
            id: yawLockSwitch

            objectName: "yawLockSwitch"
            text: qsTr("航向锁定（地理坐标系）")
            checked: gimbalV2.yawLock

            onToggled: gimbalV2.yawLock = checked
        }
    }

    RowLayout {
        spacing: 8

        ReasonTip {
            id: centreTip

            objectName: "centreTip"
            reason: controls.deviceReason() !== "" ? controls.deviceReason()
                  : v2Information.known && !(v2Information.capabilities & controls.hasNeutral)
                    ? qsTr("设备没有回中功能") : ""

            Button {
                objectName: "centreButton"
                text: qsTr("回中")

                onClicked: gimbalV2.centre()
            }
        }

        ReasonTip {
            id: retractTip

            objectName: "retractTip"
            reason: controls.capabilityReason(controls.hasRetract, qsTr("设备没有收起功能"))

            Button {
                objectName: "retractButton"
                text: qsTr("收起")

                onClicked: gimbalV2.retract()
            }
        }
    }

    RowLayout {
        spacing: 6

        Repeater {
            id: angleFields

            model: [qsTr("俯仰°"), qsTr("航向°"), qsTr("横滚°")]

            ReasonTip {
                objectName: "angleTip" + index
                reason: index === 2
                        ? controls.capabilityReason(controls.hasRollAxis, qsTr("设备没有横滚轴"))
                        : controls.informationReason()

                TextField {
                    objectName: "angleField" + index
                    placeholderText: modelData
                    selectByMouse: true
                    width: 76
                    validator: DoubleValidator {
                        notation: DoubleValidator.StandardNotation
                        locale: "C"
                    }
                }
            }
        }

        ReasonTip {
            objectName: "goTip"
            reason: controls.informationReason()

            Button {
                objectName: "goButton"
                text: qsTr("转到")

                // Empty fields are 0; what the validator lets through is a plain number.
                onClicked: {
                    var values = []
                    for (var axis = 0; axis < 3; ++axis) {
                        var text = angleFields.itemAt(axis).content[0].text
                        values.push(text === "" ? 0 : Number(text))
                    }
                    gimbalV2.goToAngle(values[0], values[1], values[2])
                }
            }
        }
    }

    Label {
        objectName: "demandLine"
        text: controls.demandText()
        color: "#606266"
        visible: controls.hasDevice
    }
}
