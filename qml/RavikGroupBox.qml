// Titled white panel; whatever is declared inside an instance is laid out in its content column.
import QtQuick 2.12
import QtQuick.Controls 2.12
import QtQuick.Layouts 1.12

Item {
    id: root

    property string title: "Custom GroupBox Title"
    default property alias content: contentLayout.data

    width: 240
    height: 160

    Rectangle {
        id: background

        color: "white"
        border.color: "#b1b1b1"
        radius: 8
        anchors.fill: parent
    }

    Item {
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.topMargin: 10
        anchors.leftMargin: 10
        width: titleLabel.width + 20
        height: titleLabel.height

        // Covers the panel's border behind the title; without a title there is nothing to cover.
        Rectangle {
            color: background.color
            visible: root.title !== ""
            anchors.fill: parent
        }

        Label {
            id: titleLabel

            text: root.title
            color: "black"
            font.bold: true
            font.pixelSize: 16
            font.family: "微软雅黑"
            anchors.centerIn: parent
        }
    }

    ColumnLayout {
        id: contentLayout

        anchors.fill: background
        anchors.margins: 20
    }
}
