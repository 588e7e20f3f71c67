// Three-state indicator with a caption: an empty circle for 0, yellow for 1, green otherwise.
import QtQuick 2.12

Item {
    id: customControl

    property int checkState: 0
    property string boxText: ""

    width: 200
    height: 25

    Rectangle {
        id: circleIndicator

        radius: width / 2
        color: customControl.checkState === 0 ? "transparent"
                                              : customControl.checkState === 1 ? "yellow" : "green"
        border.color: "gray"
        width: 20
        height: 20
        anchors.verticalCenter: parent.verticalCenter
        anchors.left: parent.left
        anchors.leftMargin: 10
    }

    Text {
        id: labelText

        text: customControl.boxText
        anchors.verticalCenter: parent.verticalCenter
        anchors.left: circleIndicator.right
        anchors.leftMargin: 10
    }
}
