// What a loaded parameter file would change, shown before anything is written: each differing
// value (the device's and the file's), each name the device does not have, each value that does
// not fit, each line that could not be read. "Write changes" writes only the differing values.
import QtQuick 2.12
import QtQuick.Controls 2.5
import QtQuick.Layouts 1.12

Popup {
    id: changesView

    // The ParamPanel whose loaded file is shown.
    property var panel

    // The words of a row's kind, by ParamChanges.Kind.
    readonly property var kindTexts: [qsTr("不同"), qsTr("设备无此名"), qsTr("不合类型"),
                                      qsTr("无法读取")]

    visible: panel.previewing
    modal: true
    padding: 16
    closePolicy: Popup.CloseOnEscape

    ColumnLayout {
        anchors.fill: parent
        spacing: 8

        Label {
            text: qsTr("载入的文件与设备的参数比较")
            font.bold: true
            font.pixelSize: 16
        }

        Label {
            id: summaryLabel

            text: changesView.panel.previewText
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 8

            Label {
                text: qsTr("名称")
                font.bold: true
                Layout.preferredWidth: 150
            }

            Label {
                text: qsTr("设备的值")
                font.bold: true
                Layout.preferredWidth: 110
            }

            Label {
                text: qsTr("文件的值")
                font.bold: true
                Layout.preferredWidth: 110
            }

            Label {
                text: qsTr("说明")
                font.bold: true
                Layout.fillWidth: true
            }
        }

        ListView {
            id: changeList

            model: changesView.panel.changes
            clip: true
            Layout.fillWidth: true
            Layout.fillHeight: true

            ScrollBar.vertical: ScrollBar {}

            delegate: RowLayout {
                width: changeList.width

                Label {
                    text: model.name
                    font.family: "monospace"
                    Layout.leftMargin: 8
                    Layout.preferredWidth: 150
                }

                Label {
                    text: model.device
                    Layout.preferredWidth: 110
                }

                Label {
                    text: model.file
                    Layout.preferredWidth: 110
                }

                Label {
                    text: model.note !== "" ? model.note : changesView.kindTexts[model.kind]
                    color: model.kind === 0 ? "#303133" : "#d9534f"
                    wrapMode: Text.Wrap
                    Layout.fillWidth: true
                }
            }
        }

        RowLayout {
            Layout.alignment: Qt.AlignRight

            Button {
                id: writeChangesButton

                objectName: "writeChangesButton"

                text: qsTr("写入更改")
                enabled: changesView.panel.canWriteChanges

                onClicked: changesView.panel.writeChanges()
            }

            Button {
                text: qsTr("取消")

                onClicked: changesView.panel.closePreview()
            }
        }
    }

    onClosed: panel.closePreview()
}
