// A combo box in the connection panel's look: white, a grey rounded border, 16 px text, and rows
// in the same font.
import QtQuick 2.12
import QtQuick.Controls 2.5

ComboBox {
    id: box

    font.pixelSize: 16
    width: 120
    height: 40

    background: Rectangle {
        radius: 4
        color: "white"
        border.width: 1
        border.color: "gray"
    }
    delegate: ItemDelegate {
        text: modelData
        font: box.font
        highlighted: index === box.highlightedIndex
        width: parent.width
    }
}
