// The controls of a replayed telemetry log, shown in the link panel while it plays: the log's
// name, the position with the time (drag to seek), play and pause, and the speed.
import QtQuick 2.12
import QtQuick.Controls 2.5
import QtQuick.Layouts 1.12

ColumnLayout {
    id: replayView

    readonly property var speeds: [1, 2, 4, 16, 0]

    spacing: 6

    Label {
        text: qsTr("回放：%1").arg(replay.fileName)
        elide: Text.ElideMiddle
        Layout.fillWidth: true
    }

    Slider {
        id: positionSlider

        from: 0
        to: 1
        Layout.fillWidth: true

        onMoved: replay.seek(value)
    }

    // The slider follows the replay except while the user holds it.
    Binding {
        target: positionSlider
        property: "value"
        value: replay.position
        when: !positionSlider.pressed
    }

    Label {
        id: timeLabel

        objectName: "timeLabel"
        text: replay.timeText
        Layout.alignment: Qt.AlignHCenter
    }

    RowLayout {
        spacing: 6
        Layout.fillWidth: true

        Button {
            id: playButton

            objectName: "playButton"
            text: replay.playing ? qsTr("暂停") : qsTr("播放")
            Layout.fillWidth: true

            onClicked: replay.playing ? replay.pause() : replay.play()
        }

        ComboBox {
            id: speedBox

            objectName: "speedBox"
            model: ["1×", "2×", "4×", "16×", qsTr("最快")]
            currentIndex: replayView.speeds.indexOf(replay.speed)
            Layout.preferredWidth: 80

            onActivated: replay.speed = replayView.speeds[index]
        }
    }

    Label {
        text: qsTr("文件在帧中途截断：回放到最后一个完整帧为止。")
        color: "#d9534f"
        visible: replay.cutShort
        wrapMode: Text.Wrap
        Layout.fillWidth: true
    }
}
