// The status area: the link's state from the controller's link status (whether the port is open,
// whether the gimbal talks and how well, its heartbeat, or a hint when nothing valid comes in),
// which changes once a second, the gamepad in use or why there can be none, and a recording that
// runs. A network link is named on the state line (its address and, listening on UDP, where the
// gimbal is heard from), and so is a replayed log; a silent one shows red but stays open.
import QtQuick 2.12
import QtQuick.Controls 2.5
import Gimbal.Link 1.0

Column {
    id: status

    // MAV_STATE of the heartbeat, as a word.
    function systemStatusWord(value) {
        var words = [qsTr("未初始化"), qsTr("启动中"), qsTr("校准中"), qsTr("待机"), qsTr("运行"),
                     qsTr("严重故障"), qsTr("紧急状态"), qsTr("正在关机"), qsTr("已终止")]
        return value >= 0 && value < words.length ? words[value] : qsTr("状态 %1").arg(value)
    }

    readonly property bool network: linkStatus.linkKind !== LinkAddress.Serial

    function counts() {
        var text = qsTr("校验错误 %1 · 丢失 %2").arg(linkStatus.badFrames)
                                                  .arg(linkStatus.lostFrames)
        if (linkStatus.duplicateFrames > 0)
            text += qsTr(" · 重复 %1").arg(linkStatus.duplicateFrames)
        if (linkStatus.stalls > 0)
            text += qsTr(" · 设备停读 %1 次").arg(linkStatus.stalls)
        if (linkStatus.ignoredFrames > 0)
            text += qsTr(" · 已忽略另一发送方 %1/%2").arg(linkStatus.ignoredSystem)
                                                      .arg(linkStatus.ignoredComponent)
        return text
    }

    // The network link as the state line names it.
    function linkName() {
        switch (linkStatus.linkKind) {
        case LinkAddress.UdpListen:
            return linkStatus.peer !== "" ? qsTr("UDP %1，来自 %2").arg(linkStatus.endpoint)
                                                                  .arg(linkStatus.peer)
                                          : qsTr("UDP %1").arg(linkStatus.endpoint)
        case LinkAddress.UdpOut:
            return qsTr("UDP 发往 %1").arg(linkStatus.endpoint)
        case LinkAddress.Replay:
            return replay.playing ? qsTr("回放 %1").arg(linkStatus.endpoint)
                                  : qsTr("回放 %1（已暂停）").arg(linkStatus.endpoint)
        default:
            return qsTr("TCP %1").arg(linkStatus.endpoint)
        }
    }

    function traffic(text) {
        return network ? linkName() + " · " + text : text
    }

    function stateLine() {
        switch (linkStatus.state) {
        case LinkStatus.Listening:
            if (linkStatus.linkKind === LinkAddress.UdpListen)
                return qsTr("正在 UDP %1 上监听").arg(linkStatus.endpoint)
            return network ? qsTr("%1，尚未收到数据").arg(linkName())
                           : qsTr("%1 已打开，尚未收到数据").arg(linkStatus.portName)
        case LinkStatus.Talking:
            return traffic(qsTr("接收 %1 帧报告/秒 · %2").arg(linkStatus.reportsPerSecond)
                                                          .arg(counts()))
        case LinkStatus.Silent:
            return traffic(qsTr("云台静默 %1 秒 · %2").arg(linkStatus.silentSeconds).arg(counts()))
        case LinkStatus.Waiting:
            return network ? qsTr("正在连接 %1…").arg(linkStatus.portName)
                           : qsTr("等待 %1 重新连接…").arg(linkStatus.portName)
        default:
            return qsTr("端口未打开")
        }
    }

    // The pad in use, or why there can be none; nothing while there is simply no pad.
    function padLine() {
        if (inputControl.padName !== "")
            return qsTr("手柄：%1").arg(inputControl.padName)
        if (!inputControl.padAvailable)
            return qsTr("手柄不可用：%1").arg(inputControl.padError !== "" ? inputControl.padError
                                                                       : qsTr("未找到 SDL2 库"))
        return ""
    }

    function detailLine() {
        if (linkStatus.noFrameHint)
            return qsTr("2 秒内未收到有效数据：请检查波特率、线缆和端口。")
        if (linkStatus.heartbeats > 0 && linkStatus.state !== LinkStatus.Closed
                && linkStatus.state !== LinkStatus.Waiting)
            return qsTr("心跳 %1/%2：%3 · 已收到 %4 次")
                .arg(linkStatus.heartbeatSystem).arg(linkStatus.heartbeatComponent)
                .arg(systemStatusWord(linkStatus.systemStatus)).arg(linkStatus.heartbeats)
        return ""
    }

    spacing: 2
    leftPadding: 10
    rightPadding: 10

    Row {
        spacing: 6

        Rectangle {
            id: light

            width: 10
            height: 10
            radius: 5
            color: linkStatus.state === LinkStatus.Talking ? "#00a199"
                 : linkStatus.state === LinkStatus.Closed ? "#b1b1b1"
                 : linkStatus.state === LinkStatus.Silent && status.network ? "#d9534f"
                 : "#e6a23c"
            anchors.verticalCenter: parent.verticalCenter
        }

        Label {
            id: stateLabel

            objectName: "stateLine"
            text: status.stateLine()
            width: status.width - status.leftPadding - status.rightPadding - light.width
                   - parent.spacing
            wrapMode: Text.Wrap
        }
    }

    Label {
        id: padLabel

        objectName: "padLine"
        text: status.padLine()
        color: inputControl.padAvailable ? "#606266" : "#d9534f"
        visible: text !== ""
        width: status.width - status.leftPadding - status.rightPadding
        elide: Text.ElideRight
    }

    Label {
        id: recordLabel

        text: recorder.recording ? qsTr("录制中：%1").arg(recorder.counts) : ""
        color: "#d9534f"
        visible: text !== ""
        width: status.width - status.leftPadding - status.rightPadding
        elide: Text.ElideRight
    }

    Label {
        id: detailLabel

        text: status.detailLine()
        color: linkStatus.noFrameHint ? "#d9534f" : "#606266"
        visible: text !== ""
        width: status.width - status.leftPadding - status.rightPadding
        wrapMode: Text.Wrap
    }
}
