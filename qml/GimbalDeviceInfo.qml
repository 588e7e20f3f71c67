// What the controlled v2 gimbal says about itself: maker, model, firmware and hardware versions,
// its angle limits in degrees and what it can do; while that has not come, how often it was asked.
// A gimbal reached through a manager is told of by the manager, which names no maker, model or
// versions: those lines are left out.
import QtQuick 2.12
import QtQuick.Controls 2.5
import QtQuick.Layouts 1.12

ColumnLayout {
    id: deviceInfo

    // A limit in degrees, or a dash where the device sets none.
    function degrees(radians) {
        return isFinite(radians) ? (radians * 180 / Math.PI).toFixed(1) + "°" : "—"
    }

    function range(low, high) {
        return degrees(low) + " … " + degrees(high)
    }

    // GIMBAL_DEVICE_CAP_FLAGS, lowest bit first; bits 14 and 15 are unused.
    function capabilityWords(flags) {
        var words = [qsTr("收起"), qsTr("回中"), qsTr("横滚轴"), qsTr("横滚跟随"), qsTr("横滚锁定"),
                     qsTr("俯仰轴"), qsTr("俯仰跟随"), qsTr("俯仰锁定"), qsTr("航向轴"),
                     qsTr("航向跟随"), qsTr("航向锁定"), qsTr("航向无限旋转"),
                     qsTr("地理坐标系航向"), qsTr("遥控输入"), "", "",
                     qsTr("指向本地位置"), qsTr("指向全球位置")]
        var said = []
        for (var bit = 0; bit < words.length; ++bit) {
            if (words[bit] !== "" && (flags & (1 << bit)))
                said.push(words[bit])
        }
        return said.length > 0 ? said.join(qsTr("，")) : qsTr("无")
    }

    function waitingText() {
        if (v2Devices.chosen < 0)
            return qsTr("尚未发现 v2 云台。")
        if (v2Information.unanswered)
            return qsTr("已请求设备信息 %1 次，设备没有应答。").arg(v2Information.requests)
        return qsTr("正在请求设备信息（已请求 %1 次）…").arg(v2Information.requests)
    }

    spacing: 4

    Label {
        objectName: "deviceWaiting"
        text: deviceInfo.waitingText()
        visible: !v2Information.known
        color: v2Information.unanswered ? "#d9534f" : "#606266"
        wrapMode: Text.Wrap
        Layout.fillWidth: true
    }

    Repeater {
        objectName: "deviceFacts"
        model: v2Information.known ? [
            [qsTr("厂商"), v2Information.vendor],
            [qsTr("型号"), v2Information.model],
            [qsTr("固件版本"), v2Information.firmwareVersion],
            [qsTr("硬件版本"), v2Information.hardwareVersion],
            [qsTr("横滚范围"), deviceInfo.range(v2Information.rollMin, v2Information.rollMax)],
            [qsTr("俯仰范围"), deviceInfo.range(v2Information.pitchMin, v2Information.pitchMax)],
            [qsTr("航向范围"), deviceInfo.range(v2Information.yawMin, v2Information.yawMax)],
            [qsTr("能力"), deviceInfo.capabilityWords(v2Information.capabilities)]
        ] : []

        delegate: Label {
            text: modelData[0] + qsTr("：") + modelData[1]
            visible: modelData[1] !== ""
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }
    }
}
