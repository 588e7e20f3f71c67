// Button that drops down a fixed list of camera mountings; a chosen entry becomes the current one.
import QtQuick 2.12
import QtQuick.Controls 2.12
import QtQuick.Layouts 1.12

Item {
    id: root

    property string currentText: ""
    property int currentIndex: -1

    signal activated(int index)

    width: 200
    height: comboBox.height

    Button {
        id: comboBox

        text: root.currentText === "" ? "Select Item" : root.currentText
        anchors.left: parent.left
        anchors.right: parent.right

        onClicked: popup.open()

        Popup {
            id: popup

            y: comboBox.height
            width: comboBox.width
            height: 200

            ListView {
                id: listView

                anchors.fill: parent
                model: ListModel {
                    ListElement { text: qsTr("相机朝上") }
                    ListElement { text: qsTr("相机朝下") }
                }
                delegate: ItemDelegate {
                    text: model.text !== undefined ? model.text : ""
                    highlighted: ListView.isCurrentItem
                    width: listView.width

                    onClicked: {
                        if (model.text === undefined) {
                            console.error("模型中缺少 'text' 属性。")
                            return
                        }
                        root.currentText = model.text
                        root.currentIndex = index
                        root.activated(index)
                        popup.close()
                    }
                }
            }
        }
    }
}
