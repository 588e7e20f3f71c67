// Says why the sticks do not steer the gimbal now, under the sticks: a gimbal reached through a
// gimbal manager is steered only while this panel holds its control, and never in roll, which is
// not part of the manager's pitch and yaw control; a gimbal whose autopilot has not answered yet
// is not steered at all.
import QtQuick 2.12
import QtQuick.Controls 2.5
import Gimbal.V2 1.0

Label {
    id: steeringNote

    readonly property bool v2Gimbal: Ravik.serialIsOpen && protocolSelector.protocolName === "v2"
                                     && v2Devices.chosen >= 0
    readonly property bool managed: v2Gimbal && v2Devices.chosenPath === V2Devices.Managed
    readonly property bool pending: v2Gimbal && v2Devices.chosenPath === V2Devices.Pending
    // The right stick (pitch and yaw) and the left one (roll).
    readonly property bool rightFree: !pending && (!managed || managerControl.inControl)
    readonly property bool leftFree: !pending && !managed

    objectName: "steeringNote"
    text: pending ? qsTr("摇杆无效：正在等待自动驾驶仪答复是否管理此云台")
        : managed && !managerControl.inControl
          ? qsTr("摇杆无效：本面板没有此云台的控制权，请在云台视图中取得")
        : managed ? qsTr("横滚摇杆无效：云台管理器只受俯仰和航向控制") : ""
    color: "#d9534f"
    visible: text !== ""
    wrapMode: Text.Wrap
}
