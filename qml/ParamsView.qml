// The Parameters view in a window of its own: the components on the link that have parameters,
// the picked one's download with its progress and time, its parameters in a table that a search
// box narrows by name, values typed in place and written with confirmation, and files saved and
// loaded by their path (a loaded file shows its differences first). The state is paramPanel's.
import QtQuick 2.12
import QtQuick.Window 2.12
import QtQuick.Controls 2.5
import QtQuick.Layouts 1.12

Window {
    id: paramsWindow

    // The words and colours of a row's mark, by ParamTable.Mark.
    readonly property var markTexts: ["", qsTr("待写入"), qsTr("写入中"), qsTr("已写入"),
                                      qsTr("被拒绝"), qsTr("未确认")]
    readonly property var markColors: ["#303133", "#e6a23c", "#909399", "#00a199", "#d9534f",
                                       "#d9534f"]

    title: qsTr("参数") + " - Ravik Mavlink"
    color: "#f3f4f8"
    width: 720
    height: 600
    minimumWidth: 560
    minimumHeight: 400

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 6

        RowLayout {
            spacing: 10

            Label {
                text: qsTr("组件")
            }

            ComboBox {
                id: componentBox

                model: paramPanel.components
                currentIndex: paramPanel.current
                Layout.preferredWidth: 260

                onActivated: paramPanel.current = index
            }

            Button {
                id: refreshButton

                text: qsTr("重新读取")
                enabled: paramPanel.current >= 0 && !paramPanel.downloading && !paramPanel.writing

                onClicked: paramPanel.refresh()
            }

            Item {
                Layout.fillWidth: true
            }

            TextField {
                id: searchField

                placeholderText: qsTr("按名称搜索")
                selectByMouse: true
                Layout.preferredWidth: 180

                onTextChanged: paramPanel.table.filter = text
            }
        }

        RowLayout {
            spacing: 10

            ProgressBar {
                id: progressBar

                from: 0
                to: Math.max(1, paramPanel.count)
                value: paramPanel.received
                Layout.fillWidth: true
            }

            Label {
                id: progressLabel

                text: paramPanel.progressText
            }
        }

        Label {
            id: statusLabel

            text: paramPanel.statusText
            color: "#606266"
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }

        Rectangle {
            color: "#e4e7ed"
            Layout.fillWidth: true
            Layout.preferredHeight: 28

            RowLayout {
                anchors.fill: parent
                anchors.leftMargin: 8
                anchors.rightMargin: 8

                Label {
                    text: qsTr("名称")
                    font.bold: true
                    Layout.preferredWidth: 180
                }

                Label {
                    text: qsTr("值")
                    font.bold: true
                    Layout.fillWidth: true
                }

                Label {
                    text: qsTr("类型")
                    font.bold: true
                    Layout.preferredWidth: 70
                }

                Label {
                    text: qsTr("状态")
                    font.bold: true
                    Layout.preferredWidth: 70
                }
            }
        }

        ListView {
            id: paramList

            model: paramPanel.table
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            Layout.fillWidth: true
            Layout.fillHeight: true

            ScrollBar.vertical: ScrollBar {}

            delegate: Rectangle {
                objectName: "paramRow_" + model.name
                width: paramList.width
                height: 34
                color: index % 2 ? "#fafafa" : "white"

                RowLayout {
                    anchors.fill: parent
                    anchors.leftMargin: 8
                    anchors.rightMargin: 8

                    Label {
                        text: model.name
                        font.family: "monospace"
                        Layout.preferredWidth: 180
                    }

                    // The device's value, or the one typed and not written yet. What does not fit
                    // the parameter is refused: the message says why, and the value comes back.
                    TextField {
                        id: valueField

                        objectName: "paramValue_" + model.name
                        text: model.edit !== "" ? model.edit : model.value
                        selectByMouse: true
                        enabled: !paramPanel.writing
                        topPadding: 4
                        bottomPadding: 4
                        Layout.fillWidth: true
                        Layout.preferredHeight: 30

                        onEditingFinished: {
                            paramPanel.edit(index, text)
                            text = Qt.binding(function() {
                                return model.edit !== "" ? model.edit : model.value
                            })
                        }
                    }

                    Label {
                        text: model.type
                        color: "#606266"
                        Layout.preferredWidth: 70
                    }

                    Label {
                        text: paramsWindow.markTexts[model.mark]
                        color: paramsWindow.markColors[model.mark]
                        Layout.preferredWidth: 70
                    }
                }
            }
        }

        Label {
            id: messageLabel

            text: paramPanel.message
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }

        RowLayout {
            spacing: 10

            Button {
                id: writeButton

                text: qsTr("写入")
                enabled: paramPanel.table.editCount > 0 && !paramPanel.writing

                onClicked: paramPanel.writeEdits()
            }

            TextField {
                id: fileField

                text: paramPanel.suggestedFile
                placeholderText: qsTr("参数文件")
                selectByMouse: true
                Layout.fillWidth: true
            }

            Button {
                id: saveButton

                text: qsTr("保存")
                enabled: paramPanel.complete && fileField.text !== ""

                onClicked: paramPanel.save(fileField.text)
            }

            Button {
                id: loadButton

                text: qsTr("载入")
                enabled: paramPanel.hasValues && !paramPanel.writing && fileField.text !== ""

                onClicked: paramPanel.load(fileField.text)
            }
        }
    }

    ParamChangesView {
        id: changesView

        panel: paramPanel
        width: paramsWindow.width - 40
        height: paramsWindow.height - 40
        x: 20
        y: 20
    }

    // The components are asked while the view is open.
    onVisibleChanged: paramPanel.active = visible
}
