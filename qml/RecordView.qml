// Recording the link to a CSV file, a telemetry log or both: the folder and the formats
// (remembered), start and stop, and the files with their rows and frames while it runs. File names
// carry the date and time. Below, a telemetry log is played back as the link: the last one
// recorded, or any other whose path is typed in.
import QtQuick 2.12
import QtQuick.Controls 2.5
import QtQuick.Layouts 1.12

Popup {
    id: recordView

    modal: true
    focus: true
    padding: 20
    width: 380
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside

    ColumnLayout {
        width: recordView.availableWidth
        spacing: 6

        Label {
            text: qsTr("录制")
            font.bold: true
            font.pixelSize: 16
        }

        Label {
            text: qsTr("文件夹")
        }

        TextField {
            id: folderField

            text: recorder.folder
            selectByMouse: true
            enabled: !recorder.recording
            Layout.fillWidth: true

            onEditingFinished: recorder.folder = text
        }

        // Recorder.formats: 1 CSV, 2 the telemetry log, 3 both.
        ComboBox {
            id: formatBox

            model: [qsTr("CSV"), qsTr("遥测日志 (tlog)"), qsTr("CSV 与遥测日志")]
            currentIndex: recorder.formats - 1
            enabled: !recorder.recording
            Layout.fillWidth: true

            onActivated: recorder.formats = index + 1
        }

        Label {
            function description() {
                var parts = []
                if (recorder.formats & 1)
                    parts.push(qsTr("CSV：每个收到的报告与心跳、每条发出的指令各占一行。"))
                if (recorder.formats & 2)
                    parts.push(qsTr("遥测日志：收发的每一帧原样记录，附时间。"))
                return parts.join("\n")
            }

            text: recorder.recording ? qsTr("%1 → %2").arg(recorder.counts)
                                                      .arg(recorder.fileNames.join(", "))
                                     : description()
            color: "#606266"
            wrapMode: Text.WrapAnywhere
            Layout.fillWidth: true
        }

        RowLayout {
            Layout.alignment: Qt.AlignRight

            Button {
                id: recordButton

                text: recorder.recording ? qsTr("停止录制") : qsTr("开始录制")

                onClicked: {
                    if (recorder.recording) {
                        recorder.stop()
                    } else {
                        recorder.folder = folderField.text
                        recorder.start()
                    }
                }
            }
        }

        Label {
            text: qsTr("回放遥测日志")
            font.bold: true
            Layout.topMargin: 10
        }

        RowLayout {
            Layout.fillWidth: true

            TextField {
                id: replayField

                objectName: "replayField"
                placeholderText: qsTr("日志文件的路径（.tlog）")
                selectByMouse: true
                Layout.fillWidth: true
            }

            Button {
                id: replayButton

                objectName: "replayButton"
                text: qsTr("回放")
                enabled: replayField.text !== ""

                onClicked: {
                    Ravik.openReplay(replayField.text)
                    recordView.close()
                }
            }
        }

        Button {
            text: qsTr("关闭")
            Layout.alignment: Qt.AlignRight
            Layout.topMargin: 10

            onClicked: recordView.close()
        }
    }

    // Offers the last telemetry log recorded, until a path is typed.
    onOpened: {
        if (replayField.text !== "")
            return
        var logs = recorder.fileNames.filter(function(name) { return name.endsWith(".tlog") })
        if (logs.length > 0)
            replayField.text = logs[0]
    }
}
