// The status area's line about the gimbal's protocol: still being identified, the report gimbal,
// or a v2 gimbal with its health, its failure flags in words, in a warning colour when it has a
// fault or has gone silent.
import QtQuick 2.12
import QtQuick.Controls 2.5

Label {
    id: gimbalLine

    // Faults of the hardware and silence are red; limits, calibration and the like amber.
    readonly property bool fault: protocolSelector.protocolName === "v2"
                                  && (v2Status.silent || (v2Status.failureFlags & 0xF8) !== 0)
    readonly property bool notice: protocolSelector.protocolName === "v2"
                                   && v2Status.failureFlags !== 0

    // The failure flags a device can raise, lowest bit first, as words.
    function failureWords(flags) {
        var words = [qsTr("已达横滚限位"), qsTr("已达俯仰限位"), qsTr("已达航向限位"),
                     qsTr("编码器故障"), qsTr("电源故障"), qsTr("电机故障"), qsTr("软件故障"),
                     qsTr("通信故障"), qsTr("正在校准"), qsTr("无云台管理器")]
        var said = []
        for (var bit = 0; bit < words.length; ++bit) {
            if (flags & (1 << bit))
                said.push(words[bit])
        }
        return said.join(qsTr("，"))
    }

    function health() {
        if (v2Status.silent)
            return qsTr("云台静默（超过 1 秒无状态）")
        if (!v2Status.talking)
            return qsTr("等待状态")
        var words = failureWords(v2Status.failureFlags)
        return words !== "" ? words : qsTr("状态正常")
    }

    function protocolText() {
        var forced = protocolSelector.forced ? qsTr("（手动指定）") : ""
        switch (protocolSelector.protocolName) {
        case "report":
            return qsTr("协议：GIMBAL_REPORT") + forced
        case "v2":
            if (v2Devices.chosen < 0)
                return qsTr("协议：v2") + forced + qsTr(" · 尚未发现云台")
            var line = qsTr("协议：v2 %1").arg(v2Devices.chosenPathText) + forced
                + qsTr(" · 云台 %1 · %2").arg(v2Devices.names[v2Devices.chosen]).arg(health())
            if (v2Information.unanswered)
                line += qsTr(" · 设备信息请求 %1 次均无应答").arg(v2Information.requests)
            return line
        default:
            return qsTr("协议：识别中（每秒发送地面站心跳）")
        }
    }

    objectName: "gimbalLine"
    text: Ravik.serialIsOpen ? protocolText() : ""
    color: fault ? "#d9534f" : notice ? "#e6a23c" : "#606266"
    visible: text !== ""
    wrapMode: Text.Wrap
}
