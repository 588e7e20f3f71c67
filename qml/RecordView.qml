// Recording the link to a CSV file: the folder (remembered), start and stop, and the file and its
// rows while it runs. File names carry the date and time.
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

        Label {
            text: recorder.recording ? qsTr("%1 行 → %2").arg(recorder.rows).arg(recorder.fileName)
                                     : qsTr("每个收到的报告与心跳、每条发出的指令各占一行（CSV）。")
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

            Button {
                text: qsTr("关闭")

                onClicked: recordView.close()
            }
        }
    }
}
